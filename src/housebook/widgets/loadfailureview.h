#pragma once
// What a page shows when its contents could not be fetched: the reason in red and a retry
// button. A page shows it instead of an empty result, so "nothing there" and "could not be
// had" never look alike.
#include <QWidget>

class QLabel;

class LoadFailureView : public QWidget
{
    Q_OBJECT
public:
    // prefix: the text before the reason, e.g. "加载失败：".
    explicit LoadFailureView(const QString &prefix, QWidget *parent = nullptr);

    // Shows the view with the reason ("服务器没有应答" when there is none).
    void showReason(const QString &reason);
    QString text() const;

signals:
    void retryRequested();

private:
    QString m_prefix;
    QLabel *m_text;
};
