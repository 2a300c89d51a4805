#pragma once
// The floating pop-up that shows one help tip next to the cursor.
#include "qx_base_global.h"

#include <QLabel>

class QX_BASE_EXPORT HelpQuestionTipWidget : public QLabel
{
    Q_OBJECT
public:
    static void showTip(const QString &tip, bool atCursor);
    static void hideTip();
    static HelpQuestionTipWidget *current();

private:
    HelpQuestionTipWidget();
};
