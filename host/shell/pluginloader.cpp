#include "pluginloader.h"

#include <QDir>

QString PluginLoader::libraryFileName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("qx_jointsale_housebook.dll");
#else
    return QStringLiteral("libqx_jointsale_housebook.so");
#endif
}

QStringList PluginLoader::exportNames()
{
    QStringList names;
#define HOST_EXPORT_NAME(name) names << QStringLiteral(#name);
    HOST_HOUSEBOOK_EXPORTS(HOST_EXPORT_NAME)
#undef HOST_EXPORT_NAME
    return names;
}

bool PluginLoader::load(const QString &folder)
{
    m_library.setFileName(QDir(folder).filePath(libraryFileName()));
    if (!m_library.load()) {
        m_error = m_library.errorString();
        return false;
    }
    QStringList missing;
#define HOST_EXPORT_RESOLVE(name) \
    m_exports.name = reinterpret_cast<decltype(m_exports.name)>(m_library.resolve(#name)); \
    if (!m_exports.name) \
        missing << QStringLiteral(#name);
    HOST_HOUSEBOOK_EXPORTS(HOST_EXPORT_RESOLVE)
#undef HOST_EXPORT_RESOLVE
    if (!missing.isEmpty()) {
        m_error = QStringLiteral("%1 缺少导出函数：%2").arg(libraryFileName(), missing.join(QStringLiteral(", ")));
        m_exports = HousebookExports();
        return false;
    }
    m_error.clear();
    return true;
}
