#include "housebookxiezuoitemview.h"

#include "datacenter.h"
#include "list/houserowtexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>

namespace {

const int kPillHeight = 26;
const int kIconSide = 20;

// Icon paths: %1 is "_my" when the holder is the signed-in user.
struct RoleText
{
    const char *field;
    const char *caption;  // "录入人" in "录入人：%1"
    const char *nobody;
    const char *assignedIcon;
    const char *pendingIcon;
    const char *nobodyIcon;
};

const RoleText kRoles[] = {
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

bool isAssigned(const HouseBookXieZuoItemView::Holder &holder)
{
    return !holder.name.isEmpty() || !holder.phone.isEmpty();
}

bool isMine(const HouseBookXieZuoItemView::Holder &holder)
{
    return !holder.phone.isEmpty() && holder.phone == DataCenter::UserPhoneNumber;
}

// The entrusting role of a listing with a verification code has icons of its own.
QString verificationIcon(const HouseBookXieZuoItemView::Holder &holder)
{
    if (isMine(holder))
        return holder.review ? QStringLiteral(":/res/xiezuo_weituo_heyan_my.png")
                             : QStringLiteral(":/res/xiezuo_weituo_heyan_my_review.png");
    return holder.review ? QStringLiteral(":/res/xiezuo_weituo_heyan.png")
                         : QStringLiteral(":/res/xiezuo_weituo_heyan_review.png");
}

} // namespace

HouseBookXieZuoItemView::HouseBookXieZuoItemView(int row, QWidget *parent, bool deferBuild)
    : HoverTableCell(row, parent)
{
    for (int role = 0; role < RoleCount; ++role)
        m_holders << Holder();
    if (!deferBuild)
        ensureBuilt();
}

void HouseBookXieZuoItemView::ensureBuilt()
{
    if (m_stack)
        return;
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 0);
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("stackedWidget"));
    m_stack->setFixedHeight(kPillHeight);
    // The pill; its content stays transparent whatever colours the row gives the cell.
    m_stack->setStyleSheet(QStringLiteral("#stackedWidget{background-color:white;border:1px solid rgb(212,212,212);"
                                          "border-radius:13px;}"
                                          "#stackedWidget QWidget{background-color:transparent;}"
                                          "#stackedWidget QLabel{font-size:12px;font-family:微软雅黑;}"));
    m_stack->addWidget(createIconsPage());
    m_stack->addWidget(createTipPage());
    m_stack->setCurrentIndex(m_supported ? 0 : 1);
    layout->addWidget(m_stack);
    applyRoles();
    applyProgress();
}

QWidget *HouseBookXieZuoItemView::createIconsPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("page_xiezuo"));
    auto *layout = new QHBoxLayout(page);
    layout->setContentsMargins(8, 0, 8, 0);
    layout->setSpacing(3);
    for (int role = 0; role < RoleCount; ++role) {
        auto *icon = new QLabel(page);
        icon->setObjectName(QStringLiteral("label_") + roleField(role));
        icon->setFixedSize(kIconSide, kIconSide);
        layout->addWidget(icon);
        m_icons << icon;
    }
    m_progressLabel = new QLabel(page);
    m_progressLabel->setObjectName(QStringLiteral("label_jindu"));
    m_progressLabel->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_progressLabel, 1);
    return page;
}

QLabel *HouseBookXieZuoItemView::createTipPage()
{
    auto *tip = new QLabel(QStringLiteral("不支持团队协作"));
    tip->setObjectName(QStringLiteral("label_notSupport"));
    tip->setAlignment(Qt::AlignCenter);
    return tip;
}

void HouseBookXieZuoItemView::setData(const Record &listing)
{
    setRoles({listing.lururen, listing.weihuren, listing.weituoren, listing.shikanren, listing.yaoshiren,
              listing.dujiaren, listing.chengjiaoren},
             !listing.heyanCode.isEmpty());
    setProgress(listing.jindu);
    setSupported(HouseRowTexts::takesPartInXieZuo(listing));
}

void HouseBookXieZuoItemView::setRoles(const QList<Holder> &holders, bool hasVerificationCode)
{
    for (int role = 0; role < RoleCount; ++role)
        m_holders[role] = holders.value(role);
    m_verification = hasVerificationCode;
    if (m_stack)
        applyRoles();
}

void HouseBookXieZuoItemView::setProgress(int jindu)
{
    m_progress = jindu;
    if (m_stack)
        applyProgress();
}

void HouseBookXieZuoItemView::setSupported(bool supported)
{
    m_supported = supported;
    if (m_stack)
        m_stack->setCurrentIndex(supported ? 0 : 1);
}

QString HouseBookXieZuoItemView::progressText() const
{
    return QStringLiteral("%1%").arg(m_progress < 0 ? 100 : m_progress);
}

QString HouseBookXieZuoItemView::roleIcon(int role) const
{
    return iconFor(role, m_holders.value(role), m_verification);
}

QString HouseBookXieZuoItemView::roleToolTip(int role) const
{
    return toolTipFor(role, m_holders.value(role));
}

QLabel *HouseBookXieZuoItemView::roleLabel(int role)
{
    ensureBuilt();
    return m_icons.value(role);
}

QString HouseBookXieZuoItemView::roleField(int role)
{
    return role >= 0 && role < RoleCount ? QString::fromLatin1(kRoles[role].field) : QString();
}

QString HouseBookXieZuoItemView::iconFor(int role, const Holder &holder, bool hasVerificationCode)
{
    if (role < 0 || role >= RoleCount)
        return QString();
    const RoleText &text = kRoles[role];
    if (!isAssigned(holder))
        return QString::fromLatin1(text.nobodyIcon);
    if (role == WeiTuoRen && hasVerificationCode)
        return verificationIcon(holder);
    const QString pattern = QString::fromLatin1(holder.review ? text.assignedIcon : text.pendingIcon);
    return pattern.arg(isMine(holder) ? QStringLiteral("_my") : QString());
}

QString HouseBookXieZuoItemView::toolTipFor(int role, const Holder &holder)
{
    if (role < 0 || role >= RoleCount)
        return QString();
    const RoleText &text = kRoles[role];
    if (!isAssigned(holder))
        return QString::fromUtf8(text.nobody);
    const QString who = holder.name.isEmpty() ? holder.phone : holder.name;
    const QString pattern = holder.review ? QStringLiteral("%1：%2") : QStringLiteral("%1：%2（待审核）");
    return pattern.arg(QString::fromUtf8(text.caption), who);
}

// The style sheet is parsed only when an icon really changes.
void HouseBookXieZuoItemView::applyRoles()
{
    for (int role = 0; role < RoleCount; ++role) {
        QLabel *icon = m_icons.at(role);
        const QString path = roleIcon(role);
        if (icon->property("icon").toString() != path) {
            icon->setProperty("icon", path);
            icon->setStyleSheet(QStringLiteral("border-image:url(%1);").arg(path));
        }
        icon->setToolTip(roleToolTip(role));
    }
}

void HouseBookXieZuoItemView::applyProgress()
{
    m_progressLabel->setText(progressText());
}
