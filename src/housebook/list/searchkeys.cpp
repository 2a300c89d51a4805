#include "list/searchkeys.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace SearchKeys {
namespace {

struct IdKey
{
    int id;
    const char *key; // a range's stem, or the three keys of a three-part item
    Shape shape;
};

// Item id -> search key. House-book items use ids 1-38 and 75-98; the others belong to the
// customer, contract and cloud books, which share the bar.
const IdKey kIdKeys[] = {
    {1, "name", Shape::Single},          {2, "district", Shape::AreaTree},
    {3, "buildingNo,unitNo,roomNo", Shape::ThreeParts},
    {4, "id", Shape::Single},            {5, "tel", Shape::Single},
    {6, "houseType", Shape::Single},     {7, "room,hall,huxingwei", Shape::ThreeParts},
    {8, "renovation", Shape::Single},    {9, "chaoXiang", Shape::Single},
    {10, "keys", Shape::Single},         {11, "pic", Shape::Single},
    {12, "peitao", Shape::Single},       {13, "traffic", Shape::Single},
    {14, "seetime", Shape::Single},      {15, "ruZhuTime", Shape::Single},
    {16, "rentWay", Shape::Single},      {17, "payWay", Shape::Single},
    {18, "source", Shape::Single},       {19, "tag", Shape::Single},
    {20, "state", Shape::Single},        {21, "quanXian", Shape::Single},
    {22, "follow", Shape::Single},       {23, "keyWord", Shape::Single},
    {24, "publicher", Shape::Single},    {25, "size", Shape::Range},
    {26, "price", Shape::Range},         {27, "floor", Shape::Range},
    {28, "publishTime", Shape::Range},   {29, "updataTime", Shape::Range},
    {30, "followTime", Shape::Range},    {31, "chanQuan", Shape::Single},
    {32, "chanZhen", Shape::Single},     {33, "carhouse", Shape::Single},
    {34, "school", Shape::Single},       {35, "unitPrice", Shape::Range},
    {36, "yueZu", Shape::Range},         {37, "state", Shape::Single},
    {38, "tag", Shape::Single},          {39, "loupan", Shape::Single},
    {40, "contractNo", Shape::Single},   {41, "contractPayWay", Shape::Single},
    {43, "qianyueren", Shape::Single},   {44, "contractState", Shape::Single},
    {45, "contractServiceFee", Shape::Single}, {46, "signingDate", Shape::Range},
    {47, "cloudtype", Shape::Single},    {48, "cloudhutype", Shape::Single},
    {49, "name", Shape::Single},         {50, "name", Shape::Single},
    {51, "s_school", Shape::Single},     {52, "m_school", Shape::Single},
    {53, "cloudDistrict", Shape::Single}, {54, "daoQiDate", Shape::Range},
    {55, "singleArea", Shape::Single},   {56, "publishStore", Shape::Single},
    {57, "suoShuStaff", Shape::Single},  {58, "customer_name", Shape::Single},
    {59, "customer_phone", Shape::Single}, {60, "customer_statu", Shape::Single},
    {61, "customer_follow", Shape::Single}, {62, "customer_type", Shape::Single},
    {63, "customer_tag", Shape::Single}, {64, "customer_tag", Shape::Single},
    {65, "up_or_down", Shape::Single},   {66, "house_provider", Shape::Single},
    {67, "customer_or_hostname", Shape::Single}, {68, "customer_tag", Shape::Single},
    {69, "customer_tag", Shape::Single}, {70, "storeAndStaff", Shape::Single},
    {71, "customer_tag", Shape::Single}, {72, "customer_payway", Shape::Single},
    {73, "customer_payway", Shape::Single}, {74, "customer_payway", Shape::Single},
    {75, "hutype", Shape::Single},       {76, "xiezuo", Shape::Single},
    {77, "xiezuo_null", Shape::Single},  {78, "state", Shape::Single},
    {79, "state", Shape::Single},        {80, "state", Shape::Single},
    {81, "cloudtype", Shape::Single},    {82, "contrctStepJson", Shape::Single},
    {83, "district", Shape::AreaTree},   {84, "up_or_down", Shape::Single},
    {85, "cloud_pianqu", Shape::Single}, {86, "lurupeople", Shape::Single},
    {87, "lurudept", Shape::Single},     {88, "qianyueren_dept", Shape::Single},
    {89, "suoShu_dept", Shape::Single},  {90, "lurupeople", Shape::Single},
    {91, "lurudept", Shape::Single},     {92, "xiezuo_weihu", Shape::Single},
    {94, "xiezuo_weituo", Shape::Single}, {95, "xiezuo_shikan", Shape::Single},
    {96, "xiezuo_yaoshi", Shape::Single}, {97, "xiezuo_dujia", Shape::Single},
    {98, "xiezuo_chengjiao", Shape::Single},
};

const IdKey *find(int id)
{
    for (const IdKey &entry : kIdKeys) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

// Split at "," keeping empty parts; at most `parts` parts, the rest is ignored.
QStringList splitParts(const QString &content, int parts)
{
    return content.split(QLatin1Char(','), Qt::KeepEmptyParts).mid(0, parts);
}

// A district-and-area tree: [{title, choose, sons: [{title, choose}]}]. Empty when the
// content is a plain choice list.
bool readTree(const QString &content, QStringList &districts, QStringList &areas)
{
    if (!content.trimmed().startsWith(QLatin1Char('[')))
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(content.toUtf8());
    if (!doc.isArray())
        return false;
    for (const QJsonValue &d : doc.array()) {
        const QJsonObject district = d.toObject();
        if (district.value(QStringLiteral("choose")).toBool())
            districts << district.value(QStringLiteral("title")).toString();
        for (const QJsonValue &a : district.value(QStringLiteral("sons")).toArray()) {
            if (a.toObject().value(QStringLiteral("choose")).toBool())
                areas << a.toObject().value(QStringLiteral("title")).toString();
        }
    }
    return true;
}

void addAreaTree(QVariantMap &map, const QString &content)
{
    QStringList districts, areas;
    if (!readTree(content, districts, areas)) {
        map.insert(QStringLiteral("district"), content);
        return;
    }
    map.insert(QStringLiteral("district"), districts.join(QLatin1Char(',')));
    map.insert(QStringLiteral("area"), areas.join(QLatin1Char(',')));
}

} // namespace

QStringList keysOf(int id)
{
    const IdKey *entry = find(id);
    if (!entry)
        return QStringList();
    const QString key = QString::fromLatin1(entry->key);
    switch (entry->shape) {
    case Shape::Range:
        return {key + QStringLiteral("_up"), key + QStringLiteral("_down")};
    case Shape::ThreeParts:
        return key.split(QLatin1Char(','));
    case Shape::AreaTree:
        return {key, QStringLiteral("area")};
    case Shape::Single:
        break;
    }
    return {key};
}

Shape shapeOf(int id)
{
    const IdKey *entry = find(id);
    return entry ? entry->shape : Shape::Single;
}

void addItemValue(QVariantMap &map, int id, const QString &content)
{
    const QStringList keys = keysOf(id);
    if (keys.isEmpty())
        return;
    switch (shapeOf(id)) {
    case Shape::Single:
        map.insert(keys.first(), content);
        return;
    case Shape::AreaTree:
        addAreaTree(map, content);
        return;
    case Shape::Range:
    case Shape::ThreeParts:
        break;
    }
    const QStringList parts = splitParts(content, keys.size());
    for (int i = 0; i < parts.size(); ++i)
        map.insert(keys.at(i), parts.at(i));
}

QVariantMap searchMap(const QList<QVariantMap> &collected)
{
    QVariantMap map;
    for (const QVariantMap &entry : collected)
        addItemValue(map, entry.value(QStringLiteral("id")).toInt(), entry.value(QStringLiteral("content")).toString());
    return map;
}

} // namespace SearchKeys
