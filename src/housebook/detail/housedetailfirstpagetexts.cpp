#include "detail/housedetailfirstpagetexts.h"

#include "sql/houserecord.h"

#include <QRegularExpression>

namespace FirstPageTexts {

namespace {

const QString kNone = QStringLiteral("暂无");

QString orNone(const QString &value)
{
    return value.trimmed().isEmpty() ? kNone : value;
}

// A number as the agent reads it: 89.5, 90 (no trailing zeros); 0 is no value.
QString numberOrNone(double value)
{
    return value == 0 ? kNone : QString::number(value, 'f', 2).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

QString withUnit(double value, const QString &unit)
{
    return value == 0 ? kNone : numberOrNone(value) + unit;
}

QString houseType(const Record &r)
{
    if (r.room == 0 && r.hall == 0 && r.huxingwei == 0)
        return kNone;
    QString text = QStringLiteral("%1室%2厅%3卫").arg(r.room).arg(r.hall).arg(r.huxingwei);
    if (r.kitchen > 0)
        text += QStringLiteral("%1厨").arg(r.kitchen);
    if (r.balcony > 0)
        text += QStringLiteral("%1阳").arg(r.balcony);
    return text;
}

QString enterer(const Record &r)
{
    if (r.author.trimmed().isEmpty())
        return kNone;
    return QStringLiteral("%1-%2-%3").arg(orNone(r.companyname), orNone(r.deptname), r.author);
}

// 公司/门店 by the level, then 公盘/私盘 by the visibility.
QString visibility(const Record &r)
{
    return QStringLiteral("%1%2").arg(r.sf == 1 ? QStringLiteral("门店") : QStringLiteral("公司"),
                                      r.stype == 1 ? QStringLiteral("私盘") : QStringLiteral("公盘"));
}

Line line(const char *name, const QString &caption, const QString &value)
{
    return {QString::fromLatin1(name), caption + value};
}

QList<Line> saleLines(const Record &r)
{
    return {line("label_price", QStringLiteral("价格："), withUnit(r.price, QStringLiteral("万"))),
            line("label_unitPrice", QStringLiteral("单价："), withUnit(r.unitprice, QStringLiteral("元/㎡"))),
            line("label_primarySchool", QStringLiteral("小学："), orNone(r.primaryschool)),
            line("label_middleSchool", QStringLiteral("中学："), orNone(r.middleschool)),
            line("label_deed", QStringLiteral("房产证："), orNone(r.property)),
            line("label_propertyRight", QStringLiteral("产权："), orNone(r.propertyquan)),
            r.havegarage == 1 ? line("label_garage", QStringLiteral("车库："), orNone(r.garage))
                              : line("label_garage", QStringLiteral("无车库"), QString())};
}

QList<Line> rentLines(const Record &r)
{
    const QString rent = r.price == 0 ? kNone : numberOrNone(r.price) + r.zuunit;
    return {line("label_price", QStringLiteral("租金："), rent),
            line("label_payway", QStringLiteral("付款方式："), orNone(r.payway)),
            line("label_rentway", QStringLiteral("租房方式："), orNone(r.rentway)),
            line("label_ruzhu", QStringLiteral("入住时间："), orNone(r.ruzhutime)),
            line("label_traffic", QStringLiteral("交通："), orNone(r.traffic)),
            line("label_peitao", QStringLiteral("配套："), orNone(r.peitao)),
            line("label_tags", QStringLiteral("标签："), orNone(r.tags))};
}

} // namespace

QList<Line> factLines(const Record &r, bool rent)
{
    QList<Line> lines{line("label_number", QStringLiteral("编号："), QString::number(r.id)),
                      line("label_enterer", QStringLiteral("录入人："), enterer(r)),
                      line("label_type", QStringLiteral("类型："), orNone(r.housetype)),
                      line("label_visibility", QStringLiteral("权限："), visibility(r)),
                      line("label_huxing", QStringLiteral("户型："), houseType(r)),
                      line("label_area", QStringLiteral("面积："), withUnit(r.builtuparea, QStringLiteral("平"))),
                      line("label_renovation", QStringLiteral("装修："), orNone(r.renovation))};
    lines += rent ? rentLines(r) : saleLines(r);
    lines << (r.havekeys == 1 ? line("label_keys", QStringLiteral("钥匙："), orNone(r.keys))
                              : line("label_keys", QStringLiteral("无钥匙"), QString()))
          << line("label_toward", QStringLiteral("朝向："), orNone(r.toward))
          << line("label_source", QStringLiteral("来源："), orNone(r.source))
          << line("label_seeTime", QStringLiteral("看房时间："), orNone(r.seetime))
          << line("label_created", rent ? QStringLiteral("发布：") : QStringLiteral("录入："), orNone(r.createtime))
          << line("label_updated", QStringLiteral("更新："), orNone(r.lasttime));
    return lines;
}

// The building and unit carry their unit words ("3栋", "2单元") when the record has them.
QString addressText(const Record &r, bool roomShown)
{
    const QString building = r.buildingNo.isEmpty() ? kNone : HouseRecord::withUnitWord(r.buildingNo, r.dongunit, QStringLiteral("栋"));
    const QString unit = r.unitNo.isEmpty() ? kNone : HouseRecord::withUnitWord(r.unitNo, r.danyuanunit, QStringLiteral("单元"));
    QString text = QStringLiteral("地址：%1-%2-%3").arg(orNone(r.name), building, unit);
    if (roomShown)
        text += QStringLiteral("-%1").arg(orNone(r.roomNo));
    return text;
}

QString floorText(const Record &r, bool shown)
{
    if (!shown)
        return QStringLiteral("楼层：*/*层");
    if (r.floors == 0 && r.allfloors == 0)
        return QStringLiteral("楼层：暂无");
    return QStringLiteral("楼层：%1/%2层").arg(r.floors).arg(r.allfloors);
}

// A headline, when the listing has one, goes before the remark.
QString remarkText(const Record &r)
{
    if (!r.title.trimmed().isEmpty() && !r.remark.trimmed().isEmpty())
        return QStringLiteral("备注：%1 %2").arg(r.title, r.remark);
    return QStringLiteral("备注：%1").arg(orNone(r.remark.trimmed().isEmpty() ? r.title : r.remark));
}

QStringList tagNames(const Record &r)
{
    QStringList names;
    for (const QString &tag : r.tags.split(QRegularExpression(QStringLiteral("[,，]")))) {
        if (!tag.trimmed().isEmpty())
            names << tag.trimmed();
    }
    return names;
}

QString tagStyle(int index)
{
    static const char *const colours[] = {"#FDB800", "#F94283", "#F9933F", "#A060BC", "#49C8A6", "#00B1FF"};
    const QString colour = QString::fromLatin1(colours[qAbs(index) % 6]);
    return QStringLiteral("color:%1;border-radius:3px;border:1px solid %2;").arg(colour, colour);
}

QString countsText(int photos, int videos)
{
    const auto number = [](int n) {
        return QStringLiteral("<span style=\"color:%1;\">%2</span>")
            .arg(n > 0 ? QStringLiteral("#3485ea") : QStringLiteral("#ff0000"))
            .arg(n);
    };
    return QStringLiteral("图片（%1）视频（%2）").arg(number(photos), number(videos));
}

QDateTime parseTime(const QString &text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char('-'), QLatin1Char('/'));
    for (const char *format : {"yyyy/MM/dd HH:mm:ss", "yyyy/M/d H:mm:ss", "yyyy/M/d H:mm"}) {
        const QDateTime time = QDateTime::fromString(t, QString::fromLatin1(format));
        if (time.isValid())
            return time;
    }
    return QDateTime();
}

bool updateTimeDiffers(const QString &serverTime, const QString &recordTime)
{
    const QDateTime server = parseTime(serverTime);
    if (!server.isValid())
        return false;  // nothing readable to compare: no reason to fetch the listing again
    return server != parseTime(recordTime);
}

} // namespace FirstPageTexts
