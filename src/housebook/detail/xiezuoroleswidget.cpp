#include "detail/xiezuoroleswidget.h"

#include <QGridLayout>
#include <QLabel>

XieZuoRolesWidget::XieZuoRolesWidget(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setHorizontalSpacing(6);
    for (int role = 0; role < XieZuoRoles::RoleCount; ++role) {
        auto *icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("label_icon_") + XieZuoRoles::field(role));
        icon->setFixedSize(20, 20);
        icon->setScaledContents(true);
        auto *text = new QLabel(this);
        text->setObjectName(QStringLiteral("label_") + XieZuoRoles::field(role));
        const int row = role / 4;
        const int column = (role % 4) * 2;
        layout->addWidget(icon, row, column);
        layout->addWidget(text, row, column + 1);
        m_icons << icon;
        m_texts << text;
    }
    m_rate = new QLabel(this);
    m_rate->setObjectName(QStringLiteral("label_rate"));
    layout->addWidget(m_rate, 1, 7);
    setRoles({}, false, 0);
}

void XieZuoRolesWidget::setRoles(const QList<XieZuoRoles::Holder> &holders, bool verified, int rate)
{
    for (int role = 0; role < XieZuoRoles::RoleCount; ++role) {
        const XieZuoRoles::Holder holder = holders.value(role);
        const QString path = XieZuoRoles::icon(role, holder, verified);
        m_icons[role]->setProperty("icon", path);
        m_icons[role]->setPixmap(QPixmap(path));
        m_texts[role]->setText(XieZuoRoles::text(role, holder));
    }
    m_rate->setText(QStringLiteral("%1%").arg(rate));
}

QString XieZuoRolesWidget::roleText(int role) const
{
    return m_texts.value(role) ? m_texts.value(role)->text() : QString();
}

QString XieZuoRolesWidget::roleIcon(int role) const
{
    return m_icons.value(role) ? m_icons.value(role)->property("icon").toString() : QString();
}

QString XieZuoRolesWidget::rateText() const
{
    return m_rate->text();
}
