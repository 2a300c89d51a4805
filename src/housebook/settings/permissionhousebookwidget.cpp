#include "permissionhousebookwidget.h"

#include "widgets/pageplaceholder.h"

PermissionHouseBookWidget::PermissionHouseBookWidget(QWidget *parent) : QWidget(parent)
{
    fillPlaceholder(this, QStringLiteral("权限设置"));
}

void PermissionHouseBookWidget::setPermissionList(const QList<QVariantMap> &list)
{
    m_list = list;
}
