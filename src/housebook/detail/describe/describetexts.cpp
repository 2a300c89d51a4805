#include "detail/describe/describetexts.h"

#include "detail/follow/replyfields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace DescribeTexts {

namespace {

const QString kNone = QStringLiteral("暂无");

QString orNone(const QString &value)
{
    return value.trimmed().isEmpty() ? kNone : value;
}

QString number(double value)
{
    return value == 0 ? kNone : QString::number(value, 'g', 12);
}

Line line(const char *name, const QString &text)
{
    return {QString::fromLatin1(name), text};
}

QList<Line> priceLines(const Record &r, bool rent)
{
    if (rent)
        return {line("label_rent", QStringLiteral("租金：%1%2").arg(number(r.price), r.price == 0 ? QString() : r.zuunit)),
                line("label_payway", QStringLiteral("付款方式：%1").arg(orNone(r.payway))),
                line("label_rentway", QStringLiteral("租房方式：%1").arg(orNone(r.rentway))),
                line("label_peitao", QStringLiteral("配套：%1").arg(orNone(r.peitao)))};
    return {line("label_price", QStringLiteral("价格：%1万").arg(number(r.price))),
            line("label_unitPrice", QStringLiteral("单价：%1元/㎡").arg(number(r.unitprice))),
            line("label_propertyRight", QStringLiteral("产证：") + orNone(r.propertyquan)),
            line("label_deed", QStringLiteral("房产证：%1").arg(orNone(r.property)))};
}

Photo photoOf(const QJsonValue &item)
{
    Photo p;
    if (item.isString()) {
        p.url = item.toString().trimmed();
        return p;
    }
    const QJsonObject o = item.toObject();
    p.url = ReplyFields::text(o.value(QStringLiteral("url"))).trimmed();
    p.type = ReplyFields::number(o.value(QStringLiteral("type")));
    p.cover = ReplyFields::number(o.value(QStringLiteral("frist"))) == 1;
    return p;
}

} // namespace

QString entererText(const Record &r)
{
    if (r.author.trimmed().isEmpty())
        return QStringLiteral("录入人：暂无");
    return QStringLiteral("录入人：%1-%2").arg(orNone(r.deptname), r.author);
}

QList<Line> factLines(const Record &r, bool rent)
{
    QList<Line> lines{line("label_number", QStringLiteral("编号：%1").arg(r.id)),
                      line("label_type", QStringLiteral("类型：") + orNone(r.housetype)),
                      line("label_floor", QStringLiteral("楼层：%1/%2").arg(r.floors).arg(r.allfloors)),
                      line("label_toward", QStringLiteral("朝向：%1").arg(orNone(r.toward))),
                      line("label_renovation", QStringLiteral("装修：%1").arg(orNone(r.renovation)))};
    lines += priceLines(r, rent);
    lines << line("label_huxing", QStringLiteral("户型：%1室%2厅%3卫").arg(r.room).arg(r.hall).arg(r.huxingwei))
          << line("label_area", QStringLiteral("%1㎡").arg(number(r.builtuparea)))
          << line("label_houseNumber", QStringLiteral("房源编号：%1").arg(r.id))
          << line("label_enterer", entererText(r));
    return lines;
}

QList<Photo> photosOf(const QJsonValue &list)
{
    QList<Photo> photos;
    QJsonArray items = list.toArray();
    if (list.isString())  // a form value stored as JSON text
        items = QJsonDocument::fromJson(list.toString().toUtf8()).array();
    else if (list.isObject())
        for (const QJsonValue &v : list.toObject())
            items.append(v);
    for (const QJsonValue &item : qAsConst(items)) {
        const Photo p = photoOf(item);
        if (!p.url.isEmpty())
            photos << p;
    }
    return photos;
}

QList<Photo> photosOf(const QList<QVariantMap> &list)
{
    QJsonArray items;
    for (const QVariantMap &m : list)
        items.append(QJsonObject::fromVariantMap(m));
    return photosOf(items);
}

QString photosJson(const QList<Photo> &photos, bool withType)
{
    QJsonArray items;
    for (const Photo &p : photos) {
        QJsonObject o{{"url", p.url}, {"frist", p.cover ? 1 : 0}};
        if (withType)
            o.insert(QStringLiteral("type"), p.type);
        items.append(o);
    }
    return QString::fromUtf8(QJsonDocument(items).toJson(QJsonDocument::Compact));
}

QList<Photo> withCover(QList<Photo> photos, int index)
{
    for (int i = 0; i < photos.size(); ++i)
        photos[i].cover = i == index;
    return photos;
}

QList<Photo> coverFirst(QList<Photo> photos)
{
    for (int i = 1; i < photos.size(); ++i)
        if (photos.at(i).cover) {
            photos.move(i, 0);
            break;
        }
    return photos;
}

} // namespace DescribeTexts
