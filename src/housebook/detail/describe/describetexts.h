#pragma once
// What the description pages show of a listing and how its promotion photos travel: the fact
// lines of the page's head, and the photo lists ("frist" marks the cover) as the record, the
// detail reply and the forms carry them.
#include "detail/housedetailfirstpagetexts.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonValue>
#include <QList>
#include <QString>
#include <QVariantMap>

namespace DescribeTexts {

using Record = HouseMessage_DataSqlTable::HouseMessageData;
using FirstPageTexts::Line;

// "编号：", "类型：", "楼层：%1/%2", … in the page's order; rent listings show their rent terms
// instead of price, unit price and certificates.
QList<Line> factLines(const Record &record, bool rent);
// "录入人：%1-%2" (department, agent) or "录入人：暂无".
QString entererText(const Record &record);

struct Photo
{
    QString url;
    int type = 0;  // the facts' photos: 1 indoor, 2 floor plan, 3 outside
    bool cover = false;
};

// Photos of a list in any shape: objects with url/type/frist (numbers or texts), or bare
// addresses; rows without an address are left out.
QList<Photo> photosOf(const QJsonValue &list);
QList<Photo> photosOf(const QList<QVariantMap> &list);
// [{"url","frist"}] (with "type" when withType), compact JSON.
QString photosJson(const QList<Photo> &photos, bool withType);
// The photos with only the index-th one marked as the cover.
QList<Photo> withCover(QList<Photo> photos, int index);
// The cover first; a list without a cover keeps its order.
QList<Photo> coverFirst(QList<Photo> photos);


} // namespace DescribeTexts
