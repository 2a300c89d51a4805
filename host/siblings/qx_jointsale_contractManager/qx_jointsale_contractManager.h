#pragma once
// The host's contract manager, the part the role entry details call to show the contract an
// entry is linked to. Callers load it on demand by file name
// ("qx_jointsale_contractManager.dll") and resolve the undecorated export below.
#include <QVariantMap>
#include <QtGlobal>

#if defined(QX_JOINTSALE_CONTRACTMANAGER_LIBRARY)
#define QX_JOINTSALE_CONTRACTMANAGER_EXPORT Q_DECL_EXPORT
#else
#define QX_JOINTSALE_CONTRACTMANAGER_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// Opens a small window ("contractDetailWindow", a top-level window owned by parent, deleted
// when closed) showing the contract it is given and returns it at once. args:
//   contractId, contractNo: the contract (either may be empty);
//   houseId, houseTitle: the listing the entry belongs to;
//   entryId, roleType: the role entry (role kind 0..6) the contract was linked to.
// Unknown keys are ignored; missing ones show as "暂无".
extern "C" QX_JOINTSALE_CONTRACTMANAGER_EXPORT QWidget *showContractDetail(QWidget *parent, const QVariantMap &args);
