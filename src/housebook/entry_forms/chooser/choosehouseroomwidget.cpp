#include "entry_forms/chooser/choosehouseroomwidget.h"

#include <QPushButton>

using CommunityStructure::TypedOutcome;

ChooseHouseRoomWidget::ChooseHouseRoomWidget(QWidget *parent)
    : StructureListPage({QStringLiteral("room"), QStringLiteral("房号"), QString(), QString(), QStringList(),
                         QStringLiteral("室")},
                        parent)
{
    setObjectName(QStringLiteral("ChooseHouseRoomWidget"));
    connect(addTopButton(QStringLiteral("列表"), QStringLiteral("pushButton_listView")), &QPushButton::clicked, this,
            &ChooseHouseRoomWidget::showListView);
    connect(addTopButton(QStringLiteral("按楼层"), QStringLiteral("pushButton_roomsView")), &QPushButton::clicked,
            this, &ChooseHouseRoomWidget::showRoomsView);
}

void ChooseHouseRoomWidget::setRooms(const QList<JingGengLouDongMessage_Model::RoomModel> &rooms, bool intensiveFarming)
{
    m_rooms = rooms;
    m_intensiveFarming = intensiveFarming;
    QStringList names;
    QList<int> floors;
    for (const auto &room : rooms) {
        names << room.name;
        floors << room.floor;
    }
    setEntries(names, floors);
}

void ChooseHouseRoomWidget::dealDataList(const QJsonValue &value)
{
    stopLoading();
    setRooms(CommunityStructure::roomsOf(value), false);
}

void ChooseHouseRoomWidget::dealBaseCommunityRoomDataList(const QJsonValue &value)
{
    stopLoading();
    setRooms(CommunityStructure::registerRoomsOf(value), true);
}

void ChooseHouseRoomWidget::showRoomsView()
{
    setFloorView(true);
}

void ChooseHouseRoomWidget::addCustomTxt(const QString &content, const QString &)
{
    const TypedOutcome outcome = CommunityStructure::typedRoom(content, m_rooms, m_intensiveFarming);
    JingGengLouDongMessage_Model::RoomModel fresh;
    fresh.name = outcome.name;
    takeTyped(outcome, m_rooms, fresh, [this](const JingGengLouDongMessage_Model::RoomModel &chosen) { emit clickItem(chosen); });
}

void ChooseHouseRoomWidget::entryChosen(int index)
{
    if (index >= 0 && index < m_rooms.size())
        emit clickItem(m_rooms.at(index));
}
