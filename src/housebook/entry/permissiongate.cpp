#include "permissiongate.h"

#include "datacenter.h"
#include "platform/housebookcodes.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"

namespace {

// Authority 7 of the user's job, as such: entering listings is not tied to a listing's
// owner or department, and it has no sub-options.
bool jobHoldsEnterAuthority()
{
    auto *store = new UserMessage_DataSqlTable(nullptr, HouseBookCodes::kJointSale);
    const bool held = store->isHaveAuthority(7, QString(), 0, QStringList());
    store->deleteLater();
    return held;
}

} // namespace

namespace PermissionGate {

bool mayEnterListings(const QString &refusalText)
{
    if (jobHoldsEnterAuthority() || DataCenter::isJointSaleManger)
        return true;
    AlertWidget::warning(refusalText);
    return false;
}

} // namespace PermissionGate
