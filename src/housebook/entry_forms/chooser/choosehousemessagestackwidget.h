#pragma once
// The community → building → unit → room wizard of the entry forms: four pages in a stack
// under a navigation bar (the current step blue, finished steps clickable to step back,
// unreachable steps hidden). It hands back what was chosen and closes.
#include "services/communitystructure.h"

#include <QJsonValue>
#include <QList>
#include <QVariantMap>
#include <QWidget>

class ChooseHouseLouDongWidget;
class ChooseHouseRoomWidget;
class ChooseHouseUnitWidget;
class ChooseXiaoQuWidget;
class CommunityStructureService;
class QPushButton;
class QStackedWidget;

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

    Mode mode() const { return m_mode; }
    int currentPage() const;
    // What has been chosen so far.
    HouseMsg chosen() const { return m_msg; }
    bool isBuildingLocked() const { return m_lockDong; }
    bool isUnitLocked() const { return m_lockUar; }
    // The navigation buttons, one per step.
    QList<QPushButton *> navButtons() const { return m_nav; }

    ChooseXiaoQuWidget *xiaoQuPage() const { return m_xiaoQu; }
    ChooseHouseLouDongWidget *louDongPage() const { return m_louDong; }
    ChooseHouseUnitWidget *unitPage() const { return m_unit; }
    ChooseHouseRoomWidget *roomPage() const { return m_room; }

signals:
    void closeWidget();
    void chooseSuccess(ChooseHouseMessageStackWidget::HouseMsg msg);

public slots:
    // A navigation button was clicked: back to its step when that step was reached.
    void childWidgetSwitch();
    void setCurrentPage(int chooseIndex, bool animate = true);
    void checkNavIsShow();
    void hasChooseXiaoQu(QVariantMap map);
    void downloadCommunityLockState(const QString &com_id);
    void dealLockData(QJsonValue value);
    void hasChooseLouDong(XiaoQuLouDongMsg_Model::LouDong model);
    void hasCHooseDanYuan(XiaoQuLouDongMsg_Model::DanYuan model);
    void hasChooseRoom(JingGengLouDongMessage_Model::RoomModel model);

private:
    QWidget *buildNavBar();
    void connectService();
    void resetNavFrom(int step);
    void applyLocks(bool lockdong, bool lockuar);
    QString communityId() const;
    void loadBuildings();
    void loadUnits();
    void loadRooms();
    void finish();

    Mode m_mode;
    HouseMsg m_msg;
    bool m_lockDong = false;
    bool m_lockUar = false;
    int m_reached = 0; // the furthest step the agent may go to
    CommunityStructureService *m_service;
    QList<QPushButton *> m_nav;
    QStackedWidget *m_stack = nullptr;
    ChooseXiaoQuWidget *m_xiaoQu = nullptr;
    ChooseHouseLouDongWidget *m_louDong = nullptr;
    ChooseHouseUnitWidget *m_unit = nullptr;
    ChooseHouseRoomWidget *m_room = nullptr;
};
Q_DECLARE_METATYPE(ChooseHouseMessageStackWidget::HouseMsg)
