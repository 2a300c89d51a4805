#pragma once
// The host's promotion library, the part the commission form of a listing's roles calls:
// the company's verification settings. Callers load it on demand by file name
// ("qx_pushHouse.dll") and resolve the undecorated export below.
#include <QVariantMap>
#include <QtGlobal>

#if defined(QX_PUSHHOUSE_LIBRARY)
#define QX_PUSHHOUSE_EXPORT Q_DECL_EXPORT
#else
#define QX_PUSHHOUSE_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// Opens the verification settings dialog ("configXinfuLiDialog", window-modal over parent,
// deleted when closed) and returns it at once; the caller watches its destruction to read
// the settings again. settings are the company's promotion settings as the caller has them:
// heyan (1: a verifier is required), heyanren (list of {id, name, type, idcard, isweituo}),
// and the listing and entry it is opened for (houseId, entryId). The dialog shows whether
// verification is on and lists the verifiers; "关闭" closes it.
extern "C" QX_PUSHHOUSE_EXPORT QWidget *configXinfuLi(QWidget *parent, const QVariantMap &settings);
