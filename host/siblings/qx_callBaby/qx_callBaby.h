#pragma once
// The host's call-service library, the part the listing detail window calls when a
// hidden-number call is refused for want of credit. Callers load it on demand by file name
// ("qx_callBaby.dll") and resolve the undecorated export below.
#include <QtGlobal>

#if defined(QX_CALLBABY_LIBRARY)
#define QX_CALLBABY_EXPORT Q_DECL_EXPORT
#else
#define QX_CALLBABY_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// Opens the top-up dialog ("rechargeCallBabyDialog", window-modal over parent, deleted when
// closed) and returns at once. It explains the call credit, offers three amounts and its
// "充值" button posts the chosen one as `amount` to "<server>/app/call/recharge", where
// <server> is QX_HOUSEBOOK_SERVER, for the signed-in user (header qxphone). A success closes
// the dialog; a failure shows the server's message in it.
extern "C" QX_CALLBABY_EXPORT void rechargeCallBaby(QWidget *parent);
