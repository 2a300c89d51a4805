#include "detail/describe/describefacts.h"

#include <QJsonValue>

namespace DescribeFacts {

namespace {

const QStringList kYesNo{QStringLiteral("是"), QStringLiteral("否")};

Fact number(const char *key, const QString &label, const QString &hint, const QString &unit)
{
    return {QLatin1String(key), label, Number, {}, hint, unit};
}

Fact choice(const char *key, const QString &label, const QStringList &choices, Input input = Choice)
{
    return {QLatin1String(key), label, input, choices, QString(), QString()};
}

Fact text(const char *key, const QString &label, Input input, const QString &hint)
{
    return {QLatin1String(key), label, input, {}, hint, QString()};
}

QList<Fact> buildFacts()
{
    return {
        number("taoneimianji", QStringLiteral("套内面积：%1"), QStringLiteral("请输入套内面积"), QStringLiteral("㎡")),
        choice("dianti", QStringLiteral("电梯：%1"), kYesNo),
        choice("jianzhuxingshi", QStringLiteral("建筑形式：%1"), {QStringLiteral("板楼"), QStringLiteral("塔楼"), QStringLiteral("板塔结合")}),
        choice("heating", QStringLiteral("供暖情况：%1"), {QStringLiteral("集体供暖"), QStringLiteral("自供暖"), QStringLiteral("不供暖")}),
        choice("chanquannianxian", QStringLiteral("产权年限：%1"), {QStringLiteral("70年"), QStringLiteral("50年"), QStringLiteral("40年")}),
        choice("chanquanleixing", QStringLiteral("产权类型：%1"),
               {QStringLiteral("商品房"), QStringLiteral("商住两用"), QStringLiteral("经济适用房"), QStringLiteral("使用权"),
                QStringLiteral("公房"), QStringLiteral("其他")}),
        choice("fushuxinxi", QStringLiteral("附属信息：%1"),
               {QStringLiteral("飘窗"), QStringLiteral("地下室"), QStringLiteral("露台"), QStringLiteral("天井"),
                QStringLiteral("带花园"), QStringLiteral("带阁楼"), QStringLiteral("自带权属车位")},
               Several),
        choice("weiyizhufang", QStringLiteral("唯一住房：%1"), kYesNo),
        choice("isyishoufang", QStringLiteral("是否新房：%1"), kYesNo),
        // How long the owner has held the certificate: what the taxes of a sale depend on.
        choice("fangbennianxian", QStringLiteral("房本年限：%1"),
               {QStringLiteral("不满两年"), QStringLiteral("满两年"), QStringLiteral("满五年")}),
        text("certificateRegisterTime", QStringLiteral("房产证登记时间：%1"), Date, QStringLiteral("选择日期")),
        text("certificateNo", QStringLiteral("房产证编号：%1"), Line, QStringLiteral("请输入房产证编号")),
        text("onSaleTime", QStringLiteral("挂盘时间：%1"), Date, QStringLiteral("选择日期")),
        choice("depreciateMark", QStringLiteral("笋盘：%1"), kYesNo),
        number("shoufu", QStringLiteral("首付：%1万"), QStringLiteral("请输入首付"), QStringLiteral("万元")),
        number("yongjin", QStringLiteral("佣金比例：%1"), QStringLiteral("请输入佣金比例(0.5~3.0)"), QStringLiteral("%")),
        choice("fuwuleixing", QStringLiteral("服务类型：%1"), {QStringLiteral("有钥匙"), QStringLiteral("免费保洁")}, Several),
        choice("showingTime", QStringLiteral("看房时间：%1"),
               {QStringLiteral("任意时间"), QStringLiteral("白天"), QStringLiteral("晚上"), QStringLiteral("周末")}),
        text("describes", QStringLiteral("房源详情：%1"), Long, QStringLiteral("请输入房源详情介绍(20~300字内)")),
        text("yezhuxintai", QStringLiteral("业主心态：%1"), Long, QStringLiteral("请输入业主心态(20~300字内)")),
        text("fuwujieshao", QStringLiteral("服务介绍：%1"), Long, QStringLiteral("请输入服务介绍(20~300字内)")),
    };
}

double numberOf(const QString &text, bool *set)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    *set = ok && !isUnsetNumber(text);
    return value;
}

QString rangeProblem(const Check &c, const char *key, const QString &message)
{
    const int length = c.values.value(QLatin1String(key)).trimmed().size();
    return length > 0 && (length < 20 || length > 300) ? message : QString();
}

} // namespace

const QList<Fact> &facts()
{
    static const QList<Fact> table = buildFacts();
    return table;
}

const Fact *fact(const QString &key)
{
    for (const Fact &f : facts())
        if (f.key == key)
            return &f;
    return nullptr;
}

bool isUnsetNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return text.trimmed().isEmpty() || (ok && value == -1);
}

QString labelText(const Fact &fact, const QString &value)
{
    if (value.trimmed().isEmpty() || (fact.input == Number && isUnsetNumber(value)))
        return fact.label.left(fact.label.indexOf(QLatin1String("%1")));
    return fact.label.arg(value);
}

QString valueOf(const QJsonObject &detail, const QString &key)
{
    const QJsonValue v = detail.value(key);
    if (v.isDouble())
        return v.toDouble() == -1 ? QString() : QString::number(v.toDouble(), 'g', 12);
    const QString text = v.isString() ? v.toString() : QString();
    return text.trimmed() == QLatin1String("-1") ? QString() : text;
}

QString firstProblem(const Check &c)
{
    bool set = false;
    const double area = numberOf(c.values.value(QStringLiteral("taoneimianji")), &set);
    if (set && (area < 10 || area > 5000))
        return QStringLiteral("套内面积填写范围在10~5000以内");
    const double commission = numberOf(c.values.value(QStringLiteral("yongjin")), &set);
    const bool freeAllowed = c.portalMode == 1 && commission == 0;
    if (set && !freeAllowed && (commission < 0.5 || commission > 3.0))
        return QStringLiteral("房屋佣金应保持在0.5-3.0之间");
    const QString title = c.values.value(QStringLiteral("title")).trimmed();
    if (title.isEmpty())
        return QStringLiteral("请填写房源标题！");
    if (title.size() < 10)
        return QStringLiteral("房源标题不能少于10个字符！");
    if (title.size() > 30)
        return QStringLiteral("房源标题不能大于30个字符！");
    for (const QString &problem : {rangeProblem(c, "describes", QStringLiteral("房源详情应该保持在20-300字以内")),
                                   rangeProblem(c, "yezhuxintai", QStringLiteral("业主心态应该保持在20-300字以内")),
                                   rangeProblem(c, "fuwujieshao", QStringLiteral("服务介绍应该保持在20-300字以内"))})
        if (!problem.isEmpty())
            return problem;
    if (c.tagCount > kMaxTags)
        return QStringLiteral("房源标签最多添加6个");
    if (c.portalCommunityRequired && c.portalCommunity.trimmed().isEmpty())
        return QStringLiteral("请选择58小区");
    return QString();
}

} // namespace DescribeFacts
