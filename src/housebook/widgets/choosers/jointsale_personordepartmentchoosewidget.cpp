#include "widgets/choosers/jointsale_personordepartmentchoosewidget.h"

#include "net/endpoints.h"

JointSale_PersonOrDepartmentChooseWidget::JointSale_PersonOrDepartmentChooseWidget(QWidget *parent, int kind,
                                                                                   bool multiple)
    : PersonOrDepartmentChooseWidget(parent, kind, multiple,
                                     Source{Endpoints::instance().lmai_lwpV2, Endpoints::instance().lmai_dept_lwpSub})
{
    setObjectName(QStringLiteral("JointSale_PersonOrDepartmentChooseWidget"));
}
