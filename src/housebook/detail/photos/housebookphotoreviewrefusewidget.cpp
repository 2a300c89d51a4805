#include "detail/photos/housebookphotoreviewrefusewidget.h"

HouseBookPhotoReviewRefuseWidget::HouseBookPhotoReviewRefuseWidget(QWidget *parent)
    : ReasonBox(QStringLiteral("驳回原因："), QStringLiteral("请输入驳回原因"), parent)
{
    connect(this, &ReasonBox::submitted, this, &HouseBookPhotoReviewRefuseWidget::backTxt);
}
