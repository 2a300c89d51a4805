#include "sql/housebookcatalogue.h"
#include "net/wholenumber.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace HouseBookCatalogue {
namespace {

// Kinds of search input (the `type` member).
enum FieldType { Text = 0, Choice = 1, BuildingUnitRoom = 2, NumberRange = 4, DateRange = 5, Community = 6,
                 ChoiceWithSons = 7, Layout = 9 };

struct SearchFieldRow
{
    int id;
    const char *title;
    int type;
    bool choose;
    const char *placeholder; // null: the field's own prompt
};

// Search fields in catalogue order. Choice lists either carry their options or a numbered
// placeholder that the reader fills from the reference data.
const SearchFieldRow kSearchFields[] = {
    {1, "小区", Community, true, nullptr},
    {2, "区域", ChoiceWithSons, true, "区域,%1"},
    {3, "楼栋号", BuildingUnitRoom, true, nullptr},
    {4, "编号", Text, true, nullptr},
    {5, "电话", Text, true, nullptr},
    {6, "类型", Choice, true, "房屋类型,%2"},
    {7, "户型", Layout, true, nullptr},
    {8, "装修", Choice, true, "装修,%3"},
    {9, "朝向", Choice, false, "朝向,其他,东,南,西,北,南北,东西,东南,西南,东北,西北"},
    {10, "钥匙", Choice, true, "钥匙,有钥匙,无钥匙"},
    {11, "图片", Choice, true, "图片,有图,无图"},
    {12, "配套", Choice, true,
     "配套,水,有线电视,空调,暖气,电梯,家具,物业管理,电,冰箱,微波炉,宽带,储藏/地下室,露台/花园,商务中心,"
     "煤气/天然气,洗衣机,热水器,电话,灶具,停车位,健身设备"},
    {13, "交通", Choice, true, "交通,%4"},
    {14, "看房时间", Choice, false, "看房时间,随时,有钥匙,预约"},
    {15, "入住时间", Choice, false, "入住时间,随时,一周内,两周内,三周内,一月内,两月内"},
    {16, "租房方式", Choice, false, "租房方式,整租,合租"},
    {17, "付款方式", Choice, false, "付款方式,%5"},
    {18, "来源", Choice, false, "来源,%6"},
    {19, "标签", Choice, false, "标签,%7"},
    {20, "状态", ChoiceWithSons, false, "状态,%8"},
    {21, "权限", Choice, false, "权限,公司公盘,门店公盘,公司私盘,门店私盘"},
    {22, "跟进", Choice, false, "跟进,有跟进,无跟进"},
    {23, "关键字", Text, true, nullptr},
    {25, "面积", NumberRange, true, nullptr},
    {26, "总价", NumberRange, true, nullptr},
    {27, "楼层", NumberRange, true, nullptr},
    {28, "录入时间", DateRange, true, nullptr},
    {29, "更新时间", DateRange, false, nullptr},
    {30, "跟进时间", DateRange, false, nullptr},
    {31, "产权", Choice, false, "产权,%9"},
    {32, "产证", Choice, false, "产证,%10"},
    {33, "车库", Choice, false, "车库,有车库,无车库"},
    {34, "学区", Choice, false, "学区,有学区,无学区"},
    {35, "单价", NumberRange, false, nullptr},
    {36, "租金", NumberRange, false, nullptr},
    {37, "状态", ChoiceWithSons, false, "状态,%11"},
    {38, "标签", Choice, false, "标签,%12"},
    {39, "楼盘", Text, true, nullptr},
    {40, "合同编号", Text, true, nullptr},
    {41, "付款方式", Choice, true, "付款方式,商业贷款,一次性付款,省直公积金,市直公积金,组合贷款"},
    {67, "房主、客户姓名", Text, true, nullptr},
    {44, "状态", Choice, true, "状态,正常,解除,作废,完成"},
    {45, "中介费", Choice, true, "中介费,收齐,未收齐"},
    {46, "签约日期", DateRange, true, nullptr},
    {47, "类型", Choice, true, "类型,住宅,商铺,写字楼,车库,厂房,仓库,其他"},
    {48, "户型", ChoiceWithSons, true, "户型,一室,二室,三室,四室,四室以上"},
    {49, "小区", Community, true, nullptr},
    {50, "小区", Community, true, nullptr},
    {51, "小学", Text, true, nullptr},
    {52, "中学", Text, true, nullptr},
    {53, "区域", ChoiceWithSons, true, "区域,%13"},
    {54, "到期日期", DateRange, true, nullptr},
    {55, "区域", Choice, true, "区域,%14"},
    {58, "客户姓名", Text, true, nullptr},
    {59, "客户电话", Text, true, nullptr},
    {60, "客户状态", Choice, true, "带看状态,未带看,已带看"},
    {61, "客户跟进", Text, true, nullptr},
    {62, "客户类型", Choice, true, "类型,我的客户,公司公客,门店公客,私客"},
    {63, "客户售房标签", Choice, true, "标签,%15"},
    {64, "客户租房标签", Choice, true, "标签,%16"},
    {65, "上下架", Choice, true, "上架状态,已上架,已下架"},
    {68, "合同售房标签", Choice, true, "标签,%17"},
    {69, "合同租房标签", Choice, true, "标签,%18"},
    {71, "客户新房标签", Choice, true, "标签,%19"},
    {72, "售房付款方式", Choice, true, "付款方式,%20"},
    {73, "租房付款方式", Choice, true, "付款方式,%21"},
    {74, "新房付款方式", Choice, true, "付款方式,%22"},
    {75, "户型", Choice, true, "户型,%23"},
    {76, "已团队协作", ChoiceWithSons, true, "已协作状态,已录入,已维护,已委托,已实勘,已钥匙,已独家代理,已成交"},
    {77, "待团队协作", ChoiceWithSons, true, "待协作状态,待录入,待维护,待委托,待实勘,待钥匙,待独家代理,待成交"},
    {78, "出售客户状态", ChoiceWithSons, false, "状态,%24"},
    {79, "出租客户状态", ChoiceWithSons, false, "状态,%25"},
    {80, "新房客户状态", ChoiceWithSons, false, "状态,%26"},
    {81, "云采集房屋类型", Choice, true, "类型,%27"},
};

struct ListColumnRow
{
    int id;
    const char *title;
    const char *key;
    bool sort;
    bool choose;
    int rate;
    int fixed; // 0: the width follows the rate
};

// List columns: 1-36 listing columns, 37-48 contract columns, 49-60 customer columns,
// 61-67 shared.
const ListColumnRow kListColumns[] = {
    {1, "编号", "key_bianHao", true, true, 3, 0},
    {2, "区域", "key_area", false, true, 4, 0},
    {3, "小区", "key_address", false, true, 8, 0},
    {4, "楼栋号", "key_loudong", false, true, 4, 0},
    {5, "户型", "key_housetype", true, true, 4, 0},
    {6, "面积", "key_size", true, true, 4, 0},
    {7, "装修", "key_zhuangxiu", false, true, 4, 0},
    {8, "配套", "key_peitao", false, false, 4, 0},
    {9, "交通", "key_jiaotong", false, false, 4, 0},
    {10, "看房时间", "key_seehousetime", false, false, 4, 0},
    {11, "租房方式", "key_rentway", false, false, 4, 0},
    {12, "付款方式", "key_payway", false, false, 4, 0},
    {13, "租金", "key_monthmoney", true, false, 4, 0},
    {14, "入住时间", "key_zhutime", true, false, 4, 0},
    {15, "钥匙", "key_key", false, false, 4, 0},
    {16, "朝向", "key_chaoxiang", false, false, 4, 0},
    {17, "状态", "key_state", false, false, 4, 0},
    {18, "跟进", "key_follow", false, false, 6, 0},
    {19, "来源", "key_source", false, false, 4, 0},
    {20, "电话", "key_phone", false, false, 4, 0},
    {21, "备注", "key_remark", false, false, 4, 0},
    {22, "录入人", "key_publisher", false, true, 4, 0},
    {23, "录入时间", "key_publishtime", true, true, 6, 0},
    {24, "更新时间", "key_updatatime", true, true, 6, 0},
    {25, "跟进时间", "key_followdate", true, false, 4, 0},
    {26, "总价", "key_price", true, false, 4, 0},
    {27, "产权", "key_chanquan", false, false, 4, 0},
    {28, "产证", "key_chanzheng", false, false, 4, 0},
    {29, "车库", "key_car", false, false, 4, 0},
    {30, "学区", "key_school", false, false, 4, 0},
    {31, "权限", "key_xingzhi", false, false, 4, 0},
    {32, "单价", "key_unitprice", true, false, 4, 0},
    {33, "小学", "key_s_school", false, false, 6, 0},
    {34, "中学", "key_m_school", false, false, 6, 0},
    {35, "楼层", "key_floor", true, false, 4, 0},
    {36, "标签", "key_tags", false, false, 4, 0},
    {37, "合同编号", "key_bianHao", false, true, 2, 0},
    {38, "状态", "key_status", false, true, 2, 0},
    {39, "房源人", "key_housePeople", false, true, 2, 0},
    {40, "小区名称", "key_name", false, true, 4, 0},
    {41, "面积", "key_size", false, true, 2, 0},
    {42, "租金", "key_price", false, true, 2, 0},
    {43, "价格", "key_price", false, true, 2, 0},
    {44, "付款方式", "key_payWay", false, true, 2, 0},
    {45, "中介费", "key_serviceFee", false, true, 2, 0},
    {46, "签约门店", "key_signingStore", false, true, 3, 0},
    {47, "签约人", "key_signingPeople", false, true, 2, 0},
    {48, "签约时间", "key_signingTime", false, true, 2, 0},
    {49, "编号", "key_id", false, true, 2, 0},
    {50, "客户姓名", "key_name", true, true, 3, 0},
    {51, "客户要求", "key_demand", false, true, 5, 0},
    {52, "客配房", "key_house", false, true, 4, 0},
    {53, "带看记录", "key_takelook", false, true, 4, 0},
    {54, "带看状态", "key_take_status", false, true, 2, 0},
    {55, "跟进记录", "key_follow", false, true, 3, 0},
    {56, "跟进时间", "key_follow_time", true, true, 3, 0},
    {57, "提交时间", "key_time", true, true, 3, 0},
    {58, "标签", "key_tags", false, true, 4, 0},
    {60, "付款方式", "key_payways", false, true, 4, 0},
    {59, "所属人", "key_belong", false, true, 4, 0},
    {61, "团队协作", "key_xiezuo", false, true, 1, 215},
    {62, "类型", "key_house_type", false, true, 2, 0},
    {63, "状态", "key_state", true, true, 2, 0},
    {64, "到期时间", "key_expiredate", false, true, 2, 0},
    {65, "客户带看", "key_daikan", false, true, 1, 135},
    {66, "办理进度", "key_jindu", false, true, 1, 185},
    {67, "核验码", "key_heyan_code", false, true, 1, 150},
};

struct ChoiceRow
{
    int id;
    const char *title;
};

// Default choice lists, in display order, with the titles these lists give their entries.
const ChoiceRow kSaleSearchDefault[] = {
    {1, "小区"}, {83, "区域/片区"}, {3, "楼栋号"}, {4, "编号"}, {5, "电话"}, {6, "类型"}, {7, "户型"},
    {8, "装修"}, {11, "图片"}, {10, "钥匙"}, {22, "跟进"}, {23, "关键字"}, {25, "面积"}, {26, "总价"},
    {27, "楼层"}, {28, "录入时间"}, {9, "朝向"}, {13, "交通"}, {14, "看房时间"}, {18, "来源"}, {19, "标签"},
    {20, "状态"}, {21, "权限"}, {35, "单价"}, {29, "更新时间"}, {30, "跟进时间"}, {31, "产权"}, {32, "产证"},
    {33, "车库"}, {34, "学区"}, {86, "录入人"}, {76, "已协作"}, {77, "未协作"}, {92, "维护人"},
};
const ChoiceRow kRentSearchDefault[] = {
    {1, "小区"}, {83, "区域/片区"}, {3, "楼栋号"}, {4, "编号"}, {5, "电话"}, {6, "类型"}, {7, "户型"},
    {8, "装修"}, {11, "图片"}, {10, "钥匙"}, {16, "租房方式"}, {23, "关键字"}, {36, "租金"}, {25, "面积"},
    {27, "楼层"}, {28, "录入时间"}, {22, "跟进"}, {9, "朝向"}, {12, "配套"}, {13, "交通"}, {14, "看房时间"},
    {15, "入住时间"}, {17, "付款方式"}, {38, "标签"}, {18, "来源"}, {21, "权限"}, {37, "状态"},
    {29, "更新时间"}, {30, "跟进时间"}, {86, "录入人"}, {92, "维护人"},
};
const ChoiceRow kSaleShowDefault[] = {
    {1, "编号"}, {2, "区域"}, {3, "小区"}, {4, "楼栋号"}, {5, "户型"}, {6, "面积"}, {7, "装修"},
    {26, "总价"}, {32, "单价"}, {22, "录入人"}, {23, "录入时间"}, {18, "跟进"}, {21, "备注"}, {9, "交通"},
    {10, "看房时间"}, {15, "钥匙"}, {16, "朝向"}, {17, "状态"}, {19, "来源"}, {24, "更新时间"},
    {25, "跟进时间"}, {28, "产证"}, {27, "产权"}, {29, "车库"}, {30, "学区"}, {31, "权限"}, {35, "楼层"},
    {36, "标签"}, {61, "团队协作"}, {62, "类型"},
};
const ChoiceRow kRentShowDefault[] = {
    {1, "编号"}, {2, "区域"}, {3, "小区"}, {4, "楼栋号"}, {5, "户型"}, {6, "面积"}, {7, "装修"},
    {11, "租房方式"}, {13, "租金"}, {22, "录入人"}, {23, "录入时间"}, {8, "配套"}, {9, "交通"},
    {10, "看房时间"}, {12, "付款方式"}, {14, "入住时间"}, {21, "备注"}, {15, "钥匙"}, {16, "朝向"},
    {17, "状态"}, {18, "跟进"}, {19, "来源"}, {24, "更新时间"}, {25, "跟进时间"}, {35, "楼层"}, {36, "标签"},
    {61, "团队协作"}, {31, "权限"}, {62, "类型"},
};
const ChoiceRow kSaleContractShowDefault[] = {
    {36, "标签"}, {37, "合同编号"}, {38, "状态"}, {61, "团队协作"}, {40, "小区名称"}, {41, "面积"},
    {43, "价格"}, {46, "签约门店"}, {47, "签约人"}, {44, "付款方式"}, {45, "中介费"}, {48, "签约时间"},
    {23, "录入时间"}, {66, "办理进度"},
};
const ChoiceRow kRentContractShowDefault[] = {
    {36, "标签"}, {37, "合同编号"}, {38, "状态"}, {39, "房源人"}, {40, "小区名称"}, {41, "面积"},
    {42, "租金"}, {44, "付款方式"}, {45, "中介费"}, {46, "签约门店"}, {47, "签约人"}, {48, "签约时间"},
    {64, "到期时间"}, {61, "团队协作"}, {23, "录入时间"},
};
const ChoiceRow kCustomerShowDefault[] = {
    {49, "编号"}, {50, "客户姓名"}, {51, "客户要求"}, {52, "客配房"}, {53, "带看记录"}, {54, "带看状态"},
    {55, "跟进记录"}, {56, "跟进时间"}, {57, "提交时间"}, {58, "标签"}, {60, "付款方式"}, {59, "所属人"},
    {63, "状态"}, {64, "到期时间"}, {22, "录入人"}, {65, "客户带看"},
};

// Ids a fresh settings row stores for its four choice columns.
const int kRentSearchCreation[] = {1,  83, 3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
                                   16, 17, 18, 38, 37, 21, 22, 23, 24, 25, 36, 27, 28, 29, 30};
const int kRentShowCreation[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 36};
const int kSaleSearchCreation[] = {1,  83, 3,  4,  5,  6,  7,  8,  9,  31, 32, 10, 33, 11, 34, 13,
                                   14, 18, 19, 20, 21, 22, 23, 24, 25, 26, 35, 27, 28, 29, 30};
const int kSaleShowCreation[] = {1,  2,  3,  4,  5,  6,  7,  32, 26, 27, 28, 20, 16, 15,
                                 29, 30, 9,  10, 19, 17, 31, 18, 21, 22, 23, 24, 25, 36};

const QString kTabsJson = QStringLiteral(
    "[{\"id\":4,\"title\":\"出售房源\",\"choose\":true},{\"id\":3,\"title\":\"出租房源\",\"choose\":true},"
    "{\"id\":2,\"title\":\"我的出售\",\"choose\":true},{\"id\":1,\"title\":\"我的出租\",\"choose\":true}]");

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

bool isRange(int type)
{
    return type == NumberRange || type == DateRange;
}

// Text and community fields prompt with their title; a community field adds its lookup
// mode (0: the book's own communities).
QString ownPlaceholder(const SearchFieldRow &row)
{
    if (row.type == Community)
        return u8(row.title) + QStringLiteral(",0");
    return u8(row.title);
}

QVariantMap searchFieldEntry(const SearchFieldRow &row)
{
    return {{QStringLiteral("id"), row.id},
            {QStringLiteral("title"), u8(row.title)},
            {QStringLiteral("choose"), row.choose},
            {QStringLiteral("type"), row.type},
            {QStringLiteral("maxW"), isRange(row.type) ? 165 : 240},
            {QStringLiteral("SingleLine"), isRange(row.type)},
            {QStringLiteral("placeholder"), row.placeholder ? u8(row.placeholder) : ownPlaceholder(row)},
            {QStringLiteral("content"), QString()}};
}

QVariantMap listColumnEntry(const ListColumnRow &row)
{
    QVariantMap entry{{QStringLiteral("id"), row.id},
                      {QStringLiteral("title"), u8(row.title)},
                      {QStringLiteral("choose"), row.choose},
                      {QStringLiteral("sort"), row.sort},
                      {QStringLiteral("rate"), row.rate},
                      {QStringLiteral("attach"), false},
                      {QStringLiteral("key"), u8(row.key)}};
    if (row.fixed > 0)
        entry.insert(QStringLiteral("fixed"), row.fixed);
    if (row.id == kVerificationColumnId)
        entry.insert(QStringLiteral("default_choose"), true);
    return entry;
}

QString jsonOf(const QList<QVariantMap> &list)
{
    QVariantList plain;
    for (const QVariantMap &m : list)
        plain << m;
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromVariantList(plain)).toJson(QJsonDocument::Compact));
}

QVariantMap findById(const QList<QVariantMap> &list, int id)
{
    for (const QVariantMap &entry : list) {
        if (WholeNumber::toInt(entry.value(QStringLiteral("id"))) == id)
            return entry;
    }
    return QVariantMap();
}

QVariantMap choiceEntry(int id, const QString &title, bool choose)
{
    return {{QStringLiteral("choose"), choose}, {QStringLiteral("id"), id}, {QStringLiteral("title"), title}};
}

bool isSearchList(ChoiceList which)
{
    return which == SaleSearch || which == RentSearch;
}

// An entry of a default list: the catalogue says whether it is shown; an id the catalogue
// does not describe is shown, as the list names it explicitly.
template<int N>
QList<QVariantMap> choicesFrom(const ChoiceRow (&rows)[N], const QList<QVariantMap> &catalogue)
{
    QList<QVariantMap> list;
    for (const ChoiceRow &row : rows) {
        const QVariantMap known = findById(catalogue, row.id);
        const bool choose = known.isEmpty() || known.value(QStringLiteral("choose")).toBool();
        list << choiceEntry(row.id, u8(row.title), choose);
    }
    return list;
}

// An entry of a fresh row: taken from the catalogue, else from the default list; an id
// neither describes (search field 24) is left out rather than stored without a title.
template<int N>
QList<QVariantMap> creationFrom(const int (&ids)[N], const QList<QVariantMap> &catalogue,
                                const QList<QVariantMap> &defaults)
{
    QList<QVariantMap> list;
    for (int id : ids) {
        QVariantMap source = findById(catalogue, id);
        if (source.isEmpty())
            source = findById(defaults, id);
        if (source.isEmpty())
            continue;
        list << choiceEntry(id, source.value(QStringLiteral("title")).toString(),
                            source.value(QStringLiteral("choose")).toBool());
    }
    return list;
}

} // namespace

QList<QVariantMap> searchFields()
{
    QList<QVariantMap> list;
    for (const SearchFieldRow &row : kSearchFields)
        list << searchFieldEntry(row);
    return list;
}

QList<QVariantMap> listColumns()
{
    QList<QVariantMap> list;
    for (const ListColumnRow &row : kListColumns)
        list << listColumnEntry(row);
    return list;
}

QString searchFieldsJson()
{
    return jsonOf(searchFields());
}

QString listColumnsJson()
{
    return jsonOf(listColumns());
}

QList<QVariantMap> defaultChoices(ChoiceList which)
{
    const QList<QVariantMap> catalogue = isSearchList(which) ? searchFields() : listColumns();
    switch (which) {
    case SaleSearch: return choicesFrom(kSaleSearchDefault, catalogue);
    case RentSearch: return choicesFrom(kRentSearchDefault, catalogue);
    case SaleShow: return choicesFrom(kSaleShowDefault, catalogue);
    case RentShow: return choicesFrom(kRentShowDefault, catalogue);
    case SaleContractShow: return choicesFrom(kSaleContractShowDefault, catalogue);
    case RentContractShow: return choicesFrom(kRentContractShowDefault, catalogue);
    case CustomerShow: return choicesFrom(kCustomerShowDefault, catalogue);
    }
    return QList<QVariantMap>();
}

QList<QVariantMap> creationChoices(ChoiceList which)
{
    const QList<QVariantMap> catalogue = isSearchList(which) ? searchFields() : listColumns();
    const QList<QVariantMap> defaults = defaultChoices(which);
    switch (which) {
    case SaleSearch: return creationFrom(kSaleSearchCreation, catalogue, defaults);
    case RentSearch: return creationFrom(kRentSearchCreation, catalogue, defaults);
    case SaleShow: return creationFrom(kSaleShowCreation, catalogue, defaults);
    case RentShow: return creationFrom(kRentShowCreation, catalogue, defaults);
    default: return defaults;
    }
}

QString defaultTabsJson()
{
    return kTabsJson;
}

QStringList fixedStates(bool sale)
{
    if (sale)
        return {u8("无效"), u8("已售"), u8("成交"), u8("已定"), u8("电话无效"), u8("暂不售")};
    return {u8("无效"), u8("已租"), u8("成交"), u8("已定"), u8("电话无效"), u8("暂不租")};
}

} // namespace HouseBookCatalogue
