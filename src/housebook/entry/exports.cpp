#include "entry/exports.h"

#include "customtabwidget.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/listingformlauncher.h"
#include "detail/mysalehousedetailwidget.h"
#include "entry/permissiongate.h"
#include "entry_forms/listingentryform.h"
#include "list/housebooklistwidget.h"
#include "list/housebookweihupeopleneeddealwidget.h"
#include "platform/housebookcodes.h"
#include "separation/highseperatereporthistorywidget.h"
#include "settings/housebooksetwidget.h"
#include "settings/permissionhousebookwidget.h"
#include "widgets/alertwidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStackedWidget>

using namespace HouseBookCodes;

namespace {

struct ListKind
{
    QString title;
    int mode;
};

// Book tabs the host asks for by number: 0 sale book, 1 rent book, 2 my sale, 3 my rent.
ListKind listKind(int kind)
{
    switch (kind) {
    case 0:
        return {QStringLiteral("出售房源"), ActiveSaleMode};
    case 1:
        return {QStringLiteral("出租房源"), ActiveRentMode};
    case 2:
        return {QStringLiteral("我的出售"), MySaleMode};
    case 3:
        return {QStringLiteral("我的出租"), MyRentMode};
    default:
        return {QString(), ActiveSaleMode};
    }
}

int subModeOf(int subMode)
{
    return (subMode >= 0 && subMode <= 3) ? subMode : 0;
}

// Adds the page to the host's stacked widget when missing and makes it current.
void showStacked(QStackedWidget *stack, QWidget *page)
{
    if (!stack || !page)
        return;
    if (stack->indexOf(page) < 0)
        stack->addWidget(page);
    stack->setCurrentWidget(page);
}

QStackedWidget *stackOf(QStackedWidget **slot)
{
    return slot ? *slot : nullptr;
}

// A worklist page: built once in sale or rent mode, then switched to its worklist on every call.
void loadWorklist(QWidget *parent, QStackedWidget **stack, HouseBookListWidget **slot, int mode,
                  void (HouseBookListWidget::*select)())
{
    if (!slot)
        return;
    if (!*slot) {
        *slot = new HouseBookListWidget(parent);
        (*slot)->setMode(mode, 0);
    }
    ((*slot)->*select)();
    showStacked(stackOf(stack), *slot);
}

// The listing record of the local joint-sale store for an id; id 0 when there is none.
HouseMessage_DataSqlTable::HouseMessageData localListing(int id)
{
    if (id <= 0)
        return HouseMessage_DataSqlTable::HouseMessageData();
    auto *store = new HouseMessage_DataSqlTable(nullptr, kJointSale);
    const HouseMessage_DataSqlTable::HouseMessageData record = store->getHouseData(id);
    store->deleteLater();
    return record;
}

void openNewListingForm(QWidget *parent, bool rent)
{
    if (!PermissionGate::mayEnterListings(QStringLiteral("您当前职位不支持录入新房源权限！")))
        return;
    ListingFormLauncher::open(parent, ListingFormLauncher::Purpose::NewListing, rent);
}

void openPublishForm(QWidget *parent, bool rent, const HouseMessage_DataSqlTable::HouseMessageData &model,
                     HostCallback callback, void *context)
{
    if (!PermissionGate::mayEnterListings(QStringLiteral("您当前职位不支持录入新联卖房源权限！")))
        return;
    ListingEntryForm *form = ListingFormLauncher::open(parent, ListingFormLauncher::Purpose::Publish, rent, model);
    QObject::connect(form, &ListingEntryForm::addHouseSuccess, [callback, context](int id) {
        HostNotify::sendJson(callback, context,
                             QJsonObject{{QStringLiteral("type"), QStringLiteral("addSuccess")},
                                         {QStringLiteral("value"), id}});
        AlertWidget::tip(QStringLiteral("推送至联卖系统成功，等待审核中！"));
    });
}

QJsonObject typeMessage(const QString &type)
{
    return QJsonObject{{QStringLiteral("type"), type}};
}

void connectDetailToHost(MySaleHouseDetailWidget *page, HostCallback callback, void *context)
{
    auto relay = [page, callback, context](const QString &type) {
        return [callback, context, type] { HostNotify::sendJson(callback, context, typeMessage(type)); };
    };
    QObject::connect(page, &MySaleHouseDetailWidget::closeWidget, page, relay(QStringLiteral("close")));
    QObject::connect(page, &MySaleHouseDetailWidget::lastPage, page, relay(QStringLiteral("last_page")));
    QObject::connect(page, &MySaleHouseDetailWidget::nextPage, page, relay(QStringLiteral("next_page")));
    QObject::connect(page, &MySaleHouseDetailWidget::refreshBaseMessage, page,
                     relay(QStringLiteral("refreshBaseMessage")));
    QObject::connect(page, &MySaleHouseDetailWidget::loadHouseId, page, [callback, context](int id) {
        QJsonObject message = typeMessage(QStringLiteral("loadHouseId"));
        message.insert(QStringLiteral("id"), id);
        HostNotify::sendJson(callback, context, message);
    });
}

} // namespace

Qx_jointsale_housebook::Qx_jointsale_housebook() = default;

Qx_jointsale_housebook &Qx_jointsale_housebook::operator=(const Qx_jointsale_housebook &)
{
    return *this;
}

int getVersion()
{
    return 2;
}

void loadHouseListWidget(QWidget *parent, CustomTabWidget **tabWidget, QPointer<HouseBookListWidget> *page,
                         int listKind, int subMode)
{
    if (!page)
        return;
    CustomTabWidget *tabs = tabWidget ? *tabWidget : nullptr;
    if (*page) {
        if (tabs)
            tabs->setCurrentWidget(page->data());
        return;
    }
    const ListKind kind = ::listKind(listKind);
    auto *list = new HouseBookListWidget(parent);
    *page = list;
    list->setObjectName(kind.title);
    list->setMode(kind.mode, subModeOf(subMode));
    if (tabs)
        tabs->addTabWidget(kind.title, list);
}

void loadHouseListWidget_2(QWidget *parent, QStackedWidget **stackedWidget, HouseBookListWidget **page,
                           int listKind, int subMode)
{
    if (!page)
        return;
    if (!*page) {
        *page = new HouseBookListWidget(parent);
        (*page)->setMode(::listKind(listKind).mode, subModeOf(subMode));
    }
    showStacked(stackOf(stackedWidget), *page);
}

void loadNeedDealHouseList(QWidget *parent, QStackedWidget **stackedWidget, HouseBookListWidget **page, int kind)
{
    loadWorklist(parent, stackedWidget, page, kind == 1 ? MyRentMode : MySaleMode, &HouseBookListWidget::showNeedDeal);
}

void loadNeedReviewHouseList(QWidget *parent, QStackedWidget **stackedWidget, HouseBookListWidget **page, int kind)
{
    loadWorklist(parent, stackedWidget, page, kind == 1 ? ActiveRentMode : ActiveSaleMode, &HouseBookListWidget::showNeedReview);
}

void loadNeedXieZuoHouseList(QWidget *parent, QStackedWidget **stackedWidget, HouseBookListWidget **page, int kind)
{
    loadWorklist(parent, stackedWidget, page, kind == 1 ? ActiveRentMode : ActiveSaleMode, &HouseBookListWidget::showNeedXieZuo);
}

void loadWeiHuHouseList(QWidget *parent, QStackedWidget **stackedWidget,
                        HouseBookWeiHuPeoPleNeedDealWidget **page, int flag)
{
    if (!page)
        return;
    if (!*page)
        *page = new HouseBookWeiHuPeoPleNeedDealWidget(parent, flag == 0);
    showStacked(stackOf(stackedWidget), *page);
}

void loadJubaoReviewHouseList(QWidget *parent, QStackedWidget **stackedWidget, HighSeperateReportHistoryWidget **page)
{
    if (!page)
        return;
    if (!*page) {
        HighSeperateReportHistoryWidget::setDetailOpener(&ListingFormLauncher::openDetail);
        *page = new HighSeperateReportHistoryWidget(parent, 1);
    }
    showStacked(stackOf(stackedWidget), *page);
}

void houseListRefresh(HouseBookListWidget **page)
{
    if (page && *page)
        (*page)->refreshPage();
}

void weihuListRefresh(HouseBookWeiHuPeoPleNeedDealWidget **page)
{
    if (page && *page)
        (*page)->refreshPage();
}

void reportListRefresh(HighSeperateReportHistoryWidget **page)
{
    if (page && *page) {
        (*page)->setPageIndex(1);
        (*page)->download_list();
    }
}

void loadHouseDetail(QWidget *parent, QStackedWidget *stackedWidget, QPointer<MySaleHouseDetailWidget> *page,
                     QString json, HostCallback callback, void *context)
{
    if (!page)
        return;
    if (!*page) {
        auto *detail = new MySaleHouseDetailWidget(parent, 1, 1);
        *page = detail;
        connectDetailToHost(detail, callback, context);
    }
    showStacked(stackedWidget, page->data());

    const QJsonDocument doc = QJsonDocument::fromJson(json.toUtf8());
    const QVariantMap map = doc.isObject() ? doc.object().toVariantMap() : QVariantMap();
    const int id = map.value(QStringLiteral("id")).toInt();
    const bool hidePage = map.value(QStringLiteral("hidePage")).toBool();
    (*page)->houseDataDeal(localListing(id), id, hidePage, false);
}

void loadHouseBookDetail(QWidget *parent, int houseId, int firstTab, int firstPageFlag,
                         HostCallback callback, void *context)
{
    auto *detail = new HouseBookMessageDetailWidget(parent, firstTab, firstPageFlag);
    CommonAddWidget *popup = openPopup(parent, PopupSize::Detail, QString(), detail);
    QObject::connect(popup, &QObject::destroyed, [callback, context] {
        HostNotify::send(callback, context, QStringLiteral("close"));
    });
    QObject::connect(detail, &HouseBookMessageDetailWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    detail->showHouseId(houseId);
}

void addNewRentHouse(QWidget *parent)
{
    openNewListingForm(parent, true);
}

void addNewSaleHouse(QWidget *parent)
{
    openNewListingForm(parent, false);
}

void addRentHouse(QWidget *parent, HouseMessage_DataSqlTable::HouseMessageData model,
                  HostCallback callback, void *context)
{
    openPublishForm(parent, true, model, callback, context);
}

void addSaleHouse(QWidget *parent, HouseMessage_DataSqlTable::HouseMessageData model,
                  HostCallback callback, void *context)
{
    openPublishForm(parent, false, model, callback, context);
}

void showHouseBookSet(QWidget *parent, HostCallback callback, void *context)
{
    CommonAddWidget *popup = HouseBookSetWidget::openSettings(parent);
    auto *settings = qobject_cast<HouseBookSetWidget *>(popup->contentWidget());
    QObject::connect(settings, &HouseBookSetWidget::setSuccess, popup, [callback, context] {
        HostNotify::send(callback, context, QStringLiteral("success"));
    });
}

void initAutuView(QWidget *parent, QStackedWidget *stackedWidget, PermissionHouseBookWidget **page,
                  QList<QVariantMap> ranges, HostCallback callback, void *context)
{
    if (!page)
        return;
    if (!*page) {
        *page = new PermissionHouseBookWidget(parent);
        QObject::connect(*page, &PermissionHouseBookWidget::valueChange, *page,
                         [callback, context](const QList<QVariantMap> &list) {
                             QJsonArray array;
                             for (const QVariantMap &entry : list)
                                 array.append(QJsonObject::fromVariantMap(entry));
                             HostNotify::sendJson(callback, context, array);
                         });
    }
    showStacked(stackedWidget, *page);
    (*page)->setPermissionList(ranges);
}
