#pragma once
// The community → building → unit → room wizard of the entry forms: four pages in a stack
// under a navigation bar (the current step blue, finished steps clickable to step back,
// unreachable steps hidden). It hands back what was chosen and closes.
#include "services/communitystructure.h"

#include <QVariantMap>
#include <QWidget>

class ChooseHouseMessageStackWidget : public QWidget
{
    Q_OBJECT
public:
    struct HouseMsg
    {
        QVariantMap community; // the search row's map (a typed community: just `name`)
        XiaoQuLouDongMsg_Model::LouDong louDong;
        XiaoQuLouDongMsg_Model::DanYuan danYuan;
        JingGengLouDongMessage_Model::RoomModel room;
    };

    enum Mode {
        FullChoice,     // community, building, unit and room
        CommunityOnly   // only the community list ("选择小区")
    };

    explicit ChooseHouseMessageStackWidget(QWidget *parent = nullptr, Mode mode = FullChoice);

signals:
    void closeWidget();
    void chooseSuccess(ChooseHouseMessageStackWidget::HouseMsg msg);
};
Q_DECLARE_METATYPE(ChooseHouseMessageStackWidget::HouseMsg)
