#pragma once
// The host's embedded browser library. Callers load it on demand by file name
// ("qx_cefview.dll") and resolve the undecorated export below.
#include <QString>
#include <QtGlobal>

#if defined(QX_CEFVIEW_LIBRARY)
#define QX_CEFVIEW_EXPORT Q_DECL_EXPORT
#else
#define QX_CEFVIEW_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// Opens a top-level browser window of width x height titled `title` that shows `url`
// (a video, a call recording's player page). The window belongs to the caller's window
// (`parent`, may be null), stays open on its own and deletes itself when closed. Returns at
// once; the page loads in the background. The window's object name is "cefViewWindow" and its
// view's "cefWebView".
extern "C" QX_CEFVIEW_EXPORT void loadUrl(QWidget *parent, const QString &url, const QString &title, int width, int height);
