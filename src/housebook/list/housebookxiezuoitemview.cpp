#include "housebookxiezuoitemview.h"

#include "detail/xiezuoroles.h"
#include "list/houserowtexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStackedWidget>

namespace {

const int kPillHeight = 26;
const int kIconSide = 20;

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
    setRoles(XieZuoRoles::holdersOf(listing), !listing.heyanCode.isEmpty());
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
    return XieZuoRoles::field(role);
}

QString HouseBookXieZuoItemView::iconFor(int role, const Holder &holder, bool hasVerificationCode)
{
    return XieZuoRoles::icon(role, holder, hasVerificationCode);
}

QString HouseBookXieZuoItemView::toolTipFor(int role, const Holder &holder)
{
    return XieZuoRoles::text(role, holder);
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
