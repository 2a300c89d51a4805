#pragma once
// The room categories a listing photo is tagged with: their order on the quick-select row,
// the button labels with a count, the colours, and the texts of the survey standard.
#include <QColor>
#include <QString>
#include <QVector>

namespace PhotoCategory {

struct Info
{
    int type;
    QString label;        // "户型图(%1)": the count of photos of the category
    QColor colour;
    QString requirement;  // "户型图:至少%1张" (empty: the standard never names it)
    QString refusal;      // "户型图:至少选择%1张"
};

// The eight categories in the order of the quick-select row.
const QVector<Info> &all();
// The categories a survey standard may require, in the order their texts are shown and checked.
const QVector<Info> &required();
// The category of a type; null for a type no button counts.
const Info *find(int type);
// The category's short name ("户型图"), or "未分类" for a type no button counts.
QString nameOf(int type);

} // namespace PhotoCategory
