#pragma once
// Unattended runs: saves a picture of the window once the page opened by an export has
// settled, and ends the process after a time limit.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

class QTimer;
class QWidget;

class Automation : public QObject
{
    Q_OBJECT
public:
    // quitAfterMs < 0: no time limit. With a screenshot and a time limit the host ends as
    // soon as the picture is saved.
    Automation(QWidget *window, const QString &screenshotFile, int quitAfterMs, QObject *parent = nullptr);

    // Starts the time limit (from the moment the host is up).
    void start();
    // An export was called: wait for its page to settle, then take the picture.
    void pageRequested();

    int exitCode() const { return m_exitCode; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void poll();
    void takeScreenshot();
    void quit();

    QPointer<QWidget> m_window;
    QString m_file;
    int m_quitAfterMs;
    int m_exitCode = 0;
    bool m_waiting = false;
    bool m_done = false;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceRequest;
    QElapsedTimer m_sinceEvent;
    QTimer *m_poll;
};
