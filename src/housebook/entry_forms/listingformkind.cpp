#include "entry_forms/listingformkind.h"

// Choice lists the forms fix themselves. Decoration, certificate, house type, property
// right and payment come from the book's stored reference data when it has them ("zhuangxiu",
// "fangchan", "housetype", "property2", "payway"); the lists below stand in until it does.
// Whatever the agent picks is posted as shown.
namespace ListingChoices {

QStringList orientations()
{
    return {"其他", "东", "南", "西", "北", "东西", "南北", "南南", "东南", "东北", "西南", "西北"};
}

QStringList seeTimes() { return {"随时", "有钥匙", "预约"}; }

QStringList sources()
{
    return {"其他", "来电", "来访", "中介", "朋友", "扫街", "网络", "独家", "传单", "导入", "委托", "托管"};
}

QStringList decorations() { return {"毛坯", "简单装修", "中等装修", "精装修", "豪华装修"}; }

QStringList rentUnits() { return {"元/月", "元/天", "元/周", "元/季度", "元/半年", "元/年", "元/平*天", "元/平*月"}; }

QStringList facilities()
{
    return {"水", "有线电视", "空调", "暖气", "电梯", "家具", "物业管理", "电", "冰箱", "微波炉", "宽带",
            "储藏/地下室", "露台/花园", "商务中心", "煤气/天然气", "洗衣机", "热水器", "电话", "灶具",
            "停车位", "健身设备"};
}

// The owner's grade as agents rate it; A to D also decide whether a phone stays protected.
QStringList contactGrades() { return {"A", "B", "C", "D"}; }

QStringList buildingNumbersWithoutStructure()
{
    QStringList units;
    for (int i = 0; i <= 20; ++i)
        units << QStringLiteral("%1单元").arg(i);
    return units;
}

QString currentDecoration(const QString &stored)
{
    if (stored == QStringLiteral("简装"))
        return QStringLiteral("简单装修");
    if (stored == QStringLiteral("中装"))
        return QStringLiteral("中等装修");
    if (stored == QStringLiteral("豪装"))
        return QStringLiteral("豪华装修");
    if (stored == QStringLiteral("精装"))
        return QStringLiteral("精装修");
    return stored;
}

QString currentHouseType(const QString &stored)
{
    return stored == QStringLiteral("住宅") ? QStringLiteral("普通住宅") : stored;
}

} // namespace ListingChoices

namespace {

QStringList certificates() { return {"满五年", "满两年", "不满两年", "未办证"}; }
QStringList houseTypes() { return {"普通住宅", "公寓", "别墅", "商住", "商铺", "写字楼", "厂房", "车位"}; }
QStringList propertyRights() { return {"商品房", "房改房", "经济适用房", "安置房", "自建房"}; }
QStringList payWays() { return {"押一付三", "押一付一", "押二付三", "半年付", "年付"}; }

ChoiceFieldRow decoration()
{
    return {QStringLiteral("comboBox_zhuangXiu"), QStringLiteral("装修"), QStringLiteral("zhuangxiu"),
            ListingChoices::decorations(), true};
}

ChoiceFieldRow houseType()
{
    return {QStringLiteral("comboBox_houseType"), QStringLiteral("房屋类型   "), QStringLiteral("housetype"),
            houseTypes()};
}

QList<ChoiceFieldRow> commonTail()
{
    return {{QStringLiteral("comboBox_Orientate"), QStringLiteral("朝向   "), QString(), ListingChoices::orientations()},
            {QStringLiteral("comboBox_seeTime"), QStringLiteral("看房时间   "), QString(), ListingChoices::seeTimes()},
            {QStringLiteral("comboBox_source"), QStringLiteral("来源   "), QString(), ListingChoices::sources()}};
}

ListingFormKind makeSale()
{
    ListingFormKind kind;
    kind.typesCode = QStringLiteral("0");
    kind.priceLabel = QStringLiteral("总价");
    kind.pricePlaceholder = QStringLiteral("请输入总价");
    kind.priceUnit = QStringLiteral("万");
    kind.tagTitle = QStringLiteral("选择售房标签");
    kind.tagColumn = QStringLiteral("saletag");
    kind.hasUnitPrice = true;
    kind.hasGarage = true;
    kind.choiceFields = {decoration(),
                         {QStringLiteral("comboBox_ChanZhen"), QStringLiteral("房产证   "), QStringLiteral("fangchan"),
                          certificates()},
                         houseType(),
                         {QStringLiteral("comboBox_chanQuan"), QStringLiteral("产权   "), QStringLiteral("property2"),
                          propertyRights()}};
    kind.choiceFields << commonTail();
    return kind;
}

ListingFormKind makeRent()
{
    ListingFormKind kind;
    kind.rent = true;
    kind.typesCode = QStringLiteral("1");
    kind.priceLabel = QStringLiteral("租金");
    kind.pricePlaceholder = QStringLiteral("请输入价格");
    kind.tagTitle = QStringLiteral("选择租房标签");
    kind.tagColumn = QStringLiteral("renttag");
    kind.hasFacilities = true;
    kind.choiceFields = {decoration(), houseType(),
                         {QStringLiteral("comboBox_payWay"), QStringLiteral("付款方式   "), QStringLiteral("payway"),
                          payWays()},
                         {QStringLiteral("comboBox_rentWay"), QStringLiteral("租房方式   "), QString(),
                          {QStringLiteral("整租"), QStringLiteral("合租")}},
                         {QStringLiteral("comboBox_ruZhuTime"), QStringLiteral("入住时间   "), QString(),
                          {"随时", "一周内", "两周内", "三周内", "一月内", "两月内", "三月内"}}};
    kind.choiceFields << commonTail();
    return kind;
}

} // namespace

const ListingFormKind &ListingFormKind::sale()
{
    static const ListingFormKind kind = makeSale();
    return kind;
}

const ListingFormKind &ListingFormKind::rentKind()
{
    static const ListingFormKind kind = makeRent();
    return kind;
}
