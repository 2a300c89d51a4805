#pragma once
// The photo submission window of a listing's survey: choose pictures, shrink them, tag each
// with its room category, check the set against the company's survey standard, upload what
// is new and post the set. Lives in a pop-up titled "编辑房源图片".
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class HouseBookPhotosAddWidget : public QWidget
{
    Q_OBJECT
public:
    // shikaneditid: the agent's survey record being edited ("" or "0" for a new one).
    HouseBookPhotosAddWidget(const HouseMessage_DataSqlTable::HouseMessageData &listing,
                             const QString &shikaneditid = QString(), QWidget *parent = nullptr);

signals:
    void addSuccess();
    void closeWidget();
};
