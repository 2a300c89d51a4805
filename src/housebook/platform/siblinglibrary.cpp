#include "siblinglibrary.h"

#include "platform/usernotice.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace {

QString baseName(const QString &libraryName)
{
    QString base = QFileInfo(libraryName).fileName();
    if (base.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))
        base.chop(4);
    return base;
}

} // namespace

namespace SiblingLibrary {

QString filePath(const QString &libraryName)
{
    const QString base = baseName(libraryName);
#if defined(Q_OS_WIN)
    const QString file = base + QStringLiteral(".dll");
#elif defined(Q_OS_MACOS)
    const QString file = QStringLiteral("lib") + base + QStringLiteral(".dylib");
#else
    const QString file = QStringLiteral("lib") + base + QStringLiteral(".so");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(file);
}

void *resolve(const QString &libraryName, const char *function,
              const QString &missingLibraryText, const QString &missingFunctionText)
{
    // QLibrary does not unload on destruction, so a resolved function stays valid.
    QLibrary library(filePath(libraryName));
    if (!library.load()) {
        UserNotice::warning(missingLibraryText.isEmpty()
                                ? QStringLiteral("缺少<%1>组件！").arg(baseName(libraryName))
                                : missingLibraryText);
        return nullptr;
    }
    QFunctionPointer fn = library.resolve(function);
    if (!fn) {
        UserNotice::warning(missingFunctionText.isEmpty()
                                ? QStringLiteral("%1 导出失败！").arg(QString::fromLatin1(function))
                                : missingFunctionText);
        return nullptr;
    }
    return reinterpret_cast<void *>(fn);
}

} // namespace SiblingLibrary
