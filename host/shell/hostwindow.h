#pragma once
// The host's main window: a navigation listing every export of the plug-in, the tab
// container for the books and a stacked area for the embedded pages. It owns the page slots
// the exports fill, so a second call shows the same page again, and it shows what the
// plug-in reports through its callbacks in the status line.
#include "pluginloader.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QVariantMap>

#include <functional>

class CustomTabWidget;
class QLabel;
class QProgressBar;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class SyncStateLabel;

class HostWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit HostWindow(const HousebookExports &exports, QWidget *parent = nullptr);
    ~HostWindow() override;

    // Calls the export by name as its navigation entry does; arg is the list kind of the
    // books and the listing id of the detail and record exports (-1: the entry's default).
    bool openExport(const QString &name, int arg = -1);
    void showStatus(const QString &text);
    QString statusText() const;
    // True while the plug-in's local store is synchronising listings.
    static bool syncRunning();

    // Receives every callback message; context names the export that registered it.
    static void pluginCallback(QString message, void *context);

signals:
    // Just before an export is called.
    void exportCalled(const QString &name);

private:
    struct NavEntry
    {
        QString exportName;
        int defaultArg;
        std::function<void(int)> run;
    };
    void buildNavigation();
    void addEntry(QTreeWidgetItem *group, const QString &title, const QString &exportName, int defaultArg,
                  std::function<void(int)> run);
    void runEntry(QTreeWidgetItem *item);
    void listenToSignalHub();
    void updateSyncState();
    void showTabs();
    void showStack();
    void receive(const QString &exportName, const QString &message);
    void openDetail(int houseId);
    HouseMessage_DataSqlTable::HouseMessageData demoRecord(int houseId, int types) const;

    HousebookExports m_exports;
    QTreeWidget *m_navigation = nullptr;
    QSpinBox *m_idBox = nullptr;
    QStackedWidget *m_area = nullptr;  // shows either the tabs or the stack
    QLabel *m_statusLine = nullptr;
    SyncStateLabel *m_syncLabel = nullptr;
    QProgressBar *m_syncBar = nullptr;
    QTimer *m_syncTimer = nullptr;
    QList<NavEntry> m_entries;

    // What the exports are handed by address.
    CustomTabWidget *m_tabs = nullptr;
    QStackedWidget *m_stack = nullptr;
    QPointer<HouseBookListWidget> m_books[4];
    HouseBookListWidget *m_embeddedBooks[4] = {};
    HouseBookListWidget *m_workPage = nullptr;
    HouseBookListWidget **m_lastListSlot = &m_workPage;  // what houseListRefresh refreshes
    HouseBookWeiHuPeoPleNeedDealWidget *m_weihuPage = nullptr;
    HighSeperateReportHistoryWidget *m_reportPage = nullptr;
    QPointer<MySaleHouseDetailWidget> m_detailPage;
    PermissionHouseBookWidget *m_permissionPage = nullptr;
    QList<QVariantMap> m_ranges;  // the permission page's last reported ranges, handed back next time
    int m_detailId = 0;
};
