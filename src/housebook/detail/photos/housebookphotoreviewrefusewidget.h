#pragma once
// The reason box of a refused photo set: the reviewer types why and submits it.
#include "widgets/reasonbox.h"

class HouseBookPhotoReviewRefuseWidget : public ReasonBox
{
    Q_OBJECT
public:
    explicit HouseBookPhotoReviewRefuseWidget(QWidget *parent = nullptr);

signals:
    void backTxt(QString txt);
    void closeWidget();
};
