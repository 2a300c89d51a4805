#pragma once
// A box where a reviewer types why something is turned down: a caption, a text field and a
// submit button. An empty reason tells the agent nothing, so it is refused with the box's own
// warning and the box stays open.
#include <QWidget>

class QPlainTextEdit;
class QPushButton;

class ReasonBox : public QWidget
{
    Q_OBJECT
public:
    ReasonBox(const QString &caption, const QString &emptyWarning, QWidget *parent = nullptr);

    // The submit button's text ("提交" unless told otherwise).
    void setSubmitText(const QString &text);

signals:
    void submitted(const QString &reason);

private:
    void submit();

    QString m_emptyWarning;
    QPlainTextEdit *m_reason = nullptr;
    QPushButton *m_submit = nullptr;
};
