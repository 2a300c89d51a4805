// The first page's construction and the filling of its labels from a record; the actions
// behind its buttons and menus are in housedetailfirstpagewidget_actions.cpp.
#include "detail/housedetailfirstpagewidget.h"
#include "widgets/namedwidgets.h"

#include "detail/follow/housebookdetailfollowhistorywidget.h"
#include "detail/follow/housebookdetailmodifyhistorywidget.h"
#include "detail/follow/housebookdetailtakelookhistorywidget.h"
#include "detail/housedetailfirstpagetexts.h"
#include "detail/photos/housebookphotosaddwidget.h"
#include "detail/xiezuoroleswidget.h"
#include "helpquestionwidget.h"
#include "platform/housebookcodes.h"
#include "separation/housebookdetailseperatewidget.h"
#include "services/listingchangeservice.h"
#include "services/listingdetailservice.h"
#include "sql/listingrights.h"
#include "widgets/commonaddwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QTabWidget>

namespace {

const QString kHiddenContact = QStringLiteral("*************");

HelpQuestionWidget *helpTip(int id, QWidget *parent)
{
    auto *tip = new HelpQuestionWidget(parent);
    tip->setObjectName(QStringLiteral("helpQuestion_%1").arg(id));
    tip->setTipId(id);
    return tip;
}

// The survey role's evidence is the listing's photo set, entered in the photo editor.
void openPhotoEditor(QWidget *parent, const HouseMessage_DataSqlTable::HouseMessageData &house,
                     std::function<void()> saved)
{
    HouseBookPhotosAddWidget *editor = HouseBookPhotosAddWidget::openEditor(parent, house);
    auto *frame = qobject_cast<CommonAddWidget *>(editor->window());
    QObject::connect(editor, &HouseBookPhotosAddWidget::addSuccess, frame, [frame, saved] {
        frame->closeWidget();
        saved();
    });
}

} // namespace

HouseDetailFirstPageWidget::HouseDetailFirstPageWidget(QWidget *parent)
    : QWidget(parent), m_service(new ListingDetailService(this)), m_changes(new ListingChangeService(this))
{
    buildUi();
    connect(m_service, &ListingDetailService::revealRecorded, this, &HouseDetailFirstPageWidget::revealed);
    connect(m_service, &ListingDetailService::countsArrived, this, &HouseDetailFirstPageWidget::dealPhotosVideo);
    connect(m_service, &ListingDetailService::collectChanged, this, &HouseDetailFirstPageWidget::collectChanged);
    connect(m_service, &ListingDetailService::turnedPublic, this, &HouseDetailFirstPageWidget::turnedPublic);
    connect(m_changes, &ListingChangeService::statusChanged, this, &HouseDetailFirstPageWidget::statusChanged);
    connect(m_changes, &ListingChangeService::takeDownDue, this, &HouseDetailFirstPageWidget::takeDownFromPortal);
    auto *copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, &HouseDetailFirstPageWidget::copyNumber);
}

void HouseDetailFirstPageWidget::buildUi()
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget(scroll);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(16, 10, 16, 10);
    layout->setSpacing(6);
    layout->addWidget(createHeader());
    layout->addWidget(createFacts());
    layout->addWidget(createContact());
    layout->addWidget(createButtons());
    auto *rolesRow = new QHBoxLayout;
    m_roles = new XieZuoRolesWidget(content);
    m_roles->setObjectName(QStringLiteral("widget_xiezuo"));
    rolesRow->addWidget(m_roles);
    rolesRow->addWidget(helpTip(37, content));
    rolesRow->addStretch();
    layout->addLayout(rolesRow);
    layout->addWidget(createFootTabs(), 1);
    scroll->setWidget(content);
    outer->addWidget(scroll);
}

QWidget *HouseDetailFirstPageWidget::createHeader()
{
    auto *header = new QWidget;
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(0, 0, 0, 0);
    m_nameLabel = new QLabel(header);
    m_nameLabel->setObjectName(QStringLiteral("nameLabel"));
    m_nameLabel->setStyleSheet(QStringLiteral("font-size:18px;font-weight:bold;"));
    m_statusLabel = new QLabel(header);
    m_statusLabel->setObjectName(QStringLiteral("label_status"));
    m_statusLabel->setStyleSheet(QStringLiteral("color:white;background-color:rgb(12,145,235);padding:1px 6px;"));
    m_tagWidget = new QWidget(header);
    m_tagWidget->setObjectName(QStringLiteral("widget_tag"));
    auto *tags = new QHBoxLayout(m_tagWidget);
    tags->setContentsMargins(0, 0, 0, 0);
    tags->setSpacing(4);
    m_lastButton = namedButton(QStringLiteral("lastPushButton"), QStringLiteral("上一条"), header);
    m_nextButton = namedButton(QStringLiteral("nextPushButton"), QStringLiteral("下一条"), header);
    connect(m_lastButton, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::lastHouse);
    connect(m_nextButton, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::nextHouse);
    layout->addWidget(m_nameLabel);
    layout->addWidget(m_statusLabel);
    layout->addWidget(helpTip(38, header));
    layout->addWidget(m_tagWidget);
    layout->addStretch();
    layout->addWidget(m_lastButton);
    layout->addWidget(m_nextButton);
    return header;
}

QLabel *HouseDetailFirstPageWidget::factLabel(const QString &objectName)
{
    QLabel *&label = m_facts[objectName];
    if (!label) {
        label = new QLabel;
        label->setObjectName(objectName);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    return label;
}

QWidget *HouseDetailFirstPageWidget::createFacts()
{
    auto *facts = new QWidget;
    facts->setObjectName(QStringLiteral("widget_facts"));
    m_factsLayout = new QVBoxLayout(facts);
    m_factsLayout->setContentsMargins(0, 0, 0, 0);
    m_factsLayout->setSpacing(4);
    auto *addressRow = new QHBoxLayout;
    m_addressLabel = factLabel(QStringLiteral("label_address"));
    m_roomButton = namedButton(QStringLiteral("pushButton_room"), QStringLiteral("查看房号"), facts);
    connect(m_roomButton, &QPushButton::clicked, this,
            [this] { m_roomShown ? hideRoomMsg() : watchTongJi(ListingDetailService::RoomItem); });
    addressRow->addWidget(m_addressLabel);
    addressRow->addWidget(m_roomButton);
    addressRow->addStretch();
    m_factsLayout->addLayout(addressRow);
    // The fact lines themselves are laid out by fillFacts(): sale and rent listings differ.
    auto *floorRow = new QHBoxLayout;
    m_floorLabel = factLabel(QStringLiteral("label_floor"));
    m_floorButton = namedButton(QStringLiteral("pushButton_floor"), QStringLiteral("查看楼层"), facts);
    connect(m_floorButton, &QPushButton::clicked, this,
            [this] { m_floorShown ? hideFloorMsg() : watchTongJi(ListingDetailService::FloorItem); });
    floorRow->addWidget(m_floorLabel);
    floorRow->addWidget(m_floorButton);
    floorRow->addStretch();
    m_factsLayout->addLayout(floorRow);
    return facts;
}

QWidget *HouseDetailFirstPageWidget::createContact()
{
    auto *contact = new QWidget;
    auto *layout = new QVBoxLayout(contact);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    auto *caption = new QLabel(QStringLiteral("联系人："), contact);
    m_contactLabel = new QLabel(kHiddenContact, contact);
    m_contactLabel->setObjectName(QStringLiteral("label_contact"));
    m_contactLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_contactButton = namedButton(QStringLiteral("pushButton_contact"), QStringLiteral("显示"), contact);
    connect(m_contactButton, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::hiddenLinkPeopleMessage);
    row->addWidget(caption);
    row->addWidget(m_contactLabel);
    row->addWidget(m_contactButton);
    row->addWidget(helpTip(35, contact));
    row->addStretch();
    m_yinHaoList = new QWidget(contact);
    m_yinHaoList->setObjectName(QStringLiteral("widget_yinhao"));
    auto *rows = new QVBoxLayout(m_yinHaoList);
    rows->setContentsMargins(0, 0, 0, 0);
    m_yinHaoList->hide();
    m_remarkLabel = new QLabel(contact);
    m_remarkLabel->setObjectName(QStringLiteral("label_remark"));
    m_remarkLabel->setWordWrap(true);
    layout->addLayout(row);
    layout->addWidget(m_yinHaoList);
    layout->addWidget(m_remarkLabel);
    return contact;
}

QWidget *HouseDetailFirstPageWidget::createButtons()
{
    auto *bar = new QWidget;
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    m_countsLabel = new QLabel(bar);
    m_countsLabel->setObjectName(QStringLiteral("label_photoVideo"));
    m_countsLabel->setTextFormat(Qt::RichText);
    m_countsLabel->setCursor(Qt::PointingHandCursor);
    m_fenPeiButton = namedButton(QStringLiteral("pushButton_fenPei"), QStringLiteral("分配"), bar);
    m_publicButton = namedButton(QStringLiteral("pushButton_public"), QStringLiteral("转为公盘"), bar);
    m_collectButton = namedButton(QStringLiteral("collectButton"), QString(), bar);
    auto *map = namedButton(QStringLiteral("pushButton_map"), QStringLiteral("地图"), bar);
    m_menuButton = namedButton(QStringLiteral("pushButton_menu"), QStringLiteral("操作 ▼"), bar);
    connect(m_fenPeiButton, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::fenPeiClick);
    connect(m_publicButton, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::changeToPublicHouse);
    connect(m_collectButton, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::collocteHouse);
    connect(map, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::showHouseMap);
    connect(m_menuButton, &QPushButton::clicked, this, &HouseDetailFirstPageWidget::showMenu);
    layout->addWidget(m_countsLabel);
    layout->addWidget(helpTip(36, bar));
    layout->addStretch();
    for (QPushButton *button : {m_fenPeiButton, m_publicButton, m_collectButton, map, m_menuButton})
        layout->addWidget(button);
    collectChanged(0, false);
    m_countsLabel->setText(FirstPageTexts::countsText(0, 0));
    return bar;
}

QTabWidget *HouseDetailFirstPageWidget::createFootTabs()
{
    m_footTabs = new QTabWidget;
    m_footTabs->setObjectName(QStringLiteral("tabWidget_foot"));
    m_footTabs->setMinimumHeight(320);
    auto *follow = new HouseBookDetailFollowHistoryWidget;
    follow->setObjectName(QStringLiteral("followHistory"));
    connect(follow, &HouseBookDetailFollowHistoryWidget::followSuccess, this,
            &HouseDetailFirstPageWidget::followSuccessDeal);
    auto *takeLook = new HouseBookDetailTakeLookHistoryWidget;
    takeLook->setObjectName(QStringLiteral("takeLookHistory"));
    auto *team = new HouseBookDetailSeperateWidget;
    team->setObjectName(QStringLiteral("seperateWidget"));
    team->setPhotoEditorOpener(&openPhotoEditor);
    connect(team, &HouseBookDetailSeperateWidget::goToPhoto, this, &HouseDetailFirstPageWidget::goToPhoto);
    connect(team, &HouseBookDetailSeperateWidget::closeWidget, this, &HouseDetailFirstPageWidget::closeWidget);
    connect(team, &HouseBookDetailSeperateWidget::houseEdit, this, [this] { emit houseEdit(false); });
    auto *modify = new HouseBookDetailModifyHistoryWidget;
    modify->setObjectName(QStringLiteral("modifyHistory"));
    m_footTabs->addTab(follow, QStringLiteral("跟进记录"));
    m_footTabs->addTab(takeLook, QStringLiteral("带看记录"));
    m_footTabs->addTab(team, QStringLiteral("团队协作"));
    m_footTabs->addTab(modify, QStringLiteral("查看/修改"));
    connect(m_footTabs, &QTabWidget::currentChanged, this, &HouseDetailFirstPageWidget::showFootTab);
    return m_footTabs;
}

void HouseDetailFirstPageWidget::showRecord(const HouseMessage_DataSqlTable::HouseMessageData &record,
                                            bool refreshed, bool rent)
{
    const bool otherListing = record.id != m_record.id;
    if (otherListing) {
        m_followed = false;
        m_downloadedId = 0;
        m_roomShown = false;
        m_floorShown = false;
    }
    m_record = record;
    m_refreshed = refreshed;
    m_rent = rent;
    m_collected = record.islike == 1 ? 1 : 0;
    m_operations = ListingRights::of(record, HouseBookCodes::kJointSale).operations();
    m_nameLabel->setText(record.name);
    m_statusLabel->setText(record.newstate);
    fillTags();
    fillFacts();
    clearYinHaoRows();
    m_contactLabel->setText(kHiddenContact);
    m_contactButton->setText(QStringLiteral("显示"));
    m_remarkLabel->setText(FirstPageTexts::remarkText(record));
    fillButtons();
    setXieZuoData(record.lururen, record.weihuren, record.weituoren, record.shikanren, record.yaoshiren,
                  record.dujiaren, record.chengjiaoren, record.jindu);
    m_countsLabel->setText(FirstPageTexts::countsText(0, 0));
    m_footShownIds.clear();
    if (record.id > 0) {
        downloadPhotosVideoNum();
        showFootTab(m_footTabs->currentIndex());
    }
}

void HouseDetailFirstPageWidget::fillTags()
{
    QLayout *layout = m_tagWidget->layout();
    while (QLayoutItem *item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const QStringList names = FirstPageTexts::tagNames(m_record);
    for (int i = 0; i < names.size(); ++i) {
        auto *tag = new QLabel(QStringLiteral(" %1 ").arg(names.at(i)), m_tagWidget);
        tag->setObjectName(QStringLiteral("label_tag"));
        tag->setStyleSheet(FirstPageTexts::tagStyle(i));
        layout->addWidget(tag);
    }
}

// The fact lines go between the address row (first) and the floor row (last); lines the
// other kind of listing has are taken out of the layout and hidden.
void HouseDetailFirstPageWidget::fillFacts()
{
    m_addressLabel->setText(FirstPageTexts::addressText(m_record, m_roomShown));
    m_roomButton->setText(m_roomShown ? QStringLiteral("隐藏房号") : QStringLiteral("查看房号"));
    m_floorLabel->setText(FirstPageTexts::floorText(m_record, m_floorShown));
    m_floorButton->setText(m_floorShown ? QStringLiteral("隐藏楼层") : QStringLiteral("查看楼层"));
    for (QLabel *label : qAsConst(m_facts)) {
        if (label != m_addressLabel && label != m_floorLabel) {
            m_factsLayout->removeWidget(label);
            label->hide();
        }
    }
    int position = 1;
    for (const FirstPageTexts::Line &line : FirstPageTexts::factLines(m_record, m_rent)) {
        QLabel *label = factLabel(line.objectName);
        label->setText(line.text);
        m_factsLayout->insertWidget(position++, label);
        label->show();
    }
}

void HouseDetailFirstPageWidget::fillButtons()
{
    m_fenPeiButton->setVisible(m_operations.contains(QStringLiteral("录入人")));
    m_publicButton->setVisible(m_record.stype == 1);
    m_menuButton->setVisible(m_operations.contains(QStringLiteral("编辑")) || m_operations.contains(QStringLiteral("状态")));
    collectChanged(m_record.id, m_collected == 1);
}

void HouseDetailFirstPageWidget::setNavigationHidden(bool hidden)
{
    m_lastButton->setHidden(hidden);
    m_nextButton->setHidden(hidden);
}

// A foot tab is filled when it is first looked at for the shown listing.
void HouseDetailFirstPageWidget::showFootTab(int index)
{
    if (m_record.id <= 0 || m_footShownIds.value(index) == m_record.id)
        return;
    QWidget *page = m_footTabs->widget(index);
    if (auto *follow = qobject_cast<HouseBookDetailFollowHistoryWidget *>(page))
        follow->showHouse(m_record.id, m_rent);
    else if (auto *takeLook = qobject_cast<HouseBookDetailTakeLookHistoryWidget *>(page))
        takeLook->showHouse(m_record.id, m_rent);
    else if (auto *modify = qobject_cast<HouseBookDetailModifyHistoryWidget *>(page))
        modify->showHouse(m_record.id, m_rent);
    else if (auto *team = qobject_cast<HouseBookDetailSeperateWidget *>(page))
        team->setHouse(m_record);
    m_footShownIds.insert(index, m_record.id);
}
