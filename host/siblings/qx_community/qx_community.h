#pragma once
// The host's community editing library, the parts the portal push objects call when a
// listing's community lacks what a portal needs: its map position and its build year.
// Callers load it on demand by file name ("qx_community.dll") and resolve the undecorated
// exports below.
//
// Each editor is a small non-modal dialog over parent, returned at once and deleted when
// closed. It reads the community's current values from the community service and saves what
// the agent entered there (`house/xiaoqu/edit` under the soft root, with `id`, `lianmai`=1 and
// `lng`+`lat` or `years`; the soft root is the variable QX_HOUSEBOOK_SOFT_ROOT, else
// QX_HOUSEBOOK_SERVER + "/soft/"), for the signed-in user (header qxphone). After the server
// accepted the change it calls edited(context, saved) once, with the saved values
// ({"lng","lat"} or {"years"}), and closes; a refusal or a failure is shown in the dialog,
// which stays open. Closing it otherwise calls nothing.
#include <QVariantMap>
#include <QtGlobal>

#if defined(QX_COMMUNITY_LIBRARY)
#define QX_COMMUNITY_EXPORT Q_DECL_EXPORT
#else
#define QX_COMMUNITY_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

typedef void (*CommunityEdited)(void *context, const QVariantMap &saved);

// The position editor ("communityLocationEditor"): longitude and latitude.
extern "C" QX_COMMUNITY_EXPORT QWidget *editCommunityLocation(QWidget *parent, int communityId,
                                                              CommunityEdited edited, void *context);
// The community editor ("communityMessageEditor"): the build year.
extern "C" QX_COMMUNITY_EXPORT QWidget *editCommunityMessage(QWidget *parent, int communityId,
                                                             CommunityEdited edited, void *context);
