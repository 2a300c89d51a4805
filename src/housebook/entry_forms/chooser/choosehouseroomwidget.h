#pragma once
// Step 4 of the chooser: the unit's rooms as a flat list or floor by floor, filtered by the
// typed text, or one typed by hand. Rooms of a building under intensive farming come from the
// register, and a typed room must be one of them.
#include "entry_forms/chooser/structurelistpage.h"
#include "services/communitystructure.h"

#include <QJsonValue>

class ChooseHouseRoomWidget : public StructureListPage
{
    Q_OBJECT
public:
    explicit ChooseHouseRoomWidget(QWidget *parent = nullptr);

    void setRooms(const QList<JingGengLouDongMessage_Model::RoomModel> &rooms, bool intensiveFarming);
    QList<JingGengLouDongMessage_Model::RoomModel> rooms() const { return m_rooms; }

signals:
    void clickItem(JingGengLouDongMessage_Model::RoomModel model);

public slots:
    // Rooms from the community service.
    void dealDataList(const QJsonValue &value);
    // Rooms from the intensive-farming register.
    void dealBaseCommunityRoomDataList(const QJsonValue &value);
    void showRoomsView();
    void addCustomTxt(const QString &content, const QString &unit);

protected:
    void entryChosen(int index) override;
    void customEntered(const QString &content, const QString &unit) override { addCustomTxt(content, unit); }

private:
    QList<JingGengLouDongMessage_Model::RoomModel> m_rooms;
    bool m_intensiveFarming = false;
};
