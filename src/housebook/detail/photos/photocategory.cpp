#include "detail/photos/photocategory.h"

namespace PhotoCategory {

namespace {

Info info(int type, const QString &label, QColor colour, const QString &requirementName)
{
    Info i{type, label, colour, QString(), QString()};
    if (!requirementName.isEmpty()) {
        i.requirement = requirementName + QStringLiteral(":至少%1张");
        i.refusal = requirementName + QStringLiteral(":至少选择%1张");
    }
    return i;
}

} // namespace

const QVector<Info> &all()
{
    static const QVector<Info> list{
        info(1, QStringLiteral("户型图(%1)"), QColor(0, 177, 255), QStringLiteral("户型图")),
        info(2, QStringLiteral("厨房图(%1)"), QColor(73, 200, 166), QStringLiteral("厨房图")),
        info(3, QStringLiteral("客厅图(%1)"), QColor(160, 96, 188), QStringLiteral("客厅图")),
        info(4, QStringLiteral("卧室图(%1)"), QColor(249, 147, 63), QStringLiteral("卧室图")),
        info(5, QStringLiteral("卫生间(%1)"), QColor(249, 66, 131), QStringLiteral("卫生间")),
        info(6, QStringLiteral("室外图(%1)"), QColor(253, 184, 0), QStringLiteral("室外图")),
        info(0, QStringLiteral("其他(%1)"), QColor(76, 168, 18), QString()),
        info(8, QStringLiteral("餐厅(%1)"), QColor(18, 170, 200), QStringLiteral("餐厅图"))};
    return list;
}

const QVector<Info> &required()
{
    static const QVector<Info> list = [] {
        QVector<Info> l;
        for (int type : {1, 2, 3, 8, 4, 5, 6})
            l << *find(type);
        return l;
    }();
    return list;
}

const Info *find(int type)
{
    for (const Info &i : all()) {
        if (i.type == type)
            return &i;
    }
    return nullptr;
}

QString nameOf(int type)
{
    const Info *i = find(type);
    return i ? i->label.section(QLatin1Char('('), 0, 0) : QStringLiteral("未分类");
}

} // namespace PhotoCategory
