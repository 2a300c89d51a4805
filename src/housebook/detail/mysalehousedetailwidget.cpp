#include "mysalehousedetailwidget.h"

#include "commonsignaltool.h"
#include "datacenter.h"
#include "detail/describe/housedetaildescribeswidget.h"
#include "detail/describe/salehousedetaildescribewidget.h"
#include "detail/housebookcommunityhouselistwidget.h"
#include "detail/housedetailfirstpagewidget.h"
#include "detail/listingformlauncher.h"
#include "entry_forms/listingentryform.h"
#include "detail/photos/housebookphotostackwidget.h"
#include "platform/housebookcodes.h"
#include "platform/siblinglibrary.h"
#include "services/lastassignee.h"
#include "services/listingviewservice.h"
#include "sql/basesqlobject.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/jointsale_personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/pageplaceholder.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLibrary>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using HouseBookCodes::kJointSale;

namespace {

const QString kCommunityLibrary = QStringLiteral("qx_jointsale_community.dll");

// Permission items: a viewed listing must be followed up before the agent leaves it.
constexpr int kPrivateMustFollowItem = 33;
constexpr int kPublicMustFollowItem = 30;

using LocalCommunityShow = QWidget *(*)(QWidget *parent, int communityId);
using LoadLocalCommunityData = bool (*)(int communityId, QVariantMap *out);

QString tabStyle(bool current)
{
    return QStringLiteral("QPushButton{border:none;border-bottom:3px solid %1;font-size:14px;padding:6px 12px;}")
        .arg(current ? QStringLiteral("rgb(12,145,235)") : QStringLiteral("rgb(220,220,220)"));
}

} // namespace

MySaleHouseDetailWidget::MySaleHouseDetailWidget(QWidget *parent, int firstTab, int firstPageFlag)
    : QWidget(parent)
    , m_firstTab(firstTab)
    , m_firstPageFlag(firstPageFlag)
{
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildTitleBar());
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("detailStackedWidget"));
    layout->addWidget(m_stack, 1);
    m_overlay = new BusyOverlay(this);
    m_views = new ListingViewService(this);
    connect(m_views, &ListingViewService::viewed, this, [this](int id) { viewAnswered(id, false); });
    connect(m_views, &ListingViewService::viewRefused, this, [this](int id) { viewAnswered(id, true); });
    connect(m_views, &ListingViewService::followFirst, this, &MySaleHouseDetailWidget::followFirst);
    connect(m_views, &ListingViewService::assigned, this, &MySaleHouseDetailWidget::assignEnded);
    connect(m_views, &ListingViewService::assignFailed, this, &MySaleHouseDetailWidget::assignEnded);
    connect(CommonSignalTool::Instance(), &CommonSignalTool::localHouseChange, this,
            &MySaleHouseDetailWidget::refreshBaseMsg);
    showTab(m_firstTab >= DetailTab && m_firstTab <= PromotionTab ? m_firstTab : DetailTab);
}

QWidget *MySaleHouseDetailWidget::buildTitleBar()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("titleBar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(10, 0, 10, 0);
    row->setSpacing(10);
    row->addWidget(tabButton(bar, "firstPagePushButton", QStringLiteral("房源详情"), DetailTab));
    row->addWidget(tabButton(bar, "secondPagePushButton", QStringLiteral("房源实勘"), SurveyTab));
    row->addWidget(tabButton(bar, "pushButton_describes", QStringLiteral("房源推广"), PromotionTab));
    row->addWidget(tabButton(bar, "thirdPagePushButton", QStringLiteral("小区档案"), CommunityTab));
    row->addStretch(1);
    return bar;
}

QPushButton *MySaleHouseDetailWidget::tabButton(QWidget *bar, const char *name, const QString &text, int tab)
{
    auto *button = new QPushButton(text, bar);
    button->setObjectName(QLatin1String(name));
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QPushButton::clicked, this, [this, tab] { showTab(tab); });
    m_tabButtons.insert(tab, button);
    return button;
}

void MySaleHouseDetailWidget::styleTabButtons()
{
    for (auto it = m_tabButtons.cbegin(); it != m_tabButtons.cend(); ++it)
        it.value()->setStyleSheet(tabStyle(it.key() == m_currentTab));
}

void MySaleHouseDetailWidget::showTab(int tab)
{
    if (!m_tabButtons.contains(tab))
        return;
    QWidget *page = m_pages.value(tab);
    if (!page) {
        page = createPage(tab);
        m_pages.insert(tab, page);
        m_stack->addWidget(page);
    }
    m_currentTab = tab;
    m_stack->setCurrentWidget(page);
    styleTabButtons();
    if (tab == CommunityTab)
        showCommunity();
}

QWidget *MySaleHouseDetailWidget::createPage(int tab)
{
    switch (tab) {
    case DetailTab:
        return createFirstPage();
    case CommunityTab:
        return createCommunityPage();
    case SurveyTab: {
        auto *survey = new HouseBookPhotoStackWidget;
        if (m_record.id > 0)
            survey->setListing(m_record);
        return survey;
    }
    default:
        return createPromotionPage();
    }
}

// The page of the shown listing's kind; a listing of the other kind gets its own page later.
QWidget *MySaleHouseDetailWidget::createPromotionPage()
{
    DescribePageBase *page = m_rent ? static_cast<DescribePageBase *>(new HouseDetailDescribesWidget)
                                    : new SaleHouseDetailDescribeWidget;
    page->setObjectName(QStringLiteral("promotionPage"));
    connect(page, &DescribePageBase::lastHouse, this, &MySaleHouseDetailWidget::loadLastPage);
    connect(page, &DescribePageBase::nextHouse, this, &MySaleHouseDetailWidget::loadNextPage);
    if (m_record.id > 0)
        page->showRecord(m_record);
    return page;
}

// Shows the listing on the promotion tab, replacing the page when the kind of listing changed.
void MySaleHouseDetailWidget::fillPromotionPage()
{
    auto *page = qobject_cast<DescribePageBase *>(m_pages.value(PromotionTab));
    if (!page)
        return;
    if (page->isRentPage() != m_rent) {
        m_pages.remove(PromotionTab);
        const bool current = m_currentTab == PromotionTab;
        page->deleteLater();
        if (current)
            showTab(PromotionTab);
        return;
    }
    page->showRecord(m_record);
}

QWidget *MySaleHouseDetailWidget::createFirstPage()
{
    m_firstPage = new HouseDetailFirstPageWidget;
    m_firstPage->setObjectName(QStringLiteral("houseDetailFirstPage"));
    connect(m_firstPage, &HouseDetailFirstPageWidget::closeWidget, this, &MySaleHouseDetailWidget::closeThisWidget);
    connect(m_firstPage, &HouseDetailFirstPageWidget::goToPhoto, this, [this] { showTab(SurveyTab); });
    connect(m_firstPage, &HouseDetailFirstPageWidget::houseEdit, this, &MySaleHouseDetailWidget::houseEdit);
    connect(m_firstPage, &HouseDetailFirstPageWidget::lastHouse, this, &MySaleHouseDetailWidget::loadLastPage);
    connect(m_firstPage, &HouseDetailFirstPageWidget::nextHouse, this, &MySaleHouseDetailWidget::loadNextPage);
    connect(m_firstPage, &HouseDetailFirstPageWidget::followSuccess, this, [this] { m_followedHere = true; });
    connect(m_firstPage, &HouseDetailFirstPageWidget::fenPei, this, &MySaleHouseDetailWidget::fenPeiDeal);
    connect(m_firstPage, &HouseDetailFirstPageWidget::watchKeyMessage, this, &MySaleHouseDetailWidget::watchKeyMessage);
    if (m_requestedId != 0)
        fillFirstPage();
    return m_firstPage;
}

QWidget *MySaleHouseDetailWidget::createCommunityPage()
{
    m_communityPage = new QWidget;
    m_communityPage->setObjectName(QStringLiteral("communityPage"));
    auto *layout = new QVBoxLayout(m_communityPage);
    layout->setContentsMargins(0, 0, 0, 0);
    // Above the archive: the community's other listings, each of which opens here too.
    auto *bar = new QHBoxLayout;
    bar->addStretch(1);
    auto *listings = new QPushButton(QStringLiteral("小区房源"), m_communityPage);
    listings->setObjectName(QStringLiteral("communityListingsButton"));
    connect(listings, &QPushButton::clicked, this, [this] {
        if (m_record.mycommunityid > 0)
            HouseBookCommunityHouseListWidget::openFor(this, m_record.mycommunityid, HouseBookCodes::kJointSale,
                                                       m_record.types == 1);
    });
    bar->addWidget(listings);
    layout->addLayout(bar);
    return m_communityPage;
}

// The archive follows the shown listing: a new community replaces the library's widget.
void MySaleHouseDetailWidget::showCommunity()
{
    if (!m_communityPage || m_communityShown == m_record.mycommunityid)
        return;
    m_communityShown = m_record.mycommunityid;
    QLayout *layout = m_communityPage->layout();
    while (QLayoutItem *item = layout->takeAt(1)) {  // the bar above the archive stays
        delete item->widget();
        delete item;
    }
    const auto show = SiblingLibrary::resolveAs<LocalCommunityShow>(kCommunityLibrary, "localCommunityShow");
    QWidget *archive = show ? show(m_communityPage, m_record.mycommunityid) : nullptr;
    if (!archive) {
        archive = new QWidget(m_communityPage);
        fillPlaceholder(archive, QStringLiteral("小区档案"));
    }
    layout->addWidget(archive);
}

void MySaleHouseDetailWidget::houseDataDeal(const HouseMessage_DataSqlTable::HouseMessageData &model, int page,
                                            bool hideNavigation, bool refreshed)
{
    if (page != m_requestedId) {
        // The rule binds the listing it was raised on, or the one "去跟进" sent the agent to.
        m_mustFollowActive = m_followTarget > 0 && page == m_followTarget;
        m_followedHere = false;
    }
    m_followTarget = 0;
    m_record = model;
    m_requestedId = page;
    m_hideNavigation = hideNavigation;
    m_refreshed = refreshed;
    m_rent = model.types == 1;
    fillFirstPage();
    if (auto *survey = qobject_cast<HouseBookPhotoStackWidget *>(m_pages.value(SurveyTab)))
        survey->setListing(m_record);
    fillPromotionPage();
    readCommunityData();
    if (m_currentTab == CommunityTab)
        showCommunity();
    if (model.id <= 0 && page > 0) {
        if (m_mustFollowActive)
            clearMustFollow();
        m_mustFollowActive = false;
        offerRefresh();
        return;
    }
    if (model.id > 0)
        m_views->recordView(model.id, m_rent);
}

void MySaleHouseDetailWidget::fillFirstPage()
{
    if (!m_firstPage)
        return;
    m_firstPage->showRecord(m_record, m_refreshed, m_rent);
    m_firstPage->setNavigationHidden(m_hideNavigation);
}

// The library is optional: without it the archive tab says so when chosen, and the
// listing shows without its community record.
void MySaleHouseDetailWidget::readCommunityData()
{
    m_communityData.clear();
    if (m_record.mycommunityid <= 0)
        return;
    QLibrary library(SiblingLibrary::filePath(kCommunityLibrary));
    const auto load = library.load()
        ? reinterpret_cast<LoadLocalCommunityData>(library.resolve("loadLocalCommunityData"))
        : nullptr;
    QVariantMap data;
    if (load && load(m_record.mycommunityid, &data))
        m_communityData = data;
}

// The window's boxes go with it: a box about a listing no longer shown would mislead.
AlertWidget *MySaleHouseDetailWidget::ownBox(const QString &text, int buttonMode)
{
    return new AlertWidget(text, AlertWidget::WarningIcon, buttonMode, QStringLiteral("main"), this);
}

void MySaleHouseDetailWidget::offerRefresh()
{
    auto *box = ownBox(QStringLiteral("不能检索到该房源信息，您可以尝试刷新一下。"), AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("刷新"));
    box->setCancleText(QStringLiteral("我知道了"));
    connect(box, &AlertWidget::sureClick, this, &MySaleHouseDetailWidget::loadLocalData);
}

void MySaleHouseDetailWidget::loadLocalData()
{
    m_overlay->start(QStringLiteral("数据加载中..."));
    auto *store = new BaseSqlObject(nullptr, kJointSale);
    connect(store, &BaseSqlObject::loadDataFinish, this, [this] { m_overlay->stop(); });
    connect(store, &BaseSqlObject::loadDataFinish, store, &QObject::deleteLater);
    store->download_house();
}

void MySaleHouseDetailWidget::viewAnswered(int id, bool refused)
{
    if (id != m_record.id)
        return;  // the agent has moved on to another listing
    if (refused)
        emit closeWidget();
    else
        readSuccess();
}

void MySaleHouseDetailWidget::readSuccess()
{
    if (m_communityData.isEmpty())
        readCommunityData();
}

void MySaleHouseDetailWidget::followFirst(int waitingId, const QString &message)
{
    Q_UNUSED(message)
    auto *box = ownBox(QStringLiteral("您有房源尚查看后未跟进，请先跟进后再查看其它房源！"), AlertWidget::KnowOnly);
    box->setKnowText(QStringLiteral("去跟进"));
    connect(box, &AlertWidget::knowClick, this, [this, waitingId] {
        if (waitingId <= 0)
            return;
        m_followTarget = waitingId;
        m_mustFollowActive = true;
        emit loadHouseId(waitingId);
    });
}

bool MySaleHouseDetailWidget::mustFollowPasses(bool showMessage)
{
    if (!m_firstPage || !m_mustFollowActive || m_record.id <= 0)
        return true;
    const bool isPrivate = m_record.stype == 1;
    const int item = isPrivate ? kPrivateMustFollowItem : kPublicMustFollowItem;
    const bool granted = UserMessage_DataSqlTable(nullptr, kJointSale).isHaveAuthority(item);
    const bool followed = m_followedHere || m_firstPage->followed();
    if (granted && !DataCenter::isJointSaleManger && !followed) {
        sendMustFollow();
        if (showMessage)
            ownBox(isPrivate ? QStringLiteral("私盘房源设置了查看必跟进，请填写跟进后，再进行其他操作！")
                             : QStringLiteral("公盘房源设置了查看必跟进，请填写跟进后，再进行其他操作！"),
                   AlertWidget::KnowOnly);
        return false;
    }
    clearMustFollow();
    return true;
}

void MySaleHouseDetailWidget::closeThisWidget()
{
    if (mustFollowPasses(true))
        emit closeWidget();
}

void MySaleHouseDetailWidget::loadLastPage()
{
    if (mustFollowPasses(true))
        emit lastPage();
}

void MySaleHouseDetailWidget::loadNextPage()
{
    if (mustFollowPasses(true))
        emit nextPage();
}

void MySaleHouseDetailWidget::watchKeyMessage()
{
    m_mustFollowActive = true;
    mustFollowPasses(false);
}

void MySaleHouseDetailWidget::sendMustFollow()
{
    m_views->sendMustFollow(m_record.id, m_rent);
}

void MySaleHouseDetailWidget::clearMustFollow()
{
    m_views->clearMustFollow();
}

void MySaleHouseDetailWidget::refreshBaseMsg(QVariant value)
{
    if (value.userType() != QMetaType::QStringList)
        return;
    const QStringList ids = value.toStringList();
    if (ids.isEmpty() || (m_requestedId > 0 && ids.contains(QString::number(m_requestedId))))
        emit refreshBaseMessage();
}

void MySaleHouseDetailWidget::fenPeiDeal()
{
    auto *chooser = new JointSale_PersonOrDepartmentChooseWidget(nullptr, PersonOrDepartmentChooseWidget::People, false);
    chooser->setObjectName(QStringLiteral("fenPeiChooser"));
    const QVariantMap last = LastAssignee::load();
    if (!last.isEmpty())
        chooser->setChosen({last});
    auto *popup = new CommonAddWidget(this, QStringLiteral("main"), true);
    popup->setTitle(QStringLiteral("选择要指定的录入人"), QColor(0, 0, 0, 30));
    popup->setContentWidget(chooser);
    popup->resize(chooser->sizeHint().expandedTo(QSize(600, 500)));
    connect(chooser, &PersonOrDepartmentChooseWidget::backSingleChoose, popup, [this, popup](const QVariantMap &person) {
        LastAssignee::store(person);
        popup->closeWidget();
        fenPeiHouse(person);
    });
    popup->show();
}

void MySaleHouseDetailWidget::fenPeiHouse(QVariantMap map)
{
    const QString question = QStringLiteral("你确定要将该房源分配给%1-%2-%3<%4>吗？")
                                 .arg(map.value(QStringLiteral("companyname")).toString(),
                                      map.value(QStringLiteral("storename")).toString(),
                                      map.value(QStringLiteral("name")).toString(),
                                      map.value(QStringLiteral("phone")).toString());
    auto *box = ownBox(question, AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("分配"));
    const HouseMessage_DataSqlTable::HouseMessageData record = m_record;
    connect(box, &AlertWidget::sureClick, this, [this, record, map] {
        m_overlay->start(QStringLiteral("分配中..."));
        m_views->assign(record, map);
    });
}

void MySaleHouseDetailWidget::assignEnded()
{
    m_overlay->stop();
}

void MySaleHouseDetailWidget::houseEdit(bool oa)
{
    realDataEdit(m_record, oa);
}

// The entry form in edit mode; once it has saved the listing, the window shows it anew.
void MySaleHouseDetailWidget::realDataEdit(HouseMessage_DataSqlTable::HouseMessageData model, bool oa)
{
    Q_UNUSED(oa)
    if (model.id <= 0)
        return;
    ListingEntryForm *form = ListingFormLauncher::open(this, ListingFormLauncher::Purpose::Edit,
                                                       HouseBookCodes::isRentListing(model.types), model);
    connect(form, &ListingEntryForm::addHouseSuccess, this, &MySaleHouseDetailWidget::refreshBaseMessage);
}

void MySaleHouseDetailWidget::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if ((mods == Qt::AltModifier && key == Qt::Key_Left) || (mods == Qt::NoModifier && key == Qt::Key_PageUp))
        loadLastPage();
    else if ((mods == Qt::AltModifier && key == Qt::Key_Right) || (mods == Qt::NoModifier && key == Qt::Key_PageDown))
        loadNextPage();
    else if (mods == Qt::NoModifier && key == Qt::Key_Escape)
        closeThisWidget();
    else if (event->matches(QKeySequence::Copy) && m_record.id > 0)
        QApplication::clipboard()->setText(QString::number(m_record.id));
    else
        return QWidget::keyPressEvent(event);
    event->accept();
}
