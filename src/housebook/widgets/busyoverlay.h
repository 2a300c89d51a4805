#ifndef BUSYOVERLAY_H
#define BUSYOVERLAY_H

#include <QString>
#include <QWidget>

class QTimer;

// A spinning "please wait" indicator laid over a page while a request or a reload runs.
// It covers the whole target widget, follows its size, and swallows mouse input while
// shown so nothing underneath can be clicked half-way through the work.
class BusyOverlay : public QWidget
{
    Q_OBJECT

public:
    // Becomes a hidden child of target and is destroyed with it.
    explicit BusyOverlay(QWidget *target);

    // Shows the overlay (or just updates the text when already running).
    void start(const QString &text = QString());
    // Hides the overlay and stops the animation; harmless when not running.
    void stop();

    bool isRunning() const;
    QString text() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void advance();
    void fitToTarget();

    QWidget *m_target = nullptr;
    QTimer *m_timer = nullptr;
    QString m_text;
    int m_step = 0;
    bool m_running = false;
};

#endif // BUSYOVERLAY_H
