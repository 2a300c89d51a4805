#pragma once
// The house-book settings window: five pages chosen by the buttons on its left ("基本设置",
// "出售房源", "出租房源", "类目管理", "团队协作"), "取消" and "保存设置" at the bottom. "保存设置"
// saves the page in front. The team page holds the separation rules and the permissions of
// each job ("岗位权限"), which are read and saved per job without closing the window.
#include <QList>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class CommonAddWidget;
class HouseBookBaseSetWidget;
class HouseBookBookSetPage;
class HouseBookHighSeperateSetWidget;
class HouseBookItemSetWidget;
class HouseBookRentSetWidget;
class HouseBookSaleSetWidget;
class HouseBookSettingsService;
class LoadFailureView;
class PermissionHouseBookWidget;
class QButtonGroup;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTabWidget;

class HouseBookSetWidget : public QWidget
{
    Q_OBJECT
public:
    enum Page { BasePage, SalePage, RentPage, ItemPage, XieZuoPage };
    enum XieZuoTab { SeperateRulesTab, JobAuthTab };

    HouseBookSetWidget(QWidget *parent, int type);

    // Opens the settings in their pop-up "房源本设置" over parent, showing `page` first: closing
    // the settings closes it, a successful apply confirms "设置应用成功！" and closes it. The
    // settings are the pop-up's content widget, for callers that want to hear of the apply.
    static CommonAddWidget *openSettings(QWidget *parent, int page = BasePage);

    int currentPage() const;
    // The job whose permissions are shown; 0 before one is chosen.
    int currentJobId() const { return m_jobId; }

public slots:
    void childWidgetSwitch(int buttonId);
    void setCurrentPage(int chooseIndex);
    // Lists the company's jobs (downloaded first when the store has none).
    void loadjob();
    void downloadAuthOfJob(int jobId);
    void deal_downloadJobAuth(int jobId, const QList<QVariantMap> &entries);
    // Shows the chosen job's permissions in the editor.
    void fillAuth();
    void dealBackValue(int appId, QList<QVariantMap> list);
    // Saves the page in front (on the team page: the tab in front).
    void submitModify();

signals:
    void closeWidget();
    void setSuccess();

private:
    void buildUi();
    QWidget *buildNavigation();
    QWidget *buildXieZuoPage();
    QWidget *buildJobPage();
    void connectJobService();
    void refreshIfNeverDownloaded();
    void showRefreshed(bool ok, const QString &reason);
    void addBookPage(HouseBookBookSetPage *page);
    void showJobs(const QList<QVariantMap> &jobs);
    void chooseJob(int row);
    void showAuthFailure(const QString &reason);
    void saveJobAuth();
    QString jobName() const;

    int m_type;
    QButtonGroup *m_buttons = nullptr;
    QStackedWidget *m_stack = nullptr;
    HouseBookBaseSetWidget *m_basePage = nullptr;
    QTabWidget *m_xieZuoTabs = nullptr;
    HouseBookSaleSetWidget *m_salePage = nullptr;
    HouseBookRentSetWidget *m_rentPage = nullptr;
    HouseBookItemSetWidget *m_itemPage = nullptr;
    HouseBookHighSeperateSetWidget *m_rulesPage = nullptr;

    HouseBookSettingsService *m_service = nullptr;
    BusyOverlay *m_overlay = nullptr;
    QListWidget *m_jobList = nullptr;
    LoadFailureView *m_jobsFailure = nullptr;
    LoadFailureView *m_authFailure = nullptr;
    PermissionHouseBookWidget *m_permission = nullptr;
    QPushButton *m_saveJob = nullptr;
    bool m_jobsRequested = false;
    int m_jobId = 0;
    QString m_savingJobName;
    QList<QVariantMap> m_auth;
};
