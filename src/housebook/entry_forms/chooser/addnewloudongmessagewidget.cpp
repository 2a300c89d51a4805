#include "addnewloudongmessagewidget.h"

AddNewLouDongMessageWidget::AddNewLouDongMessageWidget(const QString &, const QString &,
                                                       const QStringList &, QWidget *parent)
    : QWidget(parent)
{
}

void AddNewLouDongMessageWidget::sureButtonClick() {}
