#pragma once
// Opens the house-book plug-in by file name and resolves its exports by their undecorated
// names, the way the host application does. The signatures come from the plug-in's own
// header, so a change there shows up here as a compile error, not as a crash.
#include "entry/exports.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

// Every export the host calls, in the order the navigation lists them.
#define HOST_HOUSEBOOK_EXPORTS(X) \
    X(getVersion) \
    X(loadHouseListWidget) \
    X(loadHouseListWidget_2) \
    X(loadNeedDealHouseList) \
    X(loadNeedReviewHouseList) \
    X(loadNeedXieZuoHouseList) \
    X(loadWeiHuHouseList) \
    X(loadJubaoReviewHouseList) \
    X(houseListRefresh) \
    X(weihuListRefresh) \
    X(reportListRefresh) \
    X(loadHouseDetail) \
    X(loadHouseBookDetail) \
    X(addNewRentHouse) \
    X(addNewSaleHouse) \
    X(addRentHouse) \
    X(addSaleHouse) \
    X(showHouseBookSet) \
    X(initAutuView)

struct HousebookExports
{
#define HOST_EXPORT_MEMBER(name) decltype(&::name) name = nullptr;
    HOST_HOUSEBOOK_EXPORTS(HOST_EXPORT_MEMBER)
#undef HOST_EXPORT_MEMBER
};

class PluginLoader
{
public:
    // The file name the host looks for in its own folder.
    static QString libraryFileName();
    static QStringList exportNames();

    // Loads the library from the folder and resolves every export; false when the library
    // cannot be loaded or any export is missing (errorString() says which).
    bool load(const QString &folder);
    QString errorString() const { return m_error; }
    QString filePath() const { return m_library.fileName(); }
    const HousebookExports &exports() const { return m_exports; }

private:
    // Never unloaded: the plug-in's pages live in the host's windows until the process ends.
    QLibrary m_library;
    HousebookExports m_exports;
    QString m_error;
};
