#include "sql/basesqlobject.h"

#include "commonsignaltool.h"
#include "datacenter.h"
#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "platform/housebookcodes.h"
#include "platform/siblinglibrary.h"
#include "sql/booksyncstatus.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/snapshotfile.h"
#include "sql/syncingest.h"
#include "sql/syncrecords.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QScopedPointer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>

// The listing sync (code 1), the database snapshot, the column back-fill (code 18) and the
// refresh of one listing (code -1).
//
// What the server answers in the envelope's `data`:
//   hbook/checkhousedb      a non-empty string is the address of a snapshot to download: a
//                           SQLite company database, or a zip archive holding one (an address
//                           with ".zip" in it, or a body that starts as a zip does). Anything
//                           else means "no snapshot": the sync goes on incrementally.
//   app/synchousebook,      one page: {"housebook": [listing objects], "community": [community
//   app/LianmaiSyncHousebook objects], "dels": "1,2", "communitydels": "3", "nextpage": bool};
//                           page 1 also carries the personal lists "collection", "history" and
//                           "newremindinfo". Listings and communities carry the columns of
//                           their tables plus what the store merges in ("replenish"); times
//                           come as "yyyy/M/d H:mm:ss" (follow-ups "yyyy/M/d H:mm"). The pages
//                           of one sync run from the oldest change to the newest: each page
//                           moves the sync marks as it is stored, so a sync cut short resumes
//                           after the last page it stored and loses nothing.
//   app/synchouseInfo       {"housebook": [{"id", asked columns...}], "community": [...]}; a
//                           record updates the columns it carries and leaves the others.
//   app/SyncHousebookDetail one listing object, with the fields of a sync record.
//
// A page is stored in one transaction of the company database (deletions, listings,
// communities and the marks they move), so an interruption leaves all of it or none. A
// snapshot never replaces the database file in use until it has been checked to be a
// database with listings in it; before that, and whenever anything fails, the old database
// stays and the sync carries on page by page.

using namespace HouseBookCodes;

namespace {

// Posts one form of the sync: the reply to onReply, a failure with its reason to onFail, and
// the end once (a redirect the request would still follow must not end the step a second time).
void postSyncForm(BaseSqlObject *owner, const QString &url, QVariantMap form,
                  const std::function<void(const QJsonValue &)> &onReply,
                  const std::function<void(const QString &)> &onFail, const std::function<void()> &onEnd)
{
    if (owner->isJointSale())
        form.insert(QStringLiteral("lianmai"), QStringLiteral("1"));
    auto *request = new NetRequestObjecet(owner);
    request->setTimeout(NetRequestObjecet::limits().pageTimeoutMs);
    QObject::connect(request, &NetRequestObjecet::loadSuccess, owner, onReply);
    QObject::connect(request, &NetRequestObjecet::loadFinish, owner, [owner, request, onEnd] {
        QObject::disconnect(request, nullptr, owner, nullptr);
        request->deleteLater();
        onEnd();
    });
    BookSyncStatus::postForm(request, url, form, owner, onFail ? onFail : [](const QString &) {});
}

QVariantMap snapshotCheckForm(const QVariantMap &marks)
{
    return {{QStringLiteral("version"), marks.value(QStringLiteral("version")).toString()},
            {QStringLiteral("building"), QString::number(marks.value(QStringLiteral("building")).toInt())},
            {QStringLiteral("lasttime"), marks.value(QStringLiteral("lastupdatatime")).toString()},
            {QStringLiteral("community_lastupdatatime"), marks.value(QStringLiteral("community_lastupdatatime")).toString()}};
}

// Page 1 brings the user's favourites, read listings and reminders; a list that is not
// sent keeps what is stored. These few writes stay on the interface thread (the settings store
// reads the host's window state); a reply without them touches no database there.
void storePersonalLists(bool isJointSale, const QJsonObject &reply)
{
    static const QList<QPair<QString, QString>> lists{{QStringLiteral("collection"), QStringLiteral("likehistory")},
                                                      {QStringLiteral("history"), QStringLiteral("readhistory")},
                                                      {QStringLiteral("newremindinfo"), QStringLiteral("noticehistory")}};
    if (std::none_of(lists.cbegin(), lists.cend(), [&](const auto &list) { return reply.contains(list.first); }))
        return;
    HouseBookSet_SqlTable settings(nullptr, isJointSale);
    for (const auto &list : lists) {
        const QJsonValue value = reply.value(list.first);
        if (value.isArray())
            settings.setValue(list.second, QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact)));
        else if (value.isObject())
            settings.setValue(list.second, QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact)));
        else if (value.isString())
            settings.setValue(list.second, value.toString());
    }
}

void announceChanges(const QStringList &houseIds, const QVariant &communities)
{
    CommonSignalTool::Instance()->send_localHouseChange(houseIds);
    CommonSignalTool::Instance()->send_localCommunityChange(communities);
}

QString joinedKeys(const QList<QVariantMap> &columns)
{
    QStringList keys;
    for (const QVariantMap &column : columns)
        keys << column.value(QStringLiteral("key")).toString();
    keys.removeAll(QString());
    return keys.join(QLatin1Char(','));
}

QList<QVariantMap> columnsFromJson(const QString &text)
{
    QList<QVariantMap> columns;
    for (const QVariant &column : QJsonDocument::fromJson(text.toUtf8()).toVariant().toList())
        columns << column.toMap();
    return columns;
}

// A snapshot made by an older version gets this version's columns; the columns it was given
// are returned for the back-fill. A failed upgrade leaves the version as it was.
QPair<QList<QVariantMap>, QList<QVariantMap>> upgradeSnapshot(bool isJointSale)
{
    CompanySQLConfig_DataSqltable config(nullptr, isJointSale);
    if (config.version() == BaseSqlObject::pluginVersion() || !config.upgradeColumns())
        return {};
    config.setColumn(QStringLiteral("version"), BaseSqlObject::pluginVersion());
    config.setColumn(QStringLiteral("building"), 0);
    const QVariantMap row = config.getRow();
    return {columnsFromJson(row.value(QStringLiteral("house_add_key")).toString()),
            columnsFromJson(row.value(QStringLiteral("community_add_key")).toString())};
}

// One snapshot on its way in: downloaded next to the company database, unpacked into a
// folder of its own there, checked, and only then moved over the database once its
// connections are closed. Lives as a child of the sync object and removes what is left of
// its files when it goes.
class SnapshotStage : public QObject
{
public:
    using Progress = std::function<void(qint64, qint64)>;
    using Done = std::function<void(bool installed)>;

    SnapshotStage(BaseSqlObject *owner, const QString &url, int &pendingUnpack)
        : QObject(owner), m_owner(owner), m_url(url), m_target(owner->getDBAddress(BaseSqlObject::CompanyDB)),
          m_outcome{&pendingUnpack, false}
    {
    }
    ~SnapshotStage() override
    {
        if (!m_downloaded.isEmpty())
            QFile::remove(m_downloaded);
    }

    void start(const Progress &progress, const Done &done);

private:
    // What the unpack library's callback reports back through its context.
    struct Outcome
    {
        int *pending;
        bool ok;
    };
    static void unpacked(bool ok, void *context)
    {
        auto *outcome = static_cast<Outcome *>(context);
        outcome->ok = ok;
        --*outcome->pending;
    }

    QString folder() const { return QFileInfo(m_target).absolutePath(); }
    bool isArchive() const { return m_url.contains(QLatin1String(".zip"), Qt::CaseInsensitive) || SnapshotFile::startsAsZip(m_downloaded); }
    void downloaded();
    void unpack();
    void waitForUnpack();
    bool install();
    void finish(bool installed);

    BaseSqlObject *m_owner;
    QString m_url;
    QString m_target;
    QString m_downloaded;
    QScopedPointer<QTemporaryDir> m_unpacked;
    Outcome m_outcome;
    Done m_done;
};

void SnapshotStage::start(const Progress &progress, const Done &done)
{
    m_done = done;
    if (m_target.isEmpty()) {
        finish(false);
        return;
    }
    auto *request = new NetRequestObjecet(this);
    request->setMaxReplyBytes(NetRequestObjecet::limits().maxSnapshotBytes);
    connect(request, &NetRequestObjecet::fileDownloadProgress, this, progress);
    connect(request, &NetRequestObjecet::downloadFileSuccess, this, [this](const QString &file) { m_downloaded = file; });
    connect(request, &NetRequestObjecet::loadFinish, this, [this, request] {
        disconnect(request, nullptr, this, nullptr);
        request->deleteLater();
        downloaded();
    });
    request->downloadFile(m_url, folder());
}

void SnapshotStage::downloaded()
{
    if (m_downloaded.isEmpty())
        finish(false);
    else if (!isArchive())
        finish(install());
    else
        waitForUnpack();
}

// The pending count is raised for the call and lowered by the library's callback; a 10 ms
// timer goes on once it is back at 0, whether the library answered at once or later.
void SnapshotStage::waitForUnpack()
{
    unpack();
    auto *poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, [this, poll] {
        if (*m_outcome.pending > 0)
            return;
        *m_outcome.pending = 0;
        poll->stop();
        finish(m_outcome.ok && install());
    });
    poll->start(10);
}

void SnapshotStage::unpack()
{
    using JieYaFile = void (*)(QString, QString, void (*)(bool, void *), void *);
    m_unpacked.reset(new QTemporaryDir(folder() + QStringLiteral("/snapshot-XXXXXX")));
    const auto jieYaFile = SiblingLibrary::resolveAs<JieYaFile>(QStringLiteral("qx_zip.dll"), "jieYaFile");
    if (!jieYaFile || !m_unpacked->isValid())
        return;
    ++*m_outcome.pending;
    jieYaFile(m_downloaded, m_unpacked->path(), &SnapshotStage::unpacked, &m_outcome);
}

bool SnapshotStage::install()
{
    const QString candidate = SnapshotFile::checked(m_downloaded, m_unpacked ? m_unpacked->path() : QString(),
                                                    QFileInfo(m_target).fileName());
    if (candidate.isEmpty())
        return false;
    m_owner->closeDB(BaseSqlObject::CompanyDB);
    return SnapshotFile::moveIntoPlace(candidate, m_target);
}

void SnapshotStage::finish(bool installed)
{
    const Done done = m_done;
    deleteLater();
    done(installed);
}

} // namespace

// ---- The listing sync ----

// While the login window is in front nothing is fetched, but the end is still reported, so
// whoever waits for it (and deletes this object on it) is released.
void BaseSqlObject::download_house(bool authRefresh, bool isCanDownloadBD)
{
    if (!m_alive)
        return;
    if (isLoginWindow()) {
        endHouseSync();
        return;
    }
    if (isSyncRunning(m_isJointSale)) {
        reportFinish(HouseSyncDownload);
        return;
    }
    setSyncFlag(true);
    m_authRefresh = authRefresh;
    m_isCanDownloadBD = isCanDownloadBD;
    m_syncSucceeded = false;
    m_syncFailure.clear();
    if (!m_statusOpen) {
        m_statusOpen = true;
        BookSyncStatus::instance()->setRunning(m_isJointSale);
    }
    CommonSignalTool::Instance()->send_baseSqlReq(HubSyncStarted, HouseSyncDownload, nullptr);
    if (m_isJointSale && DataCenter::JointSaleCompanyId <= 0) {
        fetchJointSaleCompanyThenSync();
        return;
    }
    beginHouseSync();
}

// The joint-sale book's file is named after the alliance's company: until its id is known,
// a sync would write the alliance's listings into another company's file. It is fetched
// first, on an object of its own so that its end is not taken for the sync's.
void BaseSqlObject::fetchJointSaleCompanyThenSync()
{
    auto *company = new BaseSqlObject(nullptr, true);
    connect(company, &BaseSqlObject::loadDataFinish, company, &QObject::deleteLater);
    connect(company, &BaseSqlObject::loadDataFinish, this, [this, company](int) {
        if (!m_alive)
            return;
        if (DataCenter::JointSaleCompanyId > 0 && !isLoginWindow()) {
            beginHouseSync();
            return;
        }
        const QString reason = company->lastFailure();
        failHouseSync(reason.isEmpty() ? QStringLiteral("未能取得联卖公司信息") : reason);
        endHouseSync();
    });
    company->downloadJointSaleMsg();
}

// The marks are read on the sync's worker: on a new book that read creates the bookkeeping
// table, a write the interface thread would wait on.
void BaseSqlObject::beginHouseSync()
{
    m_pagesStored = 0;
    m_listingsStored = 0;
    if (!m_ingest)
        m_ingest = newIngest();
    m_ingest->readMarks([this](const QVariantMap &marks) { syncMarksRead(marks); });
}

void BaseSqlObject::syncMarksRead(const QVariantMap &marks)
{
    if (!m_alive)
        return;
    if (isLoginWindow()) {
        finishHouseSync();
        return;
    }
    m_lastHouseTime = marks.value(QStringLiteral("lastupdatatime")).toString();
    m_lastCommunityTime = marks.value(QStringLiteral("community_lastupdatatime")).toString();
    m_pageIndex = 1;
    if (!m_isCanDownloadBD) {
        download_first_house();
        return;
    }
    // A snapshot replaces the database file, which must then have no connection open: the
    // worker goes (with its connection) before the answer can start a download.
    m_ingest->deleteLater();
    m_ingest = nullptr;
    // Without an answer (a failed request) the sync goes on page by page.
    auto answered = std::make_shared<bool>(false);
    postSyncForm(
        this, Endpoints::instance().hbook_checkhousedb, snapshotCheckForm(marks),
        [this, answered](const QJsonValue &value) {
            *answered = true;
            dealData_checkHouseDB(value);
        },
        nullptr,
        [this, answered] {
            if (!*answered)
                download_first_house();
        });
}

SyncIngest *BaseSqlObject::newIngest()
{
    return new SyncIngest(this, m_isJointSale, [this](const SyncPageOutcome &outcome) { syncPageStored(outcome); });
}

void BaseSqlObject::dealData_checkHouseDB(const QJsonValue &value)
{
    if (!m_alive)
        return;
    const QString url = value.isString() ? value.toString().trimmed() : QString();
    if (!url.isEmpty()) {
        downloadDB(url);
        return;
    }
    m_pageIndex = 1;
    download_first_house();
}

void BaseSqlObject::download_first_house()
{
    if (!m_alive)
        return;
    if (isLoginWindow()) {
        finishHouseSync();
        return;
    }
    CommonSignalTool::Instance()->send_baseSqlReq(HubSyncStarted, HouseSyncDownload, nullptr);
    m_pageRequestOpen = true;
    const QVariantMap form{{QStringLiteral("pageindex"), QString::number(m_pageIndex)},
                           {QStringLiteral("lasttime"), m_lastHouseTime},
                           {QStringLiteral("community_lastupdatatime"), m_lastCommunityTime},
                           {QStringLiteral("cityid"), QString::number(DataCenter::CityID)}};
    const Endpoints &endpoints = Endpoints::instance();
    postSyncForm(
        this, m_isJointSale ? endpoints.app_LianmaiSyncHousebook : endpoints.app_synchousebook, form,
        [this](const QJsonValue &value) { deal_UpdateData(value); },
        [this](const QString &reason) {
            first_house_download_fail();
            failHouseSync(reason);
        },
        [this] {
            m_pageRequestOpen = false;
            first_house_download_finish();
        });
}

void BaseSqlObject::first_house_download_fail()
{
    m_pageIndex = 0;
}

void BaseSqlObject::failHouseSync(const QString &reason)
{
    m_pageIndex = 0;
    if (m_syncFailure.isEmpty())
        m_syncFailure = reason;
}

void BaseSqlObject::first_house_download_finish()
{
    if (!m_alive)
        return;
    if (m_pageIndex > 0 && !isLoginWindow()) {
        // A server that never says "last page" would keep the sync asking for ever.
        if (m_pageIndex >= BookSyncStatus::maxSyncPages()) {
            failHouseSync(BookSyncStatus::tooManyPages());
            finishHouseSync();
            return;
        }
        ++m_pageIndex;
        requestNextSyncPage();
        return;
    }
    finishHouseSync();
}

// Replies come faster than pages are stored, and a page waiting for the worker holds its whole
// reply: besides the page being stored, at most one more waits.
void BaseSqlObject::requestNextSyncPage()
{
    m_nextPageWaits = m_ingest && m_ingest->unreported() > 1;
    if (!m_nextPageWaits)
        download_first_house();
}

// Under the login window the pages not yet begun are dropped: nothing more is stored for a
// user who is leaving, and the marks stay with the pages stored before.
void BaseSqlObject::finishHouseSync()
{
    m_pageIndex = 0;
    m_nextPageWaits = false;
    if (m_ingest && isLoginWindow())
        m_ingest->dropPending();
    if (m_pageRequestOpen || (m_ingest && m_ingest->unreported() > 0))
        return;  // the request's end or the worker's last report comes back here
    endHouseSync();
}

// The flag is cleared before the end is told, so a listener may start the next sync at once.
void BaseSqlObject::endHouseSync()
{
    m_pageIndex = 0;
    m_nextPageWaits = false;
    if (m_ingest) {
        m_ingest->deleteLater();
        m_ingest = nullptr;
    }
    if (m_ownsSyncFlag)
        setSyncFlag(false);
    settleSyncStatus();
    reportFinish(HouseSyncDownload);
}

// A sync broken off by the login window has no outcome to tell.
void BaseSqlObject::settleSyncStatus()
{
    if (!m_statusOpen)
        return;
    m_statusOpen = false;
    BookSyncStatus *status = BookSyncStatus::instance();
    if (m_syncSucceeded)
        status->setSucceeded(m_isJointSale);
    else if (!m_syncFailure.isEmpty() || !isLoginWindow())
        status->setFailed(m_isJointSale, m_syncFailure);
    else
        status->setIdle(m_isJointSale);
}

// A reply that comes after the sync has failed is not stored: the marks must stay with the
// pages stored before the failure.
void BaseSqlObject::deal_UpdateData(const QJsonValue &value)
{
    if (!m_alive || isLoginWindow() || m_pageIndex <= 0)
        return;
    if (!value.isObject()) {
        failHouseSync(BookSyncStatus::unreadableReply());
        return;
    }
    const QJsonObject reply = value.toObject();
    if (m_pageIndex == 1)
        storePersonalLists(m_isJointSale, reply);
    handOverSyncPage(reply);
}

void BaseSqlObject::handOverSyncPage(const QJsonObject &reply)
{
    const SyncRecords::PageShape shape = SyncRecords::pageShape(reply);
    if (shape.malformed) {
        failHouseSync(BookSyncStatus::unreadableReply());
        return;
    }
    if (!m_ingest)
        m_ingest = newIngest();
    m_ingest->enqueue(reply);
    if (shape.isLast)
        m_pageIndex = 0;  // nothing more to ask; success follows once the page is stored
}

// A page that cannot be stored whole ends the sync without success. The marks stay with the
// pages stored before it, so the next sync asks again from there.
void BaseSqlObject::syncPageStored(const SyncPageOutcome &outcome)
{
    if (!m_alive)
        return;
    if (outcome.stored) {
        ++m_pagesStored;
        m_listingsStored += outcome.listings;
        emit syncProgress(m_pagesStored, m_listingsStored);
        CommonSignalTool::Instance()->send_baseSqlReq(HubSyncProgress,
                                                      QVariantMap{{QStringLiteral("type"), int(HouseSyncDownload)},
                                                                  {QStringLiteral("pages"), m_pagesStored},
                                                                  {QStringLiteral("listings"), m_listingsStored}},
                                                      nullptr);
        if (outcome.isLast) {
            if (m_authRefresh)
                announceChanges(outcome.houseIds, outcome.communityIds);
            m_syncSucceeded = true;
            reportSuccess(HouseSyncDownload);
        }
    } else if (!outcome.skipped) {
        failHouseSync(BookSyncStatus::storeFailure());
    }
    if (m_nextPageWaits && m_pageIndex > 0)
        requestNextSyncPage();
    else if (!m_pageRequestOpen && m_pageIndex <= 0)
        finishHouseSync();
}

// ---- The snapshot ----

void BaseSqlObject::downloadDB(const QString &url)
{
    if (!m_alive)
        return;
    if (isLoginWindow()) {
        endHouseSync();
        return;
    }
    auto *stage = new SnapshotStage(this, url, m_pendingUnpack);
    stage->start(
        [this](qint64 received, qint64 total) {
            emit downloadDBProcess(received, total);
            CommonSignalTool::Instance()->send_baseSqlReq(HubSnapshotProgress, HouseSyncDownload, nullptr);
        },
        [this](bool installed) {
            if (installed) {
                downloadDBSuccess();
                return;
            }
            m_pageIndex = 1;
            download_first_house();
        });
}

// The snapshot is in place: bring it to this version, tell the pages to reload everything,
// fill the columns an upgrade added, then sync what changed since the snapshot was made.
void BaseSqlObject::downloadDBSuccess()
{
    if (!m_alive)
        return;
    if (isLoginWindow()) {
        endHouseSync();
        return;
    }
    const auto added = upgradeSnapshot(m_isJointSale);
    announceChanges(QStringList(), QStringLiteral("refresh_community"));
    QThread::yieldCurrentThread();
    const auto syncSinceSnapshot = [this] {
        if (m_ownsSyncFlag)
            setSyncFlag(false);
        download_house(m_authRefresh, false);
    };
    if (added.first.isEmpty() && added.second.isEmpty()) {
        syncSinceSnapshot();
        return;
    }
    auto resume = std::make_shared<QMetaObject::Connection>();
    *resume = connect(this, &BaseSqlObject::loadDataFinish, this, [resume, syncSinceSnapshot](int type) {
        if (type != KeyHouseDownload)
            return;
        QObject::disconnect(*resume);
        syncSinceSnapshot();
    });
    download_keyHouse(added.first, added.second);
}

// ---- Code 18: back-fill of added columns ----

void BaseSqlObject::download_keyHouse(const QList<QVariantMap> &house_add_list, const QList<QVariantMap> &community_add_list)
{
    if (!m_alive)
        return;
    const QString houseKeys = joinedKeys(house_add_list);
    const QString communityKeys = joinedKeys(community_add_list);
    if (houseKeys.isEmpty() && communityKeys.isEmpty()) {
        if (!isLoginWindow())
            reportSuccess(KeyHouseDownload);
        reportFinish(KeyHouseDownload);
        return;
    }
    postDownload(Endpoints::instance().app_synchouseInfo,
                 {{QStringLiteral("housekey"), houseKeys}, {QStringLiteral("communitykey"), communityKeys}},
                 &BaseSqlObject::dealData_keyHouse, &BaseSqlObject::finshData_keyHouse);
}

void BaseSqlObject::dealData_keyHouse(const QJsonValue &value)
{
    if (!m_alive || isLoginWindow() || !value.isObject())
        return;
    const SyncRecords::Page reply = SyncRecords::readPage(value.toObject());
    if (reply.malformed || !SyncRecords::writeColumns(m_isJointSale, reply.houses, reply.communities))
        return;
    announceChanges(reply.houseIds, reply.communityIds);
    reportSuccess(KeyHouseDownload);
}

void BaseSqlObject::finshData_keyHouse()
{
    reportFinish(KeyHouseDownload);
}

// ---- Code -1: one listing ----

void BaseSqlObject::downloadUndateOneHouse(int id)
{
    postDownload(Endpoints::instance().app_SyncHousebookDetail, {{QStringLiteral("id"), QString::number(id)}},
                 &BaseSqlObject::deal_UpdateOneHouseData, &BaseSqlObject::finshData_UpdateOneHouseData);
}

// One listing says nothing about the listings changed before it, so it leaves the sync mark
// where it is: moving it would make the next sync skip them.
void BaseSqlObject::deal_UpdateOneHouseData(const QJsonValue &value)
{
    if (!m_alive || isLoginWindow())
        return;
    const QVariantMap record = SyncRecords::houseRecord(value.toObject());
    if (record.isEmpty())
        return;
    HouseMessage_DataSqlTable houses(nullptr, m_isJointSale);
    if (houses.insertOrReplaceHouses({record}, false) != 1)
        return;
    CommonSignalTool::Instance()->send_localHouseChange(
        QStringList{QString::number(record.value(QStringLiteral("id")).toLongLong())});
    emit loadDataSuccess(OneHouseDownload);
}

void BaseSqlObject::finshData_UpdateOneHouseData()
{
    if (m_alive)
        emit loadDataFinish(OneHouseDownload);
}
