#pragma once
// The host's office approval library, the parts the listing pages call when a change needs the
// company's approval flow. Callers load it on demand by file name ("qx_reviewBook.dll") and
// resolve the undecorated exports below; each declares the function type where it resolves it.
//
// Both dialogs post to the approval service under the help root (the variable
// QX_HOUSEBOOK_HELP_ROOT, else QX_HOUSEBOOK_SERVER + "/help/") for the signed-in user (header
// qxphone), with lianmai=1 beside the keys named here.
#include <QString>
#include <QVariantMap>
#include <QtGlobal>

#if defined(QX_REVIEWBOOK_LIBRARY)
#define QX_REVIEWBOOK_EXPORT Q_DECL_EXPORT
#else
#define QX_REVIEWBOOK_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// Told once when an approval has been started: the approval record the service created.
typedef void (*ReviewStepSubmitted)(void *context, int recordId);

// Opens the approval request ("reviewStepDialog", window-modal over parent, deleted when closed)
// and returns at once. It shows args["content"] and the other keys; "提交审批" posts every key of
// args (house_book_id, xiaoquname, yonghuid, userid, name, username, tag_id, pro_id, content) to
// "apiv3_0_2/ArApplyRecordCtr/apply". A success calls submitted(context, record_id) (when
// submitted is set) and closes the dialog; a failure shows the service's message in it.
extern "C" QX_REVIEWBOOK_EXPORT void loadReviewStep(QWidget *parent, const QVariantMap &args,
                                                   ReviewStepSubmitted submitted, void *context);

// Opens the decision on an approval record ("reviewDetailDialog", window-modal over parent,
// deleted when closed) and returns at once. "通过" and "拒绝" post record_id, state (1 approve,
// 2 refuse) and the typed remark to "apiv3_0_2/ArApplyRecordCtr/check"; a success closes the
// dialog, a failure shows the service's message in it. houseId is shown for reference.
extern "C" QX_REVIEWBOOK_EXPORT void loadReviewDetail(QWidget *parent, int houseId, const QString &recordId);
