#pragma once
// A small help mark placed beside a field; hovering it shows the tip of its id.
#include "qx_base_global.h"

#include <QLabel>

class QX_BASE_EXPORT HelpQuestionWidget : public QLabel
{
    Q_OBJECT
public:
    explicit HelpQuestionWidget(QWidget *parent = nullptr);

    void setTipId(int id);
    int tipId() const { return m_tipId; }

    // The tip text registered for an id (empty when none).
    static QString getTipText(int id);
    static void registerTip(int id, const QString &text);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    int m_tipId = 0;
};
