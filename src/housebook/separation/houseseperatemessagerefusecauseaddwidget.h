#pragma once
// The reason box of a refused role entry: the reviewer types why and submits it.
#include "widgets/reasonbox.h"

class HouseSeperateMessageRefuseCauseAddWidget : public ReasonBox
{
    Q_OBJECT
public:
    explicit HouseSeperateMessageRefuseCauseAddWidget(QWidget *parent = nullptr);

signals:
    void backReason(QString reason);
};
