#include "moretagpushbutton.h"

MoreTagPushButton::MoreTagPushButton(QWidget *parent) : QPushButton(QStringLiteral("●●●"), parent)
{
    setObjectName(QStringLiteral("moreTagButton"));
    setStyleSheet(QStringLiteral("border:none;font-weight:bold;font-size:6px;color:rgb(12,137,240);"));
    setCursor(Qt::PointingHandCursor);
    setFixedSize(24, 18);
}

void MoreTagPushButton::enterEvent(QEvent *event)
{
    QPushButton::enterEvent(event);
    emit enterButton();
}

void MoreTagPushButton::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    emit leaveButton();
}
