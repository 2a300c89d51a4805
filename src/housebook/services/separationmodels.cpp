#include "services/separationmodels.h"

#include "net/wholenumber.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

// A reply member as text: strings as they are, whole numbers without a fraction, anything
// else (objects, lists, null) empty.
QString textOf(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isDouble()) {
        qint64 whole = 0;
        if (WholeNumber::fromDouble(value.toDouble(), &whole))
            return QString::number(whole);
        return QString::number(value.toDouble());
    }
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    return QString();
}

QString textOf(const QJsonObject &o, const char *key)
{
    return textOf(o.value(QLatin1String(key)));
}

int numberOf(const QJsonObject &o, const char *key)
{
    return WholeNumber::toInt(o.value(QLatin1String(key)).toVariant());
}

// An object member, also when the server sends it as JSON text.
QJsonObject objectOf(const QJsonValue &value)
{
    if (value.isObject())
        return value.toObject();
    if (value.isString())
        return QJsonDocument::fromJson(value.toString().toUtf8()).object();
    return QJsonObject();
}

// A list: an array, an object holding `list` or `data`, or JSON text of either.
QJsonArray listOf(const QJsonValue &value)
{
    if (value.isArray())
        return value.toArray();
    if (value.isString()) {
        const QJsonDocument doc = QJsonDocument::fromJson(value.toString().toUtf8());
        return doc.isArray() ? doc.array() : listOf(doc.object());
    }
    const QJsonObject o = value.toObject();
    for (const char *key : {"list", "data"}) {
        const QJsonValue inner = o.value(QLatin1String(key));
        if (inner.isArray())
            return inner.toArray();
    }
    return QJsonArray();
}

// Photo addresses of a group: [{url}], ["url"], or a comma list.
QStringList urlsOf(const QJsonValue &value)
{
    QStringList urls;
    if (value.isString() && !value.toString().trimmed().startsWith(QLatin1Char('['))) {
        for (const QString &url : value.toString().split(QLatin1Char(','), Qt::SkipEmptyParts))
            urls << url.trimmed();
        return urls;
    }
    for (const QJsonValue &entry : listOf(value)) {
        const QString url = entry.isObject() ? textOf(entry.toObject(), "url") : textOf(entry);
        if (!url.isEmpty())
            urls << url;
    }
    return urls;
}

} // namespace


namespace HouseBookSeperateList_Model {

QString roleName(int type)
{
    static const char *const names[] = {"录入人", "维护人", "委托人", "实勘人", "钥匙人", "独家代理人", "成交人"};
    return type >= 0 && type <= ChengJiao ? QString::fromUtf8(names[type]) : QString();
}

QString ItemData::roleName() const
{
    return HouseBookSeperateList_Model::roleName(type);
}

ItemData fromJson(const QJsonObject &row)
{
    ItemData item;
    item.id = textOf(row, "id");
    item.type = numberOf(row, "type");
    item.title = textOf(row, "title");
    item.state = numberOf(row, "state");
    item.phone = textOf(row, "phone");
    item.deptid = textOf(row, "deptid");
    const QJsonObject info = objectOf(row.value(QStringLiteral("info")));
    item.info.name = textOf(info, "name");
    item.info.store = textOf(info, "store");
    item.info.head = textOf(info, "head");
    item.info.userId = textOf(info, "userid");
    item.remark = textOf(row, "remark");
    item.own = numberOf(row, "own") != 0 || row.value(QStringLiteral("own")).toBool();
    const QJsonObject detail = objectOf(row.value(QStringLiteral("detailinfo")));
    item.detailinfo.heyancode = textOf(detail, "heyancode");
    item.detailinfo.weituocode = textOf(detail, "weituocode");
    item.detailinfo.sp_id = textOf(detail, "sp_id");
    return item;
}

QList<ItemData> listFromJson(const QJsonValue &data)
{
    QList<ItemData> items;
    for (const QJsonValue &row : listOf(data)) {
        if (row.isObject())
            items << fromJson(row.toObject());
    }
    return items;
}

bool listingTakesPart(const HouseMessage_DataSqlTable::HouseMessageData &listing)
{
    return listing.sf == 0 && listing.stype == 0;
}

} // namespace HouseBookSeperateList_Model

namespace HouseBookSeperateDetail_Model {

bool Data::isEmpty() const
{
    return id.isEmpty() && author.isEmpty() && picturecontent.isEmpty() && pdf.isEmpty() && contractid.isEmpty();
}

Data fromJson(const QJsonValue &value)
{
    const QJsonObject o = objectOf(value);
    Data d;
    d.id = textOf(o, "id");
    d.author = textOf(o, "author");
    d.time = textOf(o, "time");
    d.state = numberOf(o, "state");
    d.remark = textOf(o, "remark");
    d.type = numberOf(o, "type");
    const QJsonObject pictures = objectOf(o.value(QStringLiteral("picturecontent")));
    for (auto it = pictures.begin(); it != pictures.end(); ++it) {
        const QStringList urls = urlsOf(it.value());
        if (!urls.isEmpty())
            d.picturecontent.insert(it.key(), urls);
    }
    d.endtime = textOf(o, "endtime");
    d.contractid = textOf(o, "contractid");
    d.contractNo = textOf(o, "contractNo");
    for (const QJsonValue &entry : listOf(o.value(QStringLiteral("pdf")))) {
        const QJsonObject pdf = entry.toObject();
        if (!textOf(pdf, "url").isEmpty())
            d.pdf << Pdf{textOf(pdf, "name"), textOf(pdf, "url")};
    }
    const QJsonObject info = objectOf(o.value(QStringLiteral("detailinfo")));
    d.detailinfo.sp_id = textOf(info, "sp_id");
    d.detailinfo.heyancode = textOf(info, "heyancode");
    d.detailinfo.weituocode = textOf(info, "weituocode");
    const QJsonValue verifier = info.value(QStringLiteral("heyanren"));
    d.detailinfo.heyanren = verifier.isObject() ? textOf(verifier.toObject(), "name") : textOf(verifier);
    d.detailinfo.keycode = textOf(info, "keycode");
    d.detailinfo.shoudate = textOf(info, "shoudate");
    d.detailinfo.deptName = textOf(info, "deptName");
    d.detailinfo.housecernum = textOf(info, "housecernum");
    d.detailinfo.hostcernum = textOf(info, "hostcernum");
    return d;
}

} // namespace HouseBookSeperateDetail_Model

namespace HighSeperateReportList_Model {

QString ItemData::stateText() const
{
    switch (state) {
    case Pending:
        return QStringLiteral("待处理");
    case Upheld:
        return QStringLiteral("举报属实");
    case Rework:
        return days > 0 ? QStringLiteral("%1(%2天内)").arg(QStringLiteral("限期返工")).arg(days)
                        : QStringLiteral("限期返工");
    case Rejected:
        return QStringLiteral("驳回");
    default:
        return QStringLiteral("已审核");
    }
}

ItemData fromJson(const QJsonObject &row)
{
    ItemData item;
    item.id = textOf(row, "id");
    item.state = numberOf(row, "state");
    item.itemid = textOf(row, "itemid");
    item.content = textOf(row, "content");
    item.author = textOf(row, "author");
    item.authorId = textOf(row, "authorid");
    item.time = textOf(row, "time");
    item.shenpiren = textOf(row, "shenpiren");
    item.shenpitime = textOf(row, "shenpitime");
    item.fdstepname = textOf(row, "fdstepname");
    item.days = numberOf(row, "days");
    const QJsonObject house = objectOf(row.value(QStringLiteral("house")));
    item.house = {textOf(house, "id"),   textOf(house, "title"),    textOf(house, "photo"),   textOf(house, "video"),
                  textOf(house, "time"), textOf(house, "username"), textOf(house, "userdept")};
    const QJsonObject sh = objectOf(row.value(QStringLiteral("sh")));
    item.sh.id = textOf(sh, "id");
    item.sh.xiezuoid = textOf(sh, "xiezuoid");
    item.sh.state = numberOf(sh, "state");
    item.sh.userid = textOf(sh, "userid");
    item.sh.userdeptId = textOf(sh, "userdeptId");
    item.sh.username = textOf(sh, "username");
    item.sh.userdept = textOf(sh, "userdept");
    item.sh.userPhone = textOf(sh, "userPhone");
    item.sh.time = textOf(sh, "time");
    item.sh.shenpi_id = textOf(sh, "shenpi_id");
    item.sh.data = textOf(sh, "data");
    return item;
}

Page pageFromJson(const QJsonValue &data)
{
    Page page;
    const QJsonObject o = data.toObject();
    page.total = qMax(0, numberOf(o, "total"));
    for (const QJsonValue &row : listOf(data)) {
        if (row.isObject())
            page.items << fromJson(row.toObject());
    }
    return page;
}

} // namespace HighSeperateReportList_Model
