#pragma once
// Sibling libraries of the host are optional: loaded from the host's folder on demand,
// one function resolved by name. A missing library or function is reported in a warning
// box and nothing else happens.
#include <QString>

namespace SiblingLibrary {

// The file to load for a library named as the host ships it ("qx_zip.dll"): the same file
// on Windows, "lib<base>.so" (or the platform's equivalent) elsewhere, in the host's folder.
QString filePath(const QString &libraryName);

// Resolves one function; on failure shows a warning box and returns nullptr. Empty texts
// fall back to "缺少<base>组件！" and "<function> 导出失败！".
void *resolve(const QString &libraryName, const char *function,
              const QString &missingLibraryText = QString(),
              const QString &missingFunctionText = QString());

template <typename Fn>
Fn resolveAs(const QString &libraryName, const char *function,
             const QString &missingLibraryText = QString(),
             const QString &missingFunctionText = QString())
{
    return reinterpret_cast<Fn>(resolve(libraryName, function, missingLibraryText, missingFunctionText));
}

} // namespace SiblingLibrary
