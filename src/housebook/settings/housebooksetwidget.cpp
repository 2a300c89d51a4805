#include "housebooksetwidget.h"

#include "widgets/alertwidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/pageplaceholder.h"

HouseBookSetWidget::HouseBookSetWidget(QWidget *parent, int type) : QWidget(parent), m_type(type)
{
    fillPlaceholder(this, QStringLiteral("房源本设置"));
}

CommonAddWidget *HouseBookSetWidget::openSettings(QWidget *parent)
{
    auto *settings = new HouseBookSetWidget(parent, 1);
    CommonAddWidget *popup = openPopup(parent, PopupSize::Settings, QStringLiteral("房源本设置"), settings);
    connect(settings, &HouseBookSetWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    connect(settings, &HouseBookSetWidget::setSuccess, popup, [popup] {
        AlertWidget::tip(QStringLiteral("设置应用成功！"));
        popup->closeWidget();
    });
    return popup;
}
