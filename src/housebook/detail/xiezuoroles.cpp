#include "detail/xiezuoroles.h"

#include "datacenter.h"

namespace XieZuoRoles {

namespace {

// Icon paths: %1 is "_my" when the holder is the signed-in user.
struct RoleForm
{
    const char *field;
    const char *caption;  // "录入人" in "录入人：%1"
    const char *nobody;
    const char *assignedIcon;
    const char *pendingIcon;
    const char *nobodyIcon;
};

const RoleForm kRoles[] = {
    {"lururen", "录入人", "待录入", ":/res/xiezuo%1_add.png", ":/res/xiezuo%1_add_review.png",
     ":/res/xiezuo_add_null.png"},
    {"weihuren", "维护人", "待维护", ":/res/xiezuo%1_modify.png", ":/res/xiezuo%1_modify_review.png",
     ":/res/xiezuo_modify_null.png"},
    {"weituoren", "委托人", "待委托", ":/res/xiezuo%1_weituo.png", ":/res/xiezuo%1_weituo_review.png",
     ":/res/xiezuo_weituo_null.png"},
    {"shikanren", "实勘人", "待实勘", ":/res/xiezuo%1_shikan.png", ":/res/xiezuo%1_shikan_review.png",
     ":/res/xiezuo_shikan_null.png"},
    {"yaoshiren", "钥匙人", "待钥匙", ":/res/xiezuo%1_key.png", ":/res/xiezuo%1_key_review.png",
     ":/res/xiezuo_key_null.png"},
    {"dujiaren", "独家代理人", "待独家代理", ":/res/xiezuo%1_dujia.png", ":/res/xiezuo%1_dujia_review.png",
     ":/res/xiezuo_dujia_null.png"},
    {"chengjiaoren", "成交人", "待成交", ":/res/xiezuo%1_complete.png", ":/res/xiezuo%1_complete_review.png",
     ":/res/xiezuo_complete_null.png"},
};

bool isRole(int role)
{
    return role >= 0 && role < RoleCount;
}

// The commission role of a verified listing.
QString verifiedIcon(const Holder &holder)
{
    if (isMine(holder))
        return holder.review ? QStringLiteral(":/res/xiezuo_weituo_heyan_my.png")
                             : QStringLiteral(":/res/xiezuo_weituo_heyan_my_review.png");
    return holder.review ? QStringLiteral(":/res/xiezuo_weituo_heyan.png")
                         : QStringLiteral(":/res/xiezuo_weituo_heyan_review.png");
}

} // namespace

QString field(int role)
{
    return isRole(role) ? QString::fromLatin1(kRoles[role].field) : QString();
}

bool isAssigned(const Holder &holder)
{
    return !holder.name.isEmpty() || !holder.phone.isEmpty();
}

bool isMine(const Holder &holder)
{
    return !holder.phone.isEmpty() && holder.phone == DataCenter::UserPhoneNumber;
}

QString text(int role, const Holder &holder)
{
    if (!isRole(role))
        return QString();
    const RoleForm &form = kRoles[role];
    if (!isAssigned(holder))
        return QString::fromUtf8(form.nobody);
    const QString who = holder.name.isEmpty() ? holder.phone : holder.name;
    const QString pattern = holder.review ? QStringLiteral("%1：%2") : QStringLiteral("%1：%2（待审核）");
    return pattern.arg(QString::fromUtf8(form.caption), who);
}

QString icon(int role, const Holder &holder, bool verified)
{
    if (!isRole(role))
        return QString();
    const RoleForm &form = kRoles[role];
    if (!isAssigned(holder))
        return QString::fromLatin1(form.nobodyIcon);
    if (role == WeiTuoRen && verified)
        return verifiedIcon(holder);
    const QString pattern = QString::fromLatin1(holder.review ? form.assignedIcon : form.pendingIcon);
    return pattern.arg(isMine(holder) ? QStringLiteral("_my") : QString());
}

QList<Holder> holdersOf(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    return {record.lururen,   record.weihuren, record.weituoren,   record.shikanren,
            record.yaoshiren, record.dujiaren, record.chengjiaoren};
}

} // namespace XieZuoRoles
