#include "separation/seperatedetailcontent.h"

using namespace HouseBookSeperateList_Model;

namespace SeperateDetailContent {

namespace {

QString line(const char *format, const QString &value)
{
    return QString::fromUtf8(format).arg(value.trimmed().isEmpty() ? QStringLiteral("暂无") : value);
}

QString either(const QString &first, const QString &fallback)
{
    return first.isEmpty() ? fallback : first;
}

QString contractTitle(int type)
{
    switch (type) {
    case WeiTuo: return QStringLiteral("委托合同");
    case DuJia: return QStringLiteral("独家代理合同");
    case ChengJiao: return QStringLiteral("成交合同");
    default: return QStringLiteral("合同");
    }
}

} // namespace

QString stateText(int state, bool inOfficeApproval)
{
    switch (state) {
    case Waiting: return inOfficeApproval ? QStringLiteral("等待OA审核") : QStringLiteral("等待审核");
    case Approved: return QStringLiteral("审核通过");
    case Refused: return QStringLiteral("审核拒绝");
    default: return QString();
    }
}

QStringList lines(const HouseBookSeperateDetail_Model::Data &detail, const ItemData &row)
{
    const auto &info = detail.detailinfo;
    const bool office = row.inOfficeApproval() || (!info.sp_id.isEmpty() && info.sp_id != QLatin1String("0"));
    QStringList out{line("时间：%1", detail.time), line("当前状态：%1", stateText(detail.state, office))};
    if (row.type == WeiTuo) {
        out << line("核验码：%1", either(info.heyancode, row.detailinfo.heyancode))
            << line("委托码：%1", either(info.weituocode, row.detailinfo.weituocode))
            << line("核验人：%1", info.heyanren);
    } else if (row.type == YaoShi) {
        out << line("钥匙编号：%1", info.keycode) << line("收钥日期：%1", info.shoudate)
            << line("钥匙所在部门：%1", info.deptName);
    } else if (row.type == DuJia) {
        out << line("代理截止日期：%1", detail.endtime);
    }
    out << line("备注：%1", detail.remark);
    return out;
}

QList<PhotoGroup> photoGroups(const HouseBookSeperateDetail_Model::Data &detail, int type)
{
    const QList<QPair<QString, QString>> order{
        {QStringLiteral("contract"), contractTitle(type)},
        {QStringLiteral("fangchanzheng"), QStringLiteral("房产证")},
        {QStringLiteral("housecernum"), QStringLiteral("房产证")},
        {QStringLiteral("shenfenzheng_zhenmian"), QStringLiteral("身份证正面")},
        {QStringLiteral("shenfenzheng_fanmian"), QStringLiteral("身份证反面")},
        {QStringLiteral("hostcernum"), QStringLiteral("身份证")},
        {QStringLiteral("weituoshu"), QStringLiteral("委托书")},
        {QStringLiteral("other"), QStringLiteral("其他")},
    };
    QList<PhotoGroup> groups;
    for (const auto &entry : order) {
        const QStringList urls = detail.picturecontent.value(entry.first);
        if (!urls.isEmpty())
            groups << PhotoGroup{entry.first, entry.second, urls};
    }
    return groups;
}

bool hasContract(const HouseBookSeperateDetail_Model::Data &detail)
{
    const auto chosen = [](const QString &value) { return !value.isEmpty() && value != QLatin1String("0"); };
    return chosen(detail.contractNo) || chosen(detail.contractid);
}

bool keepsElectronicContracts(int type)
{
    return type == WeiTuo || type == DuJia || type == ChengJiao;
}

} // namespace SeperateDetailContent
