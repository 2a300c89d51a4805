#include "housebookphotosaddwidget.h"

HouseBookPhotosAddWidget::HouseBookPhotosAddWidget(const HouseMessage_DataSqlTable::HouseMessageData &,
                                                   const QString &, QWidget *parent)
    : QWidget(parent)
{
}
