#pragma once
// The house-book settings window.
#include <QWidget>

class CommonAddWidget;

class HouseBookSetWidget : public QWidget
{
    Q_OBJECT
public:
    HouseBookSetWidget(QWidget *parent, int type);

    // Opens the settings in their pop-up "房源本设置" over parent: closing the settings closes
    // it, a successful apply confirms "设置应用成功！" and closes it. The settings are the
    // pop-up's content widget, for callers that want to hear of the apply as well.
    static CommonAddWidget *openSettings(QWidget *parent);

signals:
    void closeWidget();
    void setSuccess();

private:
    int m_type;
};
