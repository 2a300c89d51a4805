#pragma once
// The people and department chooser over the alliance: the top level lists the alliance's
// companies, each opening into its departments and staff. Everything else is the own
// company's chooser.
#include "widgets/choosers/personordepartmentchoosewidget.h"

class JointSale_PersonOrDepartmentChooseWidget : public PersonOrDepartmentChooseWidget
{
    Q_OBJECT
public:
    explicit JointSale_PersonOrDepartmentChooseWidget(QWidget *parent = nullptr, int kind = People,
                                                      bool multiple = false);
};
