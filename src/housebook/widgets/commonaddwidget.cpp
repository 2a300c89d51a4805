#include "commonaddwidget.h"

#include "datacenter.h"

#include <QCloseEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CommonAddWidget::CommonAddWidget(QWidget *parent, const QString &ownerWindow, bool shadow)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_ownerWindow(ownerWindow)
    , m_useShadow(shadow)
{
    setObjectName(QStringLiteral("CommonAddWidget"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#CommonAddWidget{background:white;border:1px solid rgb(221,221,221);}"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *titleBar = new QWidget(this);
    titleBar->setObjectName(QStringLiteral("titleBar"));
    titleBar->setFixedHeight(40);
    titleBar->setAttribute(Qt::WA_StyledBackground);
    titleBar->setStyleSheet(QStringLiteral("#titleBar{background:rgb(245,245,245);border-bottom:1px solid rgb(230,230,230);}"));
    auto *barLayout = new QHBoxLayout(titleBar);
    barLayout->setContentsMargins(16, 0, 8, 0);
    m_titleLabel = new QLabel(titleBar);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setStyleSheet(QStringLiteral("QLabel{font-size:15px;font-weight:bold;color:rgb(51,51,51);}"));
    barLayout->addWidget(m_titleLabel);
    barLayout->addStretch();
    auto *close = new QPushButton(titleBar);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setFixedSize(24, 24);
    close->setCursor(Qt::PointingHandCursor);
    close->setStyleSheet(QStringLiteral("QPushButton{border-image:url(:/res/icon_close.png);border:none;}"));
    barLayout->addWidget(close);
    connect(close, &QPushButton::clicked, this, &CommonAddWidget::closeWidget);
    layout->addWidget(titleBar);

    m_contentLayout = new QVBoxLayout;
    m_contentLayout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_contentLayout, 1);
}

CommonAddWidget::~CommonAddWidget()
{
    liftShade();
    if (m_registered)
        DataCenter::removeThemeWidget(m_ownerWindow, this);
}

void CommonAddWidget::setTitle(const QString &title, const QColor &shadowColor)
{
    m_titleLabel->setText(title);
    m_shadowColor = shadowColor;
    if (m_shade)
        m_shade->setStyleSheet(QStringLiteral("background:%1;").arg(m_shadowColor.name(QColor::HexArgb)));
}

QString CommonAddWidget::title() const
{
    return m_titleLabel->text();
}

void CommonAddWidget::setContentWidget(QWidget *content)
{
    if (m_content == content)
        return;
    if (m_content)
        m_contentLayout->removeWidget(m_content);
    m_content = content;
    if (content)
        m_contentLayout->addWidget(content);
}

void CommonAddWidget::closeWidget()
{
    close();
}

QWidget *CommonAddWidget::ownerWidget() const
{
    for (QWidget *w : DataCenter::getWindowsFromName(m_ownerWindow)) {
        if (w != this)
            return w;
    }
    return DataCenter::MainWindowWidget;
}

void CommonAddWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QWidget *owner = ownerWidget();
    if (owner) {
        const QRect area(owner->mapToGlobal(QPoint(0, 0)), owner->size());
        move(area.center() - rect().center());
    }
    if (m_useShadow)
        layShade();
    if (!m_registered) {
        DataCenter::addThemeWidget(m_ownerWindow, this);
        m_registered = true;
    }
}

void CommonAddWidget::closeEvent(QCloseEvent *event)
{
    liftShade();
    if (m_registered) {
        DataCenter::removeThemeWidget(m_ownerWindow, this);
        m_registered = false;
    }
    QWidget::closeEvent(event);
}

void CommonAddWidget::layShade()
{
    QWidget *owner = ownerWidget();
    if (!owner || m_shade)
        return;
    auto *shade = new QWidget(owner);
    shade->setObjectName(QStringLiteral("commonAddShade"));
    shade->setAttribute(Qt::WA_StyledBackground);
    shade->setStyleSheet(QStringLiteral("background:%1;").arg(m_shadowColor.name(QColor::HexArgb)));
    shade->setGeometry(owner->rect());
    shade->show();
    shade->raise();
    owner->installEventFilter(this);
    m_shade = shade;
    m_shadedOwner = owner;
}

void CommonAddWidget::liftShade()
{
    if (m_shadedOwner)
        m_shadedOwner->removeEventFilter(this);
    delete m_shade.data();
    m_shade = nullptr;
    m_shadedOwner = nullptr;
}

// Keeps the shade covering the owner when the owner is resized.
bool CommonAddWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_shadedOwner && event->type() == QEvent::Resize && m_shade)
        m_shade->setGeometry(m_shadedOwner->rect());
    return QWidget::eventFilter(watched, event);
}
