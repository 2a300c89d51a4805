#pragma once
// The line a chooser page shows when its list could not be loaded: what failed, in red,
// and "重试". Hidden until a failure is shown.
#include <QWidget>

class QLabel;

class FailureLine : public QWidget
{
    Q_OBJECT
public:
    explicit FailureLine(QWidget *parent = nullptr);

    void showFailure(const QString &text);
    // The text shown; empty while hidden.
    QString text() const;

signals:
    void retry();

private:
    QLabel *m_text;
};
