#include "entry_forms/chooser/choosehousemessagestackwidget.h"

#include "entry_forms/chooser/choosehouseloudongwidget.h"
#include "entry_forms/chooser/choosehouseroomwidget.h"
#include "entry_forms/chooser/choosehouseunitwidget.h"
#include "entry_forms/chooser/chooserstyle.h"
#include "entry_forms/chooser/choosexiaoquwidget.h"
#include "services/communitystructureservice.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using Service = CommunityStructureService;

namespace {

const QStringList &stepTexts()
{
    static const QStringList texts{QStringLiteral("选择小区"), QStringLiteral("选择楼栋"), QStringLiteral("选择单元"),
                                   QStringLiteral("选择房号")};
    return texts;
}

} // namespace

ChooseHouseMessageStackWidget::ChooseHouseMessageStackWidget(QWidget *parent, Mode mode)
    : QWidget(parent)
    , m_mode(mode)
    , m_service(new Service(this))
{
    setObjectName(QStringLiteral("ChooseHouseMessageStackWidget"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#ChooseHouseMessageStackWidget{background:white;}"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildNavBar());

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("stackedWidget"));
    m_xiaoQu = new ChooseXiaoQuWidget(m_stack);
    m_louDong = new ChooseHouseLouDongWidget(m_stack);
    m_unit = new ChooseHouseUnitWidget(m_stack);
    m_room = new ChooseHouseRoomWidget(m_stack);
    for (QWidget *page : {static_cast<QWidget *>(m_xiaoQu), static_cast<QWidget *>(m_louDong),
                          static_cast<QWidget *>(m_unit), static_cast<QWidget *>(m_room)})
        m_stack->addWidget(page);
    layout->addWidget(m_stack, 1);

    connect(m_xiaoQu, &ChooseXiaoQuWidget::chooseItem, this, &ChooseHouseMessageStackWidget::hasChooseXiaoQu);
    connect(m_louDong, &ChooseHouseLouDongWidget::clickItem, this, &ChooseHouseMessageStackWidget::hasChooseLouDong);
    connect(m_unit, &ChooseHouseUnitWidget::clickItem, this, &ChooseHouseMessageStackWidget::hasCHooseDanYuan);
    connect(m_room, &ChooseHouseRoomWidget::clickItem, this, &ChooseHouseMessageStackWidget::hasChooseRoom);
    connect(m_louDong, &StructureListPage::retryRequested, this, &ChooseHouseMessageStackWidget::loadBuildings);
    connect(m_unit, &StructureListPage::retryRequested, this, &ChooseHouseMessageStackWidget::loadUnits);
    connect(m_room, &StructureListPage::retryRequested, this, &ChooseHouseMessageStackWidget::loadRooms);
    connectService();
    setCurrentPage(0, false);
}

QWidget *ChooseHouseMessageStackWidget::buildNavBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("widget_nav"));
    bar->setFixedHeight(44);
    bar->setAttribute(Qt::WA_StyledBackground);
    bar->setStyleSheet(QStringLiteral("#widget_nav{background:rgb(250,250,250);border-bottom:1px solid rgb(230,230,230);}"));
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(16, 0, 16, 0);
    layout->setSpacing(4);
    for (int step = 0; step < stepTexts().size(); ++step) {
        if (step > 0) {
            auto *arrow = new QLabel(QStringLiteral(">"), bar);
            arrow->setObjectName(QStringLiteral("nav_arrow_%1").arg(step));
            arrow->setStyleSheet(QStringLiteral("QLabel{color:rgb(190,190,190);}"));
            layout->addWidget(arrow);
        }
        auto *button = new QPushButton(stepTexts().at(step), bar);
        button->setObjectName(QStringLiteral("nav_%1").arg(step));
        button->setCursor(Qt::PointingHandCursor);
        connect(button, &QPushButton::clicked, this, &ChooseHouseMessageStackWidget::childWidgetSwitch);
        layout->addWidget(button);
        m_nav.append(button);
    }
    layout->addStretch();
    return bar;
}

void ChooseHouseMessageStackWidget::connectService()
{
    connect(m_service, &Service::locksArrived, this, &ChooseHouseMessageStackWidget::applyLocks);
    connect(m_service, &Service::buildingsArrived, m_louDong, &ChooseHouseLouDongWidget::setBuildings);
    connect(m_service, &Service::unitsArrived, m_unit, &ChooseHouseUnitWidget::setUnits);
    connect(m_service, &Service::roomsArrived, this, [this](const QList<CommunityStructure::RoomModel> &rooms) {
        m_room->setRooms(rooms, m_msg.louDong.jinggeng);
    });
    connect(m_service, &Service::failed, this, [this](Service::Request request, const QString &reason) {
        // A community whose lock state is unknown is treated as unlocked; the lists say what failed.
        if (request == Service::Buildings)
            m_louDong->showFailure(reason);
        else if (request == Service::Units)
            m_unit->showFailure(reason);
        else if (request == Service::Rooms)
            m_room->showFailure(reason);
    });
    connect(m_service, &Service::finished, this, [this](Service::Request request) {
        if (request == Service::Buildings)
            m_louDong->stopLoading();
        else if (request == Service::Units)
            m_unit->stopLoading();
        else if (request == Service::Rooms)
            m_room->stopLoading();
    });
}

int ChooseHouseMessageStackWidget::currentPage() const
{
    return m_stack->currentIndex();
}

// ---- Navigation ----

void ChooseHouseMessageStackWidget::childWidgetSwitch()
{
    const int step = m_nav.indexOf(qobject_cast<QPushButton *>(sender()));
    if (step >= 0 && step <= m_reached)
        setCurrentPage(step, true);
}

void ChooseHouseMessageStackWidget::setCurrentPage(int chooseIndex, bool animate)
{
    if (chooseIndex < 0 || chooseIndex > m_reached || chooseIndex >= m_stack->count())
        return;
    m_stack->setCurrentIndex(chooseIndex);
    for (int step = 0; step < m_nav.size(); ++step)
        m_nav.at(step)->setStyleSheet(ChooserStyle::navStep(step == chooseIndex));
    checkNavIsShow();
    if (!animate)
        return;
    auto *effect = new QGraphicsOpacityEffect(m_stack->currentWidget());
    m_stack->currentWidget()->setGraphicsEffect(effect);
    auto *fade = new QPropertyAnimation(effect, "opacity", effect);
    fade->setDuration(150);
    fade->setStartValue(0.3);
    fade->setEndValue(1.0);
    QWidget *page = m_stack->currentWidget();
    connect(fade, &QPropertyAnimation::finished, page, [page] { page->setGraphicsEffect(nullptr); });
    fade->start();
}

void ChooseHouseMessageStackWidget::checkNavIsShow()
{
    const int last = m_mode == CommunityOnly ? 0 : m_reached;
    for (int step = 0; step < m_nav.size(); ++step) {
        m_nav.at(step)->setVisible(step <= last);
        if (QLabel *arrow = findChild<QLabel *>(QStringLiteral("nav_arrow_%1").arg(step)))
            arrow->setVisible(step <= last);
    }
}

// The steps from `step` on forget what was chosen in them.
void ChooseHouseMessageStackWidget::resetNavFrom(int step)
{
    for (int i = step; i < m_nav.size(); ++i)
        m_nav.at(i)->setText(stepTexts().at(i));
    if (step <= 1) {
        m_msg.louDong = {};
        m_service->drop(Service::Buildings);
        m_louDong->clearEntries();
    }
    if (step <= 2) {
        m_msg.danYuan = {};
        m_service->drop(Service::Units);
        m_unit->clearEntries();
    }
    m_msg.room = {};
    m_service->drop(Service::Rooms);
    m_room->clearEntries();
}

// ---- The steps ----

void ChooseHouseMessageStackWidget::hasChooseXiaoQu(QVariantMap map)
{
    m_msg.community = map;
    m_nav.at(0)->setText(map.value(QStringLiteral("name")).toString());
    if (m_mode == CommunityOnly) {
        finish();
        return;
    }
    resetNavFrom(1);
    m_service->drop(Service::Locks);
    applyLocks(false, false);
    const QString myid = map.value(QStringLiteral("myid")).toString();
    if (myid.toLongLong() > 0)
        downloadCommunityLockState(myid);
    const QList<CommunityStructure::LouDong> own = CommunityStructure::buildingsOfCommunity(map);
    if (own.isEmpty())
        loadBuildings();
    else
        m_louDong->setBuildings(own);
    m_reached = 1;
    setCurrentPage(1, true);
}

void ChooseHouseMessageStackWidget::downloadCommunityLockState(const QString &com_id)
{
    m_service->fetchLocks(com_id);
}

void ChooseHouseMessageStackWidget::dealLockData(QJsonValue value)
{
    bool lockdong = false;
    bool lockuar = false;
    CommunityStructure::locksOf(value, &lockdong, &lockuar);
    applyLocks(lockdong, lockuar);
}

void ChooseHouseMessageStackWidget::applyLocks(bool lockdong, bool lockuar)
{
    m_lockDong = lockdong;
    m_lockUar = lockuar;
    m_louDong->setLocked(lockdong);
    m_unit->setLocked(lockuar);
}

void ChooseHouseMessageStackWidget::hasChooseLouDong(XiaoQuLouDongMsg_Model::LouDong model)
{
    resetNavFrom(2);
    m_msg.louDong = model;
    m_nav.at(1)->setText(model.name);
    m_room->setRooms({}, model.jinggeng);
    loadUnits();
    m_reached = 2;
    setCurrentPage(2, true);
}

void ChooseHouseMessageStackWidget::hasCHooseDanYuan(XiaoQuLouDongMsg_Model::DanYuan model)
{
    resetNavFrom(3);
    m_msg.danYuan = model;
    m_nav.at(2)->setText(model.name);
    m_room->setRooms({}, m_msg.louDong.jinggeng);
    loadRooms();
    m_reached = 3;
    setCurrentPage(3, true);
}

void ChooseHouseMessageStackWidget::hasChooseRoom(JingGengLouDongMessage_Model::RoomModel model)
{
    m_msg.room = model;
    m_nav.at(3)->setText(model.name);
    finish();
}

void ChooseHouseMessageStackWidget::finish()
{
    emit chooseSuccess(m_msg);
    emit closeWidget();
}

// ---- Loading the lists ----

// The community's id at the community service; a typed community has none.
QString ChooseHouseMessageStackWidget::communityId() const
{
    const QString id = m_msg.community.value(QStringLiteral("id")).toString();
    return id.toLongLong() > 0 ? id : m_msg.community.value(QStringLiteral("myid")).toString();
}

void ChooseHouseMessageStackWidget::loadBuildings()
{
    if (communityId().toLongLong() <= 0)
        return;
    m_louDong->startLoading();
    m_service->fetchBuildings(communityId());
}

// A building or unit typed by hand has no id and so nothing below it to ask for.
void ChooseHouseMessageStackWidget::loadUnits()
{
    if (m_msg.louDong.id.isEmpty())
        return;
    m_unit->startLoading();
    m_service->fetchUnits(communityId(), m_msg.louDong);
}

void ChooseHouseMessageStackWidget::loadRooms()
{
    if (m_msg.danYuan.id.isEmpty())
        return;
    m_room->startLoading();
    m_service->fetchRooms(m_msg.danYuan, m_msg.louDong.jinggeng);
}
