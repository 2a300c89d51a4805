// Contract libraries standing in for the host's, for the role entry details' tests: they
// remember what they were asked to show instead of showing it.
#include <QFile>
#include <QString>
#include <QVariantMap>
#include <QtGlobal>

class QWidget;

namespace {
int g_contractCalls = 0;
QVariantMap g_contractArgs;
int g_previewCalls = 0;
QString g_previewPath;
QByteArray g_previewBytes;
} // namespace

extern "C" Q_DECL_EXPORT QWidget *showContractDetail(QWidget *, const QVariantMap &args)
{
    ++g_contractCalls;
    g_contractArgs = args;
    return nullptr;
}

// The file is read at the moment of the call: it must be whole by then.
extern "C" Q_DECL_EXPORT QWidget *pdfPreview(const QString &path, QWidget *)
{
    ++g_previewCalls;
    g_previewPath = path;
    QFile file(path);
    g_previewBytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return nullptr;
}

extern "C" Q_DECL_EXPORT int lastContractCall(QVariantMap *args)
{
    *args = g_contractArgs;
    return g_contractCalls;
}

extern "C" Q_DECL_EXPORT int lastPreviewCall(QString *path, QByteArray *bytes)
{
    *path = g_previewPath;
    *bytes = g_previewBytes;
    return g_previewCalls;
}

extern "C" Q_DECL_EXPORT void resetContractCalls()
{
    g_contractCalls = g_previewCalls = 0;
    g_contractArgs.clear();
    g_previewPath.clear();
    g_previewBytes.clear();
}
