#include "sql/firstbookdownload.h"

#include "datacenter.h"
#include "platform/housebookcodes.h"
#include "sql/basesqlobject.h"
#include "sql/booksyncstatus.h"
#include "sql/companysqlconfig_datasqltable.h"
#include "sql/housemessage_datasqltable.h"

#include <QSet>

#include <memory>

// The downloads run in two steps. First who the user is (23 the alliance company and the
// manager flag, 5 the profile with the user's districts, 11 the rights, 22 the departments),
// together with the settings and reference data that depend on none of these. Then what
// depends on them: the communities within the user's view range (20: the distance of right
// 132 around the user's departments) and the book itself (1: written to the file of the
// alliance company that code 23 names).
//
// When any of the first step does not arrive, the second does not run: a view range asked
// without the rights would be unlimited, and listings synced without the company id would
// land in another company's file. The book then stays empty, the page shows the failure,
// and a retry starts the whole download again.

namespace {

using namespace HouseBookCodes;

const QList<int> kIdentity{JointSaleMsgDownload, UserInitDownload, UserAuthDownload, MyDepartmentDownload};
const QList<int> kIndependent{
    DistrictAndAreaDownload, PublicCategoryDownload, JobListDownload, HouseBookSetDownload,
    HouseBookCategoryDownload, AppListDownload, CityHouseSetDownload, CloudDistrictDownload,
    CustomerBookSetDownload, CustomerBookBaseSetDownload, SaleContractSetDownload, RentContractSetDownload,
    CallBabyBaseSetDownload, IsJointReviewDownload, SaleXieZuoSetDownload, RentXieZuoSetDownload};
const QList<int> kDependent{WatchCommunityListDownload, HouseSyncDownload};

struct BookRun
{
    bool started = false;
    bool running = false;
};

BookRun &runOf(bool isJointSale)
{
    static BookRun runs[2];
    return runs[isJointSale ? 1 : 0];
}

bool canStart(bool isJointSale)
{
    return !runOf(isJointSale).running && !DataCenter::UserPhoneNumber.isEmpty() && !BaseSqlObject::isLoginWindow();
}

bool neverSynced(bool isJointSale)
{
    CompanySQLConfig_DataSqltable config(nullptr, isJointSale);
    if (config.lastUpdateTime() != BaseSqlObject::initialSyncTime())
        return false;
    HouseMessage_DataSqlTable house(nullptr, isJointSale);
    return house.haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB) == 0;
}

BaseSqlObject *downloadObject(bool isJointSale)
{
    auto *download = new BaseSqlObject(nullptr, isJointSale);
    QObject::connect(download, &BaseSqlObject::allLoadFinish, download, &QObject::deleteLater);
    return download;
}

// The listing sync tells its own outcome; a sync that did not run (the login window came to
// the front) leaves the book as it was, with nothing running.
void dependentEnded(bool isJointSale)
{
    runOf(isJointSale).running = false;
    BookSyncStatus *status = BookSyncStatus::instance();
    if (status->state(isJointSale) == BookSyncStatus::Running && !BaseSqlObject::isSyncRunning(isJointSale))
        status->setIdle(isJointSale);
}

void identityEnded(bool isJointSale, bool complete, const QString &failure)
{
    if (complete && !BaseSqlObject::isLoginWindow()) {
        auto *download = downloadObject(isJointSale);
        QObject::connect(download, &BaseSqlObject::allLoadFinish, [isJointSale] { dependentEnded(isJointSale); });
        download->download_id(kDependent);
        return;
    }
    runOf(isJointSale).running = false;
    if (BaseSqlObject::isLoginWindow())
        BookSyncStatus::instance()->setIdle(isJointSale);
    else
        BookSyncStatus::instance()->setFailed(isJointSale, failure);
}

void start(bool isJointSale)
{
    runOf(isJointSale) = {true, true};
    BookSyncStatus::instance()->setRunning(isJointSale);
    downloadObject(isJointSale)->download_id(kIndependent);

    auto *identity = downloadObject(isJointSale);
    auto arrived = std::make_shared<QSet<int>>();
    QObject::connect(identity, &BaseSqlObject::loadDataSuccess, identity, [arrived](int code) { arrived->insert(code); });
    QObject::connect(identity, &BaseSqlObject::allLoadFinish, identity, [identity, arrived, isJointSale] {
        const bool complete = std::all_of(kIdentity.cbegin(), kIdentity.cend(), [&](int code) { return arrived->contains(code); });
        identityEnded(isJointSale, complete, identity->lastFailure());
    });
    identity->download_id(kIdentity);
}

} // namespace

namespace FirstBookDownload {

bool startIfNeeded(bool isJointSale)
{
    if (runOf(isJointSale).started || !canStart(isJointSale) || !neverSynced(isJointSale))
        return false;
    start(isJointSale);
    return true;
}

bool restart(bool isJointSale)
{
    if (!canStart(isJointSale))
        return false;
    start(isJointSale);
    return true;
}

bool isRunning(bool isJointSale)
{
    return runOf(isJointSale).running;
}

} // namespace FirstBookDownload
