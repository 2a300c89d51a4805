#include "alertwidget.h"

#include "datacenter.h"
#include "platform/usernotice.h"

#include <QCheckBox>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

AlertWidget::Hook &hookSlot()
{
    static AlertWidget::Hook hook;
    return hook;
}

QString titleFor(int iconKind)
{
    switch (iconKind) {
    case AlertWidget::ErrorIcon:
        return QStringLiteral("错误");
    case AlertWidget::TipIcon:
        return QStringLiteral("提示");
    default:
        return QStringLiteral("警告");
    }
}

// The icon is drawn from text so the box needs no image files: "!" warning, "×" error, "✓" tip.
void styleIcon(QLabel *icon, int iconKind)
{
    QString glyph = QStringLiteral("!");
    QString colour = QStringLiteral("rgb(255,153,0)");
    if (iconKind == AlertWidget::ErrorIcon) {
        glyph = QStringLiteral("×");
        colour = QStringLiteral("rgb(240,65,52)");
    } else if (iconKind == AlertWidget::TipIcon) {
        glyph = QStringLiteral("✓");
        colour = QStringLiteral("rgb(24,135,240)");
    }
    icon->setText(glyph);
    icon->setAlignment(Qt::AlignCenter);
    icon->setFixedSize(36, 36);
    icon->setStyleSheet(QStringLiteral("QLabel{background:%1;color:white;border-radius:18px;"
                                       "font-size:22px;font-weight:bold;}").arg(colour));
}

QPushButton *makeButton(const QString &name, const QString &text, bool primary)
{
    auto *button = new QPushButton(text);
    button->setObjectName(name);
    button->setCursor(Qt::PointingHandCursor);
    button->setMinimumSize(88, 32);
    button->setStyleSheet(primary
        ? QStringLiteral("QPushButton{background:rgb(24,135,240);color:white;border:none;border-radius:4px;font-size:14px;}"
                         "QPushButton:hover{background:rgb(64,158,255);}")
        : QStringLiteral("QPushButton{background:white;color:rgb(51,51,51);border:1px solid rgb(221,221,221);"
                         "border-radius:4px;font-size:14px;}QPushButton:hover{border-color:rgb(24,135,240);}"));
    return button;
}

// The request layer's notices are shown as this module's boxes in every binary that has them.
[[maybe_unused]] const bool kUserNoticeSinkInstalled = [] {
    UserNotice::setSink([](UserNotice::Kind kind, const QString &text) {
        if (kind == UserNotice::Error)
            AlertWidget::error(text);
        else
            AlertWidget::warning(text);
    });
    return true;
}();

} // namespace

AlertWidget::AlertWidget(const QString &text, int iconKind, int buttonMode,
                         const QString &ownerWindow, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , m_iconKind(iconKind)
    , m_buttonMode(buttonMode)
    , m_ownerWindow(ownerWindow)
{
    setObjectName(QStringLiteral("AlertWidget"));
    setAttribute(Qt::WA_TranslucentBackground);
    buildUi(text);
    applyButtonMode();
    QTimer::singleShot(100, this, &AlertWidget::startModal);
}

AlertWidget::~AlertWidget() = default;

AlertWidget *AlertWidget::warning(const QString &text, const QString &ownerWindow)
{
    return new AlertWidget(text, WarningIcon, KnowOnly, ownerWindow);
}

AlertWidget *AlertWidget::error(const QString &text, const QString &ownerWindow)
{
    return new AlertWidget(text, ErrorIcon, KnowOnly, ownerWindow);
}

AlertWidget *AlertWidget::tip(const QString &text, const QString &ownerWindow)
{
    return new AlertWidget(text, TipIcon, KnowOnly, ownerWindow);
}

void AlertWidget::buildUi(const QString &text)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    auto *frame = new QWidget(this);
    frame->setObjectName(QStringLiteral("alertFrame"));
    frame->setStyleSheet(QStringLiteral("#alertFrame{background:white;border-radius:6px;}"));
    auto *shadow = new QGraphicsDropShadowEffect(frame);
    shadow->setBlurRadius(16);
    shadow->setOffset(0, 0);
    shadow->setColor(QColor(0, 0, 0, 80));
    frame->setGraphicsEffect(shadow);
    outer->addWidget(frame);

    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 16, 24, 20);
    layout->setSpacing(16);

    m_titleLabel = new QLabel(titleFor(m_iconKind), frame);
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setStyleSheet(QStringLiteral("QLabel{font-size:16px;font-weight:bold;color:rgb(51,51,51);}"));
    layout->addWidget(m_titleLabel);

    auto *body = new QHBoxLayout;
    body->setSpacing(14);
    m_iconLabel = new QLabel(frame);
    m_iconLabel->setObjectName(QStringLiteral("iconLabel"));
    styleIcon(m_iconLabel, m_iconKind);
    body->addWidget(m_iconLabel, 0, Qt::AlignTop);
    m_textLabel = new QLabel(text, frame);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    m_textLabel->setWordWrap(true);
    m_textLabel->setMinimumWidth(260);
    m_textLabel->setMaximumWidth(420);
    m_textLabel->setStyleSheet(QStringLiteral("QLabel{font-size:14px;color:rgb(51,51,51);}"));
    body->addWidget(m_textLabel, 1);
    layout->addLayout(body);

    m_check = new QCheckBox(QStringLiteral("勾选"), frame);
    m_check->setObjectName(QStringLiteral("checkBox"));
    m_check->hide();
    layout->addWidget(m_check);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_cancleButton = makeButton(QStringLiteral("cancleButton"), QStringLiteral("取消"), false);
    m_knowButton = makeButton(QStringLiteral("knowButton"), QStringLiteral("我知道了"), false);
    m_sureButton = makeButton(QStringLiteral("sureButton"), QStringLiteral("确定"), true);
    buttons->addWidget(m_cancleButton);
    buttons->addWidget(m_knowButton);
    buttons->addWidget(m_sureButton);
    layout->addLayout(buttons);

    connect(m_knowButton, &QPushButton::clicked, this, [this] { answer(Know); });
    connect(m_sureButton, &QPushButton::clicked, this, [this] { answer(Sure); });
    connect(m_cancleButton, &QPushButton::clicked, this, [this] { answer(Cancle); });
}

void AlertWidget::applyButtonMode()
{
    m_knowButton->setVisible(m_buttonMode == KnowOnly || m_buttonMode == AllButtons);
    m_sureButton->setVisible(m_buttonMode == SureAndCancle || m_buttonMode == AllButtons);
    m_cancleButton->setVisible(m_buttonMode == SureAndCancle || m_buttonMode == AllButtons);
    // A one-button box has its only button as the primary action.
    (m_buttonMode == KnowOnly ? m_knowButton : m_sureButton)->setDefault(true);
}

void AlertWidget::setTitle(const QString &title) { m_titleLabel->setText(title); }
void AlertWidget::setText(const QString &text) { m_textLabel->setText(text); }
void AlertWidget::setKnowText(const QString &text) { m_knowButton->setText(text); }
void AlertWidget::setSureText(const QString &text) { m_sureButton->setText(text); }
void AlertWidget::setCancleText(const QString &text) { m_cancleButton->setText(text); }
void AlertWidget::setCheckVisible(bool visible) { m_check->setVisible(visible); }
void AlertWidget::setCheckText(const QString &text) { m_check->setText(text); }
void AlertWidget::setChecked(bool checked) { m_check->setChecked(checked); }

QString AlertWidget::title() const { return m_titleLabel->text(); }
QString AlertWidget::text() const { return m_textLabel->text(); }
bool AlertWidget::isCheckVisible() const { return !m_check->isHidden(); }
bool AlertWidget::isChecked() const { return m_check->isChecked(); }

QStringList AlertWidget::buttonTexts() const
{
    QStringList texts;
    for (QPushButton *b : {m_cancleButton, m_knowButton, m_sureButton}) {
        if (!b->isHidden())
            texts << b->text();
    }
    return texts;
}

void AlertWidget::answer(Answer which)
{
    if (m_finished)
        return;
    const bool checked = m_check->isChecked();
    switch (which) {
    case Know:
        emit knowClick(checked);
        break;
    case Sure:
        emit sureClick(checked);
        break;
    case Cancle:
        emit cancleClick(checked);
        break;
    }
    done(which == Cancle ? QDialog::Rejected : QDialog::Accepted);
}

void AlertWidget::done(int result)
{
    if (m_finished)
        return;
    m_finished = true;
    QDialog::done(result);
    emit hasClosed();
    deleteLater();
}

void AlertWidget::setHook(Hook hook)
{
    hookSlot() = std::move(hook);
}

void AlertWidget::startModal()
{
    if (m_finished)
        return;
    adjustSize();
    placeOverOwner();
    if (hookSlot()) {
        show();
        hookSlot()(this);
        return;
    }
    exec();
}

void AlertWidget::placeOverOwner()
{
    const QList<QWidget *> owners = DataCenter::getWindowsFromName(m_ownerWindow);
    QWidget *owner = owners.isEmpty() ? DataCenter::MainWindowWidget : owners.first();
    if (!owner || !owner->isVisible())
        return;
    const QRect area(owner->mapToGlobal(QPoint(0, 0)), owner->size());
    move(area.center() - rect().center());
}
