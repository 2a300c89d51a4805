// A web-window library standing in for the host's, for the recording tests: it remembers
// what it was asked to show instead of showing it.
#include <QString>
#include <QtGlobal>

class QWidget;

namespace {
int g_calls = 0;
QString g_url;
QString g_title;
int g_width = 0;
int g_height = 0;
} // namespace

extern "C" Q_DECL_EXPORT void loadUrl(QWidget *, const QString &url, const QString &title, int width, int height)
{
    ++g_calls;
    g_url = url;
    g_title = title;
    g_width = width;
    g_height = height;
}

extern "C" Q_DECL_EXPORT int lastPlayerCall(QString *url, QString *title, int *width, int *height)
{
    *url = g_url;
    *title = g_title;
    *width = g_width;
    *height = g_height;
    return g_calls;
}
