#include "automation.h"

#include "hostwindow.h"

#include <QApplication>
#include <QDebug>
#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace {

const int kQuietMs = 500;      // no work for this long: the page has loaded
const int kLongestWaitMs = 15000;  // a page that never settles (an animation) is taken anyway
const int kPollMs = 100;

// Timer ticks alone (a blinking cursor, the host's own polling) are not work.
bool isWork(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::Timer:
    case QEvent::ZeroTimerEvent:
        return false;
    default:
        return true;
    }
}

// The main window with the plug-in's pop-ups drawn where they stand over it: pop-ups are
// windows of their own, which a grab of the main window leaves out.
QPixmap pictureOf(QWidget *window)
{
    QPixmap picture = window->grab();
    QPainter painter(&picture);
    const QPoint origin = window->mapToGlobal(QPoint(0, 0));
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (top == window || !top->isVisible() || top->windowType() == Qt::ToolTip)
            continue;
        painter.drawPixmap(top->mapToGlobal(QPoint(0, 0)) - origin, top->grab());
    }
    return picture;
}

} // namespace

Automation::Automation(QWidget *window, const QString &screenshotFile, int quitAfterMs, QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_file(screenshotFile)
    , m_quitAfterMs(quitAfterMs)
    , m_poll(new QTimer(this))
{
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &Automation::poll);
}

void Automation::start()
{
    m_sinceStart.start();
    if (m_quitAfterMs >= 0)
        QTimer::singleShot(m_quitAfterMs, this, &Automation::quit);
}

void Automation::pageRequested()
{
    if (m_file.isEmpty() || m_done)
        return;
    m_waiting = true;
    m_sinceRequest.start();
    m_sinceEvent.start();
    QCoreApplication::instance()->installEventFilter(this);
    m_poll->start();
}

bool Automation::eventFilter(QObject *watched, QEvent *event)
{
    if (m_waiting && isWork(event))
        m_sinceEvent.restart();
    return QObject::eventFilter(watched, event);
}

void Automation::poll()
{
    const bool quiet = m_sinceEvent.elapsed() >= kQuietMs && !HostWindow::syncRunning();
    const bool limit = m_sinceRequest.elapsed() >= kLongestWaitMs
        || (m_quitAfterMs >= 0 && m_sinceStart.elapsed() >= m_quitAfterMs - 2 * kQuietMs);
    if (quiet || limit)
        takeScreenshot();
}

void Automation::takeScreenshot()
{
    m_poll->stop();
    QCoreApplication::instance()->removeEventFilter(this);
    m_waiting = false;
    m_done = true;
    if (!m_window || !pictureOf(m_window).save(m_file)) {
        qWarning().noquote() << "qx_host: could not save the screenshot to" << m_file;
        m_exitCode = 3;
    } else {
        qInfo().noquote() << "qx_host: screenshot saved to" << m_file;
    }
    if (m_quitAfterMs >= 0)
        QTimer::singleShot(0, this, &Automation::quit);
}

void Automation::quit()
{
    if (!m_file.isEmpty() && !m_done)
        takeScreenshot();  // the time is up: the picture shows what there is
    QCoreApplication::exit(m_exitCode);
}
