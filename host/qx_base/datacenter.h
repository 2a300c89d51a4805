#pragma once
// Login state and process-wide registries the host keeps for every module.
#include "qx_base_global.h"

#include <QByteArray>
#include <QList>
#include <QMap>

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <mutex>

class QX_BASE_EXPORT DataCenter
{
public:
    // The signed-in user and their organisation.
    static int CityID;
    static int CompanyID;
    static int YongHuID;
    static QString UserPhoneNumber;
    static int JointSaleCompanyId;
    static int HuaiNanCityId;
    static bool isManager;
    static bool isJointSaleManger;
    static bool UserOnline;
    static bool CloseAppNeedUpdate;

    // What every request carries.
    static QVariant CookieVar;
    static QVariant CookieWeb;
    static QVariantMap HttpHeadMap;

    // Local database bookkeeping: one {"name", "time"} entry per open connection,
    // and two sync-running bytes (0: normal book, 1: joint-sale book).
    static QList<QVariantMap> sqlConnectList;
    static QByteArray refreshStateOfDB;
    // Held by whoever reads or changes sqlConnectList: worker threads register their
    // connections while the GUI thread may sign out.
    // A standard mutex rather than a QMutex: the thread checker sees its waits, so the
    // workers' use of the list is checked, not reported as unordered.
    static std::mutex &sqlConnectListLock();

    // Windows: the main window, the name of the window in front ("Login" while signing in)
    // and the windows registered under a name ("main" for the main window's family).
    static QWidget *MainWindowWidget;
    static QString CurrentWindow;
    static QMap<QString, QList<QPointer<QWidget>>> cp_active_windows;

    static QList<QWidget *> getWindowsFromName(const QString &name);
    static void addThemeWidget(const QString &name, QWidget *widget);
    static void removeThemeWidget(const QString &name, QWidget *widget);

    // Back to the signed-out state (used when the user logs out, and by test fixtures).
    static void reset();
};
