#include "sql/basesqlobject.h"

#include "commonsignaltool.h"
#include "datacenter.h"
#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "platform/housebookcodes.h"
#include "net/wholenumber.h"
#include "sql/basemessage_sqltable.h"
#include "sql/booksyncstatus.h"
#include "sql/cityhouseset_datasqltable.h"
#include "sql/housebookcatalogue.h"
#include "sql/housebookset_sqltable.h"
#include "sql/usermessage_datasqltable.h"

#include <QHash>
#include <QJsonObject>
#include <QJsonValue>

#include <limits>

// Settings and reference downloads, one type code each, and running several codes.
//
// Every download has one shape: postDownload posts the form, the code's dealData_ slot
// stores the reply through a short-lived table object and reports success, and its
// finshData_ slot reports the end, which comes whether the request succeeded or not.
// A reply that does not have the shape its column holds is dropped, so a bad answer
// never replaces good stored data.
//
// While the login window is in front nothing is fetched or stored, but every code still
// ends, exactly once: pages delete their download objects on that end.

using namespace HouseBookCodes;

namespace {

// What a stored value must look like to be accepted.
enum class Shape { List, Object, Structured, Any };

// A reply value as it is to be stored: JSON sent as text is taken for what it holds, other
// text is kept as it is, and empty text (what a null `data` arrives as) is nothing.
QJsonValue replyValue(const QJsonValue &value)
{
    if (!value.isString())
        return value;
    const QJsonValue inner = HouseBookCatalogue::fromText(value.toString());
    if (inner.isUndefined() && !value.toString().trimmed().isEmpty())
        return value;
    return inner;
}

bool fits(const QJsonValue &value, Shape shape)
{
    switch (shape) {
    case Shape::List:
        return value.isArray();
    case Shape::Object:
        return value.isObject();
    case Shape::Structured:
        return value.isArray() || value.isObject();
    case Shape::Any:
        break;
    }
    return !value.isNull() && !value.isUndefined();
}

// Runs one operation on a table object made for it and released afterwards.
template <typename Table, typename Operation>
bool withTable(bool isJointSale, Operation operation)
{
    auto *table = new Table(nullptr, isJointSale);
    const bool done = operation(*table);
    table->deleteLater();
    return done;
}

bool storeBaseMessage(bool isJointSale, const QString &column, const QJsonValue &reply, Shape shape)
{
    const QJsonValue value = replyValue(reply);
    return fits(value, shape) && withTable<BaseMessage_SqlTable>(isJointSale, [&](BaseMessage_SqlTable &t) {
               return t.setJsonValue(column, value);
           });
}

bool storeUserColumn(bool isJointSale, const QString &column, const QJsonValue &reply, Shape shape)
{
    const QJsonValue value = replyValue(reply);
    return fits(value, shape) && withTable<UserMessage_DataSqlTable>(isJointSale, [&](UserMessage_DataSqlTable &t) {
               return t.updateColumn(column, HouseBookCatalogue::toText(value));
           });
}

// The customer book's sale, rent and new-house settings. The reply names each one after its
// column, or after the book's kind as the call settings name the same three books
// ("ershoufang", "zufang", "xinfang"). Missing or malformed members keep their column.
bool storeCustomerBookSet(bool isJointSale, const QJsonValue &reply)
{
    static const QList<QPair<QString, QString>> members{
        {QStringLiteral("customersaleset"), QStringLiteral("ershoufang")},
        {QStringLiteral("customerrentset"), QStringLiteral("zufang")},
        {QStringLiteral("customernewhouseset"), QStringLiteral("xinfang")}};
    const QJsonObject object = replyValue(reply).toObject();
    bool stored = false;
    for (const auto &member : members) {
        const QJsonValue value = object.contains(member.first) ? object.value(member.first) : object.value(member.second);
        stored = storeBaseMessage(isJointSale, member.first, value, Shape::Object) || stored;
    }
    return stored;
}

// The city's list configuration: showsort from "showsort", searchsort from "search". Written
// member by member, so a reply lacking one keeps the stored order of the other.
bool storeCityHouseSet(bool isJointSale, const QJsonValue &reply)
{
    static const QList<QPair<QString, QString>> members{{QStringLiteral("showsort"), QStringLiteral("showsort")},
                                                        {QStringLiteral("searchsort"), QStringLiteral("search")}};
    const QJsonObject object = replyValue(reply).toObject();
    return withTable<CityHouseSet_DataSqlTable>(isJointSale, [&](CityHouseSet_DataSqlTable &t) {
        bool stored = false;
        for (const auto &member : members) {
            const QJsonValue value = replyValue(object.value(member.second));
            if (fits(value, Shape::Structured))
                stored = t.updateColumn(member.first, HouseBookCatalogue::toText(value)) || stored;
        }
        return stored;
    });
}

bool storeXieZuoSet(bool isJointSale, bool sale, const QJsonValue &reply)
{
    const QJsonValue value = replyValue(reply);
    return withTable<HouseBookSet_SqlTable>(isJointSale, [&](HouseBookSet_SqlTable &t) {
        return t.storeXieZuoSet(sale, value);
    });
}

// The alliance company id: a whole number of at least 0, as a number or as numeric text.
bool readCompanyId(const QJsonValue &value, int &id)
{
    qint64 number = -1;
    if (value.isDouble()) {
        if (!WholeNumber::fromDouble(value.toDouble(), &number))
            return false;
    } else if (value.isString()) {
        bool ok = false;
        number = value.toString().trimmed().toLongLong(&ok);
        if (!ok)
            return false;
    }
    if (number < 0 || number > std::numeric_limits<int>::max())
        return false;
    id = static_cast<int>(number);
    return true;
}

// A yes/no flag: a boolean, 0 or 1, or the texts "true", "false", "1", "0".
bool readFlag(const QJsonValue &value, bool &flag)
{
    if (value.isBool()) {
        flag = value.toBool();
        return true;
    }
    const QString text = value.isDouble() ? QString::number(value.toDouble()) : value.toString().trimmed().toLower();
    if (text != QLatin1String("true") && text != QLatin1String("false") && text != QLatin1String("1")
        && text != QLatin1String("0"))
        return false;
    flag = text == QLatin1String("true") || text == QLatin1String("1");
    return true;
}

// Right 132 (view scope) limits the default scope to a distance around the user's
// departments; the server returns the communities within it, which the list then shows.
constexpr int kViewScopeRight = 132;

// deptids: the user's own departments, joined by ","; distance: the metres of right 132 when
// it is held with the default scope (its `count`, else `distance`), otherwise 0 (no limit).
QVariantMap watchRangeForm(bool isJointSale)
{
    QVariantMap form;
    withTable<UserMessage_DataSqlTable>(isJointSale, [&](UserMessage_DataSqlTable &user) {
        const QVariantMap right = user.authorityItem(kViewScopeRight);
        const bool limited = user.authorityRange(kViewScopeRight) == UserMessage_DataSqlTable::RangeDefault;
        const int metres = WholeNumber::toInt(right.value(QStringLiteral("count"), right.value(QStringLiteral("distance"))));
        form.insert(QStringLiteral("deptids"), user.ownDepartmentIds().join(QLatin1Char(',')));
        form.insert(QStringLiteral("distance"), QString::number(limited ? qMax(metres, 0) : 0));
        return true;
    });
    return form;
}

using StartSlot = void (BaseSqlObject::*)();

// The download slot of every code that can be started by its number. Code 1 takes arguments
// and is started apart; code 18 needs the added columns and is started by the column upgrade.
const QHash<int, StartSlot> &startSlots()
{
    static const QHash<int, StartSlot> table{
        {DistrictAndAreaDownload, &BaseSqlObject::download_DistricAndArea},
        {PublicCategoryDownload, &BaseSqlObject::download_PublicCategory},
        {JobListDownload, &BaseSqlObject::download_JobList},
        {UserInitDownload, &BaseSqlObject::download_userInit},
        {HouseBookSetDownload, &BaseSqlObject::download_HouseBookSet},
        {HouseBookCategoryDownload, &BaseSqlObject::download_HouseBookCategory},
        {AllStaffListDownload, &BaseSqlObject::download_allStaffList},
        {AllStoreListDownload, &BaseSqlObject::download_allStoreList},
        {AppListDownload, &BaseSqlObject::download_applist},
        {UserAuthDownload, &BaseSqlObject::download_userAuth},
        {CityHouseSetDownload, &BaseSqlObject::download_cityHouseSet},
        {CloudDistrictDownload, &BaseSqlObject::download_cloudDistrict},
        {CustomerBookSetDownload, &BaseSqlObject::download_customerBookSet},
        {CustomerBookBaseSetDownload, &BaseSqlObject::download_customerBookBaseSet},
        {SaleContractSetDownload, &BaseSqlObject::download_saleContractSet},
        {RentContractSetDownload, &BaseSqlObject::download_rentContractSet},
        {CallBabyBaseSetDownload, &BaseSqlObject::download_callBabyBaseSet},
        {WatchCommunityListDownload, &BaseSqlObject::download_watchCommunityList},
        {CompanyAllStaffDepartmentDownload, &BaseSqlObject::downloadCompanyAllStaffDepartment},
        {MyDepartmentDownload, &BaseSqlObject::downloadMyDepartment},
        {JointSaleMsgDownload, &BaseSqlObject::downloadJointSaleMsg},
        {IsJointReviewDownload, &BaseSqlObject::downloadIsJointReviewMsg},
        {SaleXieZuoSetDownload, &BaseSqlObject::downloadHouseBookSaleXieZuoSet},
        {RentXieZuoSetDownload, &BaseSqlObject::downloadHouseBookRentXieZuoSet}};
    return table;
}

bool isStartable(int code)
{
    return code == HouseSyncDownload || startSlots().contains(code);
}

} // namespace

// ---- The common shape ----

void BaseSqlObject::postDownload(const QString &url, QVariantMap form,
                                 void (BaseSqlObject::*dealSlot)(const QJsonValue &),
                                 void (BaseSqlObject::*finishSlot)())
{
    if (!m_alive)
        return;
    if (isLoginWindow()) {
        (this->*finishSlot)();
        return;
    }
    if (m_isJointSale)
        form.insert(QStringLiteral("lianmai"), QStringLiteral("1"));
    auto *request = new NetRequestObjecet(this);
    connect(request, &NetRequestObjecet::loadSuccess, this, dealSlot);
    connect(request, &NetRequestObjecet::loadFinish, this, finishSlot);
    // One end per request: a redirect the request would still follow must not end the
    // code a second time.
    connect(request, &NetRequestObjecet::loadFinish, request, [this, request] {
        disconnect(request, nullptr, this, nullptr);
        request->deleteLater();
    });
    BookSyncStatus::postForm(request, url, form, this, [this](const QString &reason) { m_lastFailure = reason; });
}

void BaseSqlObject::reportSuccess(int type)
{
    emit loadDataSuccess(type);
    CommonSignalTool::Instance()->send_baseSqlReq(HubSucceeded, type, nullptr);
}

// The host's sign-in window does not hear of the module's downloads.
void BaseSqlObject::reportFinish(int type)
{
    if (!m_alive)
        return;
    emit loadDataFinish(type);
    if (!isLoginWindow())
        CommonSignalTool::Instance()->send_baseSqlReq(HubEnded, type, nullptr);
}

// ---- Running several codes ----

// Codes that are not started here (18, unknown numbers) are not waited for, so the list
// still ends. An empty list ends at once. While the login window is in front every code
// ends at once without fetching, as a single download does.
void BaseSqlObject::download_id(const QList<int> &download_idList)
{
    if (!m_alive)
        return;
    m_finishedCount = 0;
    m_allReported = false;
    m_downloadIds.clear();
    for (int code : download_idList) {
        if (isStartable(code))
            m_downloadIds << code;
    }
    connect(this, &BaseSqlObject::loadDataFinish, this, &BaseSqlObject::countFinished, Qt::UniqueConnection);
    if (m_downloadIds.isEmpty()) {
        m_allReported = true;
        emit allLoadFinish();
        return;
    }
    // Codes may end while they are started (8, 9, 21, a sync already running), and the last
    // end may release this object.
    const QList<int> codes = m_downloadIds;
    const QPointer<BaseSqlObject> self(this);
    for (int code : codes) {
        if (!self)
            return;
        updataSqlData(code);
    }
}

// Each end of a listed code counts once; a code listed twice is waited for twice.
void BaseSqlObject::countFinished(int type)
{
    if (m_allReported || !m_downloadIds.contains(type))
        return;
    if (++m_finishedCount < m_downloadIds.size())
        return;
    m_allReported = true;
    emit allLoadFinish();
}

void BaseSqlObject::updataSqlData(int download_id)
{
    if (download_id == HouseSyncDownload) {
        download_house(true, false);
        return;
    }
    const StartSlot start = startSlots().value(download_id);
    if (start)
        (this->*start)();
}

// ---- Codes 8, 9 and 21: nothing to fetch, they end at once ----

void BaseSqlObject::download_allStaffList()
{
    if (!m_alive)
        return;
    if (!isLoginWindow())
        reportSuccess(AllStaffListDownload);
    reportFinish(AllStaffListDownload);
}

void BaseSqlObject::download_allStoreList()
{
    if (!m_alive)
        return;
    if (!isLoginWindow())
        reportSuccess(AllStoreListDownload);
    reportFinish(AllStoreListDownload);
}

void BaseSqlObject::downloadCompanyAllStaffDepartment()
{
    if (!m_alive)
        return;
    if (!isLoginWindow())
        reportSuccess(CompanyAllStaffDepartmentDownload);
    reportFinish(CompanyAllStaffDepartmentDownload);
}

// ---- Code 2: districts and areas ----

void BaseSqlObject::download_DistricAndArea()
{
    postDownload(Endpoints::instance().app_getdistric, {}, &BaseSqlObject::dealData_DistricAndArea,
                 &BaseSqlObject::finshData_DistricAndArea);
}

void BaseSqlObject::dealData_DistricAndArea(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("area"), value, Shape::List))
        reportSuccess(DistrictAndAreaDownload);
}

void BaseSqlObject::finshData_DistricAndArea()
{
    reportFinish(DistrictAndAreaDownload);
}

// ---- Code 3: public categories (decoration, deed, house type, tags, layout) ----

void BaseSqlObject::download_PublicCategory()
{
    postDownload(Endpoints::instance().publics_housecategory, {}, &BaseSqlObject::dealData_PublicCategory,
                 &BaseSqlObject::finshData_PublicCategory);
}

void BaseSqlObject::dealData_PublicCategory(const QJsonValue &value)
{
    const QJsonValue reply = replyValue(value);
    if (m_alive && withTable<BaseMessage_SqlTable>(m_isJointSale, [&](BaseMessage_SqlTable &t) {
            return t.storePublicCategory(reply);
        }))
        reportSuccess(PublicCategoryDownload);
}

void BaseSqlObject::finshData_PublicCategory()
{
    reportFinish(PublicCategoryDownload);
}

// ---- Code 4: jobs ----

void BaseSqlObject::download_JobList()
{
    postDownload(Endpoints::instance().workcenter_jobposts, {}, &BaseSqlObject::dealData_JobList,
                 &BaseSqlObject::finshData_JobList);
}

void BaseSqlObject::dealData_JobList(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("job"), value, Shape::List))
        reportSuccess(JobListDownload);
}

void BaseSqlObject::finshData_JobList()
{
    reportFinish(JobListDownload);
}

// ---- Code 5: the user's initialisation ----

void BaseSqlObject::download_userInit()
{
    postDownload(Endpoints::instance().account_initialize, {}, &BaseSqlObject::dealData_userInit,
                 &BaseSqlObject::finshData_userInit);
}

void BaseSqlObject::dealData_userInit(const QJsonValue &value)
{
    if (m_alive && storeUserColumn(m_isJointSale, QStringLiteral("init"), value, Shape::Object))
        reportSuccess(UserInitDownload);
}

void BaseSqlObject::finshData_userInit()
{
    reportFinish(UserInitDownload);
}

// ---- Code 6: the house-book settings ----

void BaseSqlObject::download_HouseBookSet()
{
    postDownload(Endpoints::instance().app_gethousebookconfig, {}, &BaseSqlObject::dealData_HouseBookSet,
                 &BaseSqlObject::finshData_HouseBookSet);
}

void BaseSqlObject::dealData_HouseBookSet(const QJsonValue &value)
{
    const QJsonValue reply = replyValue(value);
    if (m_alive && withTable<HouseBookSet_SqlTable>(m_isJointSale, [&](HouseBookSet_SqlTable &t) {
            return t.storeHouseBookSet(reply);
        }))
        reportSuccess(HouseBookSetDownload);
}

void BaseSqlObject::finshData_HouseBookSet()
{
    reportFinish(HouseBookSetDownload);
}

// ---- Code 7: house-book categories (property, traffic, tags, payment ways, sources) ----

void BaseSqlObject::download_HouseBookCategory()
{
    postDownload(Endpoints::instance().app_gethousebookcategory, {}, &BaseSqlObject::dealData_HouseBookCategory,
                 &BaseSqlObject::finshData_HouseBookCategory);
}

void BaseSqlObject::dealData_HouseBookCategory(const QJsonValue &value)
{
    const QJsonValue reply = replyValue(value);
    if (m_alive && withTable<BaseMessage_SqlTable>(m_isJointSale, [&](BaseMessage_SqlTable &t) {
            return t.storeHouseBookCategory(reply);
        }))
        reportSuccess(HouseBookCategoryDownload);
}

void BaseSqlObject::finshData_HouseBookCategory()
{
    reportFinish(HouseBookCategoryDownload);
}

// ---- Code 10: the application list ----

void BaseSqlObject::download_applist()
{
    postDownload(Endpoints::instance().softpack_basePcAppPosts, {}, &BaseSqlObject::dealData_applist,
                 &BaseSqlObject::finshData_applist);
}

void BaseSqlObject::dealData_applist(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("applist"), value, Shape::Structured))
        reportSuccess(AppListDownload);
}

void BaseSqlObject::finshData_applist()
{
    reportFinish(AppListDownload);
}

// ---- Code 11: the user's rights ----

void BaseSqlObject::download_userAuth()
{
    postDownload(Endpoints::instance().workcenter_currentauth, {}, &BaseSqlObject::dealData_userAuth,
                 &BaseSqlObject::finshData_userAuth);
}

void BaseSqlObject::dealData_userAuth(const QJsonValue &value)
{
    if (m_alive && storeUserColumn(m_isJointSale, QStringLiteral("userauth"), value, Shape::Structured))
        reportSuccess(UserAuthDownload);
}

void BaseSqlObject::finshData_userAuth()
{
    reportFinish(UserAuthDownload);
}

// ---- Code 12: the city's list configuration ----

void BaseSqlObject::download_cityHouseSet()
{
    postDownload(Endpoints::instance().app_getpublicofferconfig, {}, &BaseSqlObject::dealData_cityHouseSet,
                 &BaseSqlObject::finshData_cityHouseSet);
}

void BaseSqlObject::dealData_cityHouseSet(const QJsonValue &value)
{
    if (m_alive && storeCityHouseSet(m_isJointSale, value))
        reportSuccess(CityHouseSetDownload);
}

void BaseSqlObject::finshData_cityHouseSet()
{
    reportFinish(CityHouseSetDownload);
}

// ---- Code 13: cloud-capture items of the user's city ----

void BaseSqlObject::download_cloudDistrict()
{
    postDownload(Endpoints::instance().black_cityList, {{QStringLiteral("cityId"), QString::number(DataCenter::CityID)}},
                 &BaseSqlObject::dealData_cloudDistrict, &BaseSqlObject::finshData_cloudDistrict);
}

void BaseSqlObject::dealData_cloudDistrict(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("clouditem"), value, Shape::Structured))
        reportSuccess(CloudDistrictDownload);
}

void BaseSqlObject::finshData_cloudDistrict()
{
    reportFinish(CloudDistrictDownload);
}

// ---- Code 14: customer-book settings ----

void BaseSqlObject::download_customerBookSet()
{
    postDownload(Endpoints::instance().app_getclientbookconfig, {}, &BaseSqlObject::dealData_customerBookSet,
                 &BaseSqlObject::finshData_customerBookSet);
}

void BaseSqlObject::dealData_customerBookSet(const QJsonValue &value)
{
    if (m_alive && storeCustomerBookSet(m_isJointSale, value))
        reportSuccess(CustomerBookSetDownload);
}

void BaseSqlObject::finshData_customerBookSet()
{
    reportFinish(CustomerBookSetDownload);
}

// ---- Code 15: customer-book base settings ----

void BaseSqlObject::download_customerBookBaseSet()
{
    postDownload(Endpoints::instance().app_getclientbookbconfig, {}, &BaseSqlObject::dealData_customerBookBaseSet,
                 &BaseSqlObject::finshData_customerBookBaseSet);
}

void BaseSqlObject::dealData_customerBookBaseSet(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("customerbaseset"), value, Shape::Object))
        reportSuccess(CustomerBookBaseSetDownload);
}

void BaseSqlObject::finshData_customerBookBaseSet()
{
    reportFinish(CustomerBookBaseSetDownload);
}

// ---- Codes 16 and 17: contract settings of sale and rent ----

void BaseSqlObject::download_saleContractSet()
{
    postDownload(Endpoints::instance().app_scontractSetting, {}, &BaseSqlObject::dealData_saleContractSet,
                 &BaseSqlObject::finshData_saleContractSet);
}

void BaseSqlObject::dealData_saleContractSet(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("salecontractset"), value, Shape::Object))
        reportSuccess(SaleContractSetDownload);
}

void BaseSqlObject::finshData_saleContractSet()
{
    reportFinish(SaleContractSetDownload);
}

void BaseSqlObject::download_rentContractSet()
{
    postDownload(Endpoints::instance().app_scontractrentsetting, {}, &BaseSqlObject::dealData_rentContractSet,
                 &BaseSqlObject::finshData_rentContractSet);
}

void BaseSqlObject::dealData_rentContractSet(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("rentcontractset"), value, Shape::Object))
        reportSuccess(RentContractSetDownload);
}

void BaseSqlObject::finshData_rentContractSet()
{
    reportFinish(RentContractSetDownload);
}

// ---- Code 19: call settings ----

void BaseSqlObject::download_callBabyBaseSet()
{
    postDownload(Endpoints::instance().call_getsetting, {}, &BaseSqlObject::dealData_callBabyBaseSet,
                 &BaseSqlObject::finshData_callBabyBaseSet);
}

void BaseSqlObject::dealData_callBabyBaseSet(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("callbabybaseset"), value, Shape::Object))
        reportSuccess(CallBabyBaseSetDownload);
}

void BaseSqlObject::finshData_callBabyBaseSet()
{
    reportFinish(CallBabyBaseSetDownload);
}

// ---- Code 20: communities within the user's view range ----

void BaseSqlObject::download_watchCommunityList()
{
    // The form reads the user's database, which is not touched while signing in.
    if (!m_alive)
        return;
    if (isLoginWindow()) {
        finshData_watchCommunityList();
        return;
    }
    postDownload(Endpoints::instance().community_search_range, watchRangeForm(m_isJointSale),
                 &BaseSqlObject::dealData_watchCommunityList, &BaseSqlObject::finshData_watchCommunityList);
}

void BaseSqlObject::dealData_watchCommunityList(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("watchcommunitys"), value, Shape::List))
        reportSuccess(WatchCommunityListDownload);
}

void BaseSqlObject::finshData_watchCommunityList()
{
    reportFinish(WatchCommunityListDownload);
}

// ---- Code 22: the user's department tree ----

void BaseSqlObject::downloadMyDepartment()
{
    postDownload(Endpoints::instance().omp_emp_dept_staff_info, {}, &BaseSqlObject::dealData_MyDepartment,
                 &BaseSqlObject::finshData_MyDepartment);
}

void BaseSqlObject::dealData_MyDepartment(const QJsonValue &value)
{
    if (m_alive && storeUserColumn(m_isJointSale, QStringLiteral("bumens"), value, Shape::Structured))
        reportSuccess(MyDepartmentDownload);
}

void BaseSqlObject::finshData_MyDepartment()
{
    reportFinish(MyDepartmentDownload);
}

// ---- Code 23: the user's alliance company and manager flag ----

void BaseSqlObject::downloadJointSaleMsg()
{
    postDownload(Endpoints::instance().lmai_user_info, {}, &BaseSqlObject::dealData_JointSaleMsg,
                 &BaseSqlObject::finshData_JointSaleMsg);
}

// Both members must be readable; otherwise the signed-in state stays as it was.
void BaseSqlObject::dealData_JointSaleMsg(const QJsonValue &value)
{
    const QJsonObject reply = replyValue(value).toObject();
    int companyId = 0;
    bool manager = false;
    if (!m_alive || isLoginWindow() || !readCompanyId(reply.value(QStringLiteral("lmcompanyid")), companyId)
        || !readFlag(reply.value(QStringLiteral("manager")), manager))
        return;
    DataCenter::JointSaleCompanyId = companyId;
    DataCenter::isJointSaleManger = manager;
    reportSuccess(JointSaleMsgDownload);
}

void BaseSqlObject::finshData_JointSaleMsg()
{
    reportFinish(JointSaleMsgDownload);
}

// ---- Code 24: the user's review authority ----

void BaseSqlObject::downloadIsJointReviewMsg()
{
    postDownload(Endpoints::instance().apiv3_0_2_ArCheckApplyRecordCtr_isSetPrime, {},
                 &BaseSqlObject::dealData_IsJointReviewMsg, &BaseSqlObject::finshData_IsJointReviewMsg);
}

// The authority may be a flag or a number as well as an object, so any value is kept.
void BaseSqlObject::dealData_IsJointReviewMsg(const QJsonValue &value)
{
    if (m_alive && storeBaseMessage(m_isJointSale, QStringLiteral("oaauth"), value, Shape::Any))
        reportSuccess(IsJointReviewDownload);
}

void BaseSqlObject::finshData_IsJointReviewMsg()
{
    reportFinish(IsJointReviewDownload);
}

// ---- Codes 25 and 26: separation rules of sale and rent listings ----

void BaseSqlObject::downloadHouseBookSaleXieZuoSet()
{
    postDownload(Endpoints::instance().fd_getfendanguize, {}, &BaseSqlObject::dealData_HouseBookSaleXieZuoSet,
                 &BaseSqlObject::finshData_HouseBookSaleXieZuoSet);
}

void BaseSqlObject::dealData_HouseBookSaleXieZuoSet(const QJsonValue &value)
{
    if (m_alive && storeXieZuoSet(m_isJointSale, true, value))
        reportSuccess(SaleXieZuoSetDownload);
}

void BaseSqlObject::finshData_HouseBookSaleXieZuoSet()
{
    reportFinish(SaleXieZuoSetDownload);
}

void BaseSqlObject::downloadHouseBookRentXieZuoSet()
{
    postDownload(Endpoints::instance().fd_GetRentFendanguize, {}, &BaseSqlObject::dealData_HouseBookRentXieZuoSet,
                 &BaseSqlObject::finshData_HouseBookRentXieZuoSet);
}

void BaseSqlObject::dealData_HouseBookRentXieZuoSet(const QJsonValue &value)
{
    if (m_alive && storeXieZuoSet(m_isJointSale, false, value))
        reportSuccess(RentXieZuoSetDownload);
}

void BaseSqlObject::finshData_HouseBookRentXieZuoSet()
{
    reportFinish(RentXieZuoSetDownload);
}
