#include "busyoverlay.h"

#include <QEvent>
#include <QFont>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>

namespace {

constexpr int kFrameIntervalMs = 80;
constexpr int kDotCount = 12;
constexpr int kSpinnerRadius = 16;   // centre of the ring to the centre of a dot
constexpr int kTextGap = 14;         // between the ring and the text
constexpr int kTextPixelSize = 13;

const QColor kVeil(255, 255, 255, 160);
const QColor kSpinnerColor(12, 147, 235);
const QColor kTextColor(102, 102, 102);

} // namespace

BusyOverlay::BusyOverlay(QWidget *target)
    : QWidget(target)
    , m_target(target)
    , m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("busyOverlay"));
    // No background of its own: paintEvent draws a translucent veil so the page stays visible.
    setAutoFillBackground(false);
    setCursor(Qt::BusyCursor);

    m_timer->setObjectName(QStringLiteral("busySpinnerTimer"));
    m_timer->setInterval(kFrameIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &BusyOverlay::advance);

    // Explicitly hidden, so showing the page later does not show the overlay with it.
    hide();
    if (m_target) {
        m_target->installEventFilter(this);
        fitToTarget();
    }
}

void BusyOverlay::start(const QString &text)
{
    m_text = text;
    m_running = true;
    fitToTarget();
    raise();
    show();
    // The animation only runs while the overlay is actually on screen: if the page
    // itself is hidden, showEvent starts it once the page appears.
    if (isVisible() && !m_timer->isActive())
        m_timer->start();
    update();
}

void BusyOverlay::stop()
{
    if (!m_running && isHidden())
        return;
    m_running = false;
    m_timer->stop();
    hide();
}

bool BusyOverlay::isRunning() const
{
    return m_running;
}

QString BusyOverlay::text() const
{
    return m_text;
}

bool BusyOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_target) {
        switch (event->type()) {
        case QEvent::Resize:
            fitToTarget();
            break;
        case QEvent::ChildAdded:
            // Widgets added to the page while it is busy must stay underneath the veil.
            if (m_running)
                raise();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BusyOverlay::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_running && !m_timer->isActive())
        m_timer->start();
}

void BusyOverlay::hideEvent(QHideEvent *event)
{
    // Also reached when the page (or its window) is hidden: no animating off screen.
    m_timer->stop();
    QWidget::hideEvent(event);
}

void BusyOverlay::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), kVeil);

    QFont textFont = font();
    textFont.setPixelSize(kTextPixelSize);
    const QFontMetrics metrics(textFont);
    const int textWidth = qMax(0, width() - 20);
    const QRect textBounds = m_text.isEmpty()
        ? QRect()
        : metrics.boundingRect(QRect(0, 0, textWidth, height()), Qt::AlignHCenter | Qt::TextWordWrap, m_text);

    // The ring and the text below it are centred together.
    const int ringExtent = 2 * kSpinnerRadius + 8;
    const int blockHeight = ringExtent + (m_text.isEmpty() ? 0 : kTextGap + textBounds.height());
    const int top = (height() - blockHeight) / 2;
    const QPointF centre(width() / 2.0, top + ringExtent / 2.0);

    // A ring of dots whose opacity fades behind the leading dot; advancing m_step turns it.
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < kDotCount; ++i) {
        const int age = (m_step - i + kDotCount) % kDotCount;   // 0 = leading dot
        QColor dot = kSpinnerColor;
        dot.setAlphaF(1.0 - 0.8 * age / (kDotCount - 1));
        painter.setBrush(dot);
        painter.save();
        painter.translate(centre);
        painter.rotate(360.0 * i / kDotCount);
        const qreal radius = age == 0 ? 4.0 : 3.0;
        painter.drawEllipse(QPointF(0, -kSpinnerRadius), radius, radius);
        painter.restore();
    }

    if (!m_text.isEmpty()) {
        painter.setFont(textFont);
        painter.setPen(kTextColor);
        const QRect textRect(10, top + ringExtent + kTextGap, textWidth, textBounds.height());
        painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_text);
    }
}

// Mouse input over the veil is consumed here instead of being passed on to the page.
void BusyOverlay::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void BusyOverlay::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
}

void BusyOverlay::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
}

void BusyOverlay::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

void BusyOverlay::advance()
{
    m_step = (m_step + 1) % kDotCount;
    update();
}

void BusyOverlay::fitToTarget()
{
    if (m_target)
        setGeometry(m_target->rect());
}
