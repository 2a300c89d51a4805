#pragma once
// The host's unpack library. Callers load it on demand by file name ("qx_zip.dll") and
// resolve the one undecorated export below.
#include <QString>
#include <QtGlobal>

#if defined(QX_ZIP_LIBRARY)
#define QX_ZIP_EXPORT Q_DECL_EXPORT
#else
#define QX_ZIP_EXPORT Q_DECL_IMPORT
#endif

typedef void (*JieYaCallback)(bool success, void *context);

// Unpacks the zip archive at archivePath into destDir (empty: the archive's own folder),
// creating the directories it holds, then calls callback (when not null) with the outcome
// and context - exactly once, whatever happens.
//
// Synchronous: the archive is unpacked on the caller's thread and the callback has run
// before the function returns.
//
// All or nothing: entries are first unpacked into a hidden temporary folder inside destDir
// and moved into place only once every one of them was read and checked, so an unreadable,
// truncated or corrupt archive leaves destDir as it was, existing files included. An entry
// whose name would land outside destDir (absolute path, drive letter, "..") fails the whole
// archive before anything is written. Encrypted entries are not supported and fail too.
extern "C" QX_ZIP_EXPORT void jieYaFile(QString archivePath, QString destDir, JieYaCallback callback,
                                        void *context);
