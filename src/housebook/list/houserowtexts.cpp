#include "houserowtexts.h"

#include "services/separationmodels.h"
#include "sql/houserecord.h"

#include <QHash>
#include <QTime>

#include <algorithm>

namespace {

using Record = HouseRowTexts::Record;
using Getter = QString (*)(const Record &);

// The store writes "-1" for a building, unit or room it does not know.
bool isKnown(const QString &part)
{
    return !part.isEmpty() && part != QLatin1String("-1");
}

QString knownOrEmpty(const QString &part)
{
    return isKnown(part) ? part : QString();
}

// Keys whose value is one text column of the record, shown as it is.
const QHash<QString, Getter> &plainColumns()
{
    static const QHash<QString, Getter> columns{
        {QStringLiteral("key_zhuangxiu"), [](const Record &r) { return r.renovation; }},
        {QStringLiteral("key_peitao"), [](const Record &r) { return r.peitao; }},
        {QStringLiteral("key_jiaotong"), [](const Record &r) { return r.traffic; }},
        {QStringLiteral("key_seehousetime"), [](const Record &r) { return r.seetime; }},
        {QStringLiteral("key_rentway"), [](const Record &r) { return r.rentway; }},
        {QStringLiteral("key_payway"), [](const Record &r) { return r.payway; }},
        {QStringLiteral("key_zhutime"), [](const Record &r) { return r.ruzhutime; }},
        {QStringLiteral("key_key"), [](const Record &r) { return r.keys; }},
        {QStringLiteral("key_chaoxiang"), [](const Record &r) { return r.toward; }},
        {QStringLiteral("key_source"), [](const Record &r) { return r.source; }},
        {QStringLiteral("key_phone"), [](const Record &r) { return r.contacts; }},
        {QStringLiteral("key_remark"), [](const Record &r) { return r.remark; }},
        {QStringLiteral("key_publishtime"), [](const Record &r) { return r.createtime; }},
        {QStringLiteral("key_updatatime"), [](const Record &r) { return r.lasttime; }},
        {QStringLiteral("key_followdate"), [](const Record &r) { return r.followtime; }},
        {QStringLiteral("key_chanquan"), [](const Record &r) { return r.propertyquan; }},
        {QStringLiteral("key_chanzheng"), [](const Record &r) { return r.property; }},
        {QStringLiteral("key_car"), [](const Record &r) { return r.garage; }},
        {QStringLiteral("key_xingzhi"), [](const Record &r) { return r.attribute; }},
        {QStringLiteral("key_tags"), [](const Record &r) { return r.tags; }},
        {QStringLiteral("key_house_type"), [](const Record &r) { return r.housetype; }},
        {QStringLiteral("key_state"), [](const Record &r) { return r.newstate; }},
        {QStringLiteral("key_s_school"), [](const Record &r) { return r.primaryschool; }},
        {QStringLiteral("key_m_school"), [](const Record &r) { return r.middleschool; }},
        {QStringLiteral("key_heyan_code"), [](const Record &r) { return r.heyanCode; }},
    };
    return columns;
}

// Keys whose value is composed from several columns.
const QHash<QString, Getter> &composedColumns()
{
    static const QHash<QString, Getter> columns{
        {QStringLiteral("key_bianHao"), [](const Record &r) { return QString::number(r.id); }},
        {QStringLiteral("key_area"), [](const Record &r) { return QStringLiteral("%1-%2").arg(r.district, r.area); }},
        {QStringLiteral("key_housetype"),
         [](const Record &r) { return QStringLiteral("%1室%2厅%3卫").arg(r.room).arg(r.hall).arg(r.huxingwei); }},
        {QStringLiteral("key_size"), [](const Record &r) { return QStringLiteral("%1m²").arg(QString::number(r.builtuparea)); }},
        {QStringLiteral("key_monthmoney"),
         [](const Record &r) { return QStringLiteral("%1%2").arg(QString::number(r.price), r.zuunit); }},
        {QStringLiteral("key_price"), [](const Record &r) { return QStringLiteral("%1万").arg(QString::number(r.price)); }},
        {QStringLiteral("key_unitprice"), [](const Record &r) { return QStringLiteral("%1元").arg(r.unitprice); }},
        {QStringLiteral("key_floor"), &HouseRowTexts::floorText},
        {QStringLiteral("key_follow"),
         [](const Record &r) { return r.follows.isEmpty() ? QStringLiteral("暂无跟进") : r.follows; }},
        {QStringLiteral("key_school"), &HouseRowTexts::schoolText},
        {QStringLiteral("key_publisher"), &HouseRowTexts::publisherText},
        {QStringLiteral("key_loudong"),
         [](const Record &r) {
             return HouseRowTexts::buildingText(r) + HouseRowTexts::unitText(r) + knownOrEmpty(r.roomNo);
         }},
        {QStringLiteral("key_days"), [](const Record &r) { return QStringLiteral("%1天").arg(r.days); }},
    };
    return columns;
}

const QHash<QString, QString> &tagIcons()
{
    static const QHash<QString, QString> icons{
        {QStringLiteral("中介冒充"), QStringLiteral("://res/zjmc.png")},
        {QStringLiteral("有图"), QStringLiteral("://res/tu.png")},
        {QStringLiteral("收费收齐"), QStringLiteral("://res/feeComplete.png")},
        {QStringLiteral("有钥匙"), QStringLiteral("://res/yaos.png")},
        {QStringLiteral("置顶"), QStringLiteral("://res/zhid.png")},
        {QStringLiteral("锁盘"), QStringLiteral("://res/suo.png")},
        {QStringLiteral("封盘"), QStringLiteral("://res/feng.png")},
        {QStringLiteral("私房"), QStringLiteral("://res/sifang.png")},
        {QStringLiteral("新"), QStringLiteral("://res/house_xx.png")},
        {QStringLiteral("刷新"), QStringLiteral("://res/house_sx.png")},
        {QStringLiteral("私客"), QStringLiteral("://res/sifang.png")},
        {QStringLiteral("有车库"), QStringLiteral("://res/haveCar.png")},
        {QStringLiteral("客户成交"), QStringLiteral("://res/feeComplete.png")},
        {QStringLiteral("代理"), QStringLiteral("://res/hc_dl.png")},
        {QStringLiteral("包销"), QStringLiteral("://res/hc_bx.png")},
        {QStringLiteral("房主"), QStringLiteral("://res/hc_fz.png")},
        {QStringLiteral("视频房源"), QStringLiteral("://res/house_sp.png")},
        {QStringLiteral("独家"), QStringLiteral("://res/house_du.png")},
        {QStringLiteral("联卖"), QStringLiteral("://res/lm_small.png")},
        {QStringLiteral("VR"), QStringLiteral("://res/vr.png")},
        {QStringLiteral("新上房源"), QStringLiteral("://res/add_new.png")},
    };
    return icons;
}

// Read as "yyyy/MM/dd HH:mm:ss" without QDateTime, whose local-time handling is slow.
bool isCreatedOn(const QString &createtime, const QDate &day)
{
    if (createtime.size() != 19 || createtime.at(10) != QLatin1Char(' '))
        return false;
    return QDate::fromString(createtime.left(10), QStringLiteral("yyyy/MM/dd")) == day
        && QTime::fromString(createtime.mid(11), QStringLiteral("HH:mm:ss")).isValid();
}

QStringList splitTags(const QString &part)
{
    return part.split(HouseRowTexts::tagSplit(), Qt::SkipEmptyParts);
}

} // namespace

QVariantMap HouseRowTexts::cellValues(const Record &record, const QDate &today)
{
    QVariantMap values;
    for (auto it = plainColumns().cbegin(); it != plainColumns().cend(); ++it)
        values.insert(it.key(), it.value()(record));
    for (auto it = composedColumns().cbegin(); it != composedColumns().cend(); ++it)
        values.insert(it.key(), it.value()(record));
    values.insert(QStringLiteral("key_address"), communityText(record, today));
    return values;
}

QString HouseRowTexts::cellValue(const QString &key, const Record &record, const QDate &today)
{
    if (key == QLatin1String("key_address"))
        return communityText(record, today);
    if (const Getter plain = plainColumns().value(key))
        return plain(record);
    if (const Getter composed = composedColumns().value(key))
        return composed(record);
    return QString();
}

QString HouseRowTexts::composeCommunityText(const QStringList &leftTags, const QString &mainText,
                                            const QString &statusText, const QStringList &rightTags)
{
    return QStringList{statusText, mainText, leftTags.join(tagSplit()), rightTags.join(tagSplit())}.join(partSplit());
}

QString HouseRowTexts::communityText(const Record &record, const QDate &today)
{
    return composeCommunityText(leftTags(record, today), displayName(record), statusText(record), rightTags(record));
}

HouseRowTexts::CommunityParts HouseRowTexts::splitCommunityText(const QString &text)
{
    CommunityParts parts;
    const QStringList pieces = text.split(partSplit());
    if (pieces.size() != 4)
        return parts;
    parts.valid = true;
    parts.status = pieces.at(0);
    parts.main = pieces.at(1);
    parts.leftTags = splitTags(pieces.at(2));
    parts.rightTags = splitTags(pieces.at(3));
    return parts;
}

QString HouseRowTexts::displayName(const Record &record)
{
    if (!isKnown(record.buildingNo) && !isKnown(record.unitNo) && !isKnown(record.roomNo))
        return record.name;
    // An unknown building ("-1" or empty) keeps a single separator.
    const QString building = buildingText(record);
    const QString separated = building.isEmpty() ? QStringLiteral("-") : QStringLiteral("-%1-").arg(building);
    return record.name + QStringLiteral("%1%2%3").arg(separated, unitText(record), knownOrEmpty(record.roomNo));
}

QString HouseRowTexts::buildingText(const Record &record)
{
    return HouseRecord::withUnitWord(knownOrEmpty(record.buildingNo), record.dongunit, QStringLiteral("栋"));
}

QString HouseRowTexts::unitText(const Record &record)
{
    return HouseRecord::withUnitWord(knownOrEmpty(record.unitNo), record.danyuanunit, QStringLiteral("单元"));
}


QString HouseRowTexts::statusText(const Record &record)
{
    if (record.shenhestatus == 1)
        return QStringLiteral("待审核");
    if (record.shenhestatus == 3)
        return QStringLiteral("驳回");
    if (record.housestatus == 0)
        return QStringLiteral("待处理");
    return QString();
}

QStringList HouseRowTexts::leftTags(const Record &record, const QDate &today)
{
    QStringList tags;
    if (isCreatedOn(record.createtime, today.isValid() ? today : QDate::currentDate()))
        tags << QStringLiteral("新上房源");
    if (!record.photo.isEmpty())
        tags << QStringLiteral("有图");
    if (!record.vrurl.isEmpty() || !record.quanjing.isEmpty())
        tags << QStringLiteral("VR");
    if (record.havevideo)
        tags << QStringLiteral("视频房源");
    return tags;
}

QStringList HouseRowTexts::rightTags(const Record &record)
{
    QStringList tags;
    if (record.sf == 1)
        tags << QStringLiteral("私房");
    if (record.havegarage == 1)
        tags << QStringLiteral("有车库");
    if (record.istop == 1)
        tags << QStringLiteral("置顶");
    if (record.suopan == 1)
        tags << QStringLiteral("锁盘");
    if (record.fengpan == 1)
        tags << QStringLiteral("封盘");
    if (record.hbdujia == 1)
        tags << QStringLiteral("独家");
    return tags;
}

// Floor 0 does not exist and a listing always has a building height, so either zero means
// the floors were not entered (or are hidden from this user).
QString HouseRowTexts::floorText(const Record &record)
{
    if (record.floors == 0 || record.allfloors <= 0)
        return QStringLiteral("*/*层");
    return QStringLiteral("%1/%2层").arg(record.floors).arg(record.allfloors);
}

QString HouseRowTexts::publisherText(const Record &record)
{
    if (!record.author.isEmpty() && !record.deptname.isEmpty())
        return QStringLiteral("%1(%2)").arg(record.author, record.deptname);
    if (!record.author.isEmpty())
        return record.author;
    return record.deptname.isEmpty() ? QStringLiteral("暂无") : record.deptname;
}

QString HouseRowTexts::schoolText(const Record &record)
{
    QStringList schools;
    if (!record.primaryschool.isEmpty())
        schools << record.primaryschool;
    if (!record.middleschool.isEmpty())
        schools << record.middleschool;
    return schools.isEmpty() ? QStringLiteral("暂无学区") : schools.join(QStringLiteral("、"));
}

QStringList HouseRowTexts::tagList(const QString &tags)
{
    QStringList out;
    for (const QString &tag : tags.split(QLatin1Char(','))) {
        const QString trimmed = tag.trimmed();
        if (!trimmed.isEmpty())
            out << trimmed;
    }
    return out;
}

QString HouseRowTexts::tagIcon(const QString &tag)
{
    return tagIcons().value(tag);
}

bool HouseRowTexts::takesPartInXieZuo(const Record &record)
{
    return HouseBookSeperateList_Model::listingTakesPart(record);
}

QString HouseRowTexts::communityHtml(const QString &status, const QString &mainText, const QStringList &searchWords)
{
    QString html;
    if (!status.isEmpty())
        html = QStringLiteral("<span style=\"color:#ff0000;\">(%1)</span>").arg(status.toHtmlEscaped());
    return html + highlighted(mainText, searchWords);
}

// Marks the search words case-insensitively on the raw text first and escapes each piece
// after, so a name holding "<" or "&" neither breaks the markup nor hides a match.
QString HouseRowTexts::highlighted(const QString &text, const QStringList &words)
{
    QVector<bool> marked(text.size(), false);
    for (const QString &word : words) {
        if (word.trimmed().isEmpty())
            continue;
        for (int at = text.indexOf(word, 0, Qt::CaseInsensitive); at >= 0;
             at = text.indexOf(word, at + word.size(), Qt::CaseInsensitive))
            std::fill(marked.begin() + at, marked.begin() + at + word.size(), true);
    }
    QString html;
    for (int i = 0; i < text.size();) {
        int end = i;
        while (end < text.size() && marked.at(end) == marked.at(i))
            ++end;
        const QString piece = text.mid(i, end - i).toHtmlEscaped();
        html += marked.at(i) ? QStringLiteral("<span style=\"color:#ff0000;\">%1</span>").arg(piece) : piece;
        i = end;
    }
    return html;
}
