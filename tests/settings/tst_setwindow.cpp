// The settings window: its pages and buttons, which page "保存设置" saves, how the pages of
// other parts are called and heard, and the job permissions tab (jobs, loading, saving,
// failures with retry).
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "services/housebooksettingsservice.h"
#include "settings/housebooksetwidget.h"
#include "settings/permissionhousebookwidget.h"
#include "sql/basemessage_sqltable.h"
#include "widgets/loadfailureview.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabWidget>
#include <QtTest>

using Window = HouseBookSetWidget;

namespace {

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

const QList<QVariantMap> kEntries{
    {{"id", 200}, {"selected", true}, {"range", 1}},
    {{"id", 36}, {"selected", false}, {"range", 2}, {"sons", QStringList{"已售"}}}};

QJsonArray entriesJson()
{
    QJsonArray array;
    for (const QVariantMap &entry : kEntries)
        array.append(QJsonObject::fromVariantMap(entry));
    return array;
}

// The editor's rows of the given entries' ids, each reduced to the members the entry
// carries: the editor holds a row for every permission.
QJsonArray rowsLike(const QList<QVariantMap> &rows, const QList<QVariantMap> &like)
{
    QJsonArray reduced;
    for (const QVariantMap &entry : like) {
        for (const QVariantMap &row : rows) {
            if (row.value("id").toInt() != entry.value("id").toInt())
                continue;
            QVariantMap part;
            for (const QString &key : entry.keys())
                part.insert(key, row.value(key));
            reduced.append(QJsonObject::fromVariantMap(part));
        }
    }
    return reduced;
}

const QJsonArray kJobs{QJsonObject{{"id", 3}, {"name", "置业顾问"}}, QJsonObject{{"id", 4}, {"name", "店长"}}};

} // namespace

class TestSetWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pagesFollowTheLeftButtons();
    void saveRoutesToTheShownPage();
    void jobPermissionsLoadFillAndSave();
    void failedLoadsOfferRetry();

private:
    Window *openJobTab(Window *window);
    QList<RecordingServer::Request> waitFor(const QString &url, int count = 1);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestSetWindow::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().workcenter_jobedit.startsWith(m_server.baseUrl()));
}

void TestSetWindow::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    m_server.setReply(pathOf(Endpoints::instance().workcenter_jobauthInfo),
                      RecordingServer::envelope(200, entriesJson()));
    m_server.setReply(pathOf(Endpoints::instance().workcenter_jobposts), RecordingServer::envelope(200, kJobs));
}

void TestSetWindow::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

QList<RecordingServer::Request> TestSetWindow::waitFor(const QString &url, int count)
{
    const QString path = pathOf(url);
    if (!QTest::qWaitFor([&] { return m_server.requestsTo(path).size() >= count; }))
        qWarning() << "no request to" << path;
    return m_server.requestsTo(path);
}

Window *TestSetWindow::openJobTab(Window *window)
{
    window->findChild<QPushButton *>("xieZuoSetButton")->click();
    window->findChild<QTabWidget *>("xieZuoTabWidget")->setCurrentIndex(Window::JobAuthTab);
    return window;
}

void TestSetWindow::pagesFollowTheLeftButtons()
{
    Window window(m_host->mainWindow(), 1);
    auto *stack = window.findChild<QStackedWidget *>("setStackedWidget");
    QCOMPARE(stack->count(), 5);
    QCOMPARE(stack->currentIndex(), 0);
    const QStringList buttons{"baseSetButton", "saleSetButton", "rentSetButton", "itemSetButton", "xieZuoSetButton"};
    for (int page = buttons.size() - 1; page >= 0; --page) {
        window.findChild<QPushButton *>(buttons.at(page))->click();
        QCOMPARE(stack->currentIndex(), page);
    }
    window.setCurrentPage(3);
    QVERIFY(window.findChild<QPushButton *>("itemSetButton")->isChecked());
    QVERIFY(!window.findChild<QPushButton *>("baseSetButton")->isChecked());
    window.setCurrentPage(9);
    QCOMPARE(stack->currentIndex(), 3);

    auto *tabs = window.findChild<QTabWidget *>("xieZuoTabWidget");
    QCOMPARE(stack->indexOf(tabs), 4);
    QCOMPARE(tabs->tabText(0), QStringLiteral("分单规则"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("岗位权限"));

    QSignalSpy closing(&window, &Window::closeWidget);
    window.findChild<QPushButton *>("cancelButton")->click();
    QCOMPARE(closing.count(), 1);
}

void TestSetWindow::saveRoutesToTheShownPage()
{
    BaseMessage_SqlTable(nullptr, true).setJsonValue("job", kJobs);
    Window window(m_host->mainWindow(), 1);
    auto *save = window.findChild<QPushButton *>("saveButton");
    QCOMPARE(save->text(), QStringLiteral("保存设置"));
    const QString config = pathOf(Endpoints::instance().app_housebookconfig);
    const QString jobedit = pathOf(Endpoints::instance().workcenter_jobedit);

    // The sale and rent pages save their own lists, each only its own.
    window.setCurrentPage(1);
    save->click();
    QTRY_COMPARE(m_server.requestsTo(config).size(), 1);
    QVERIFY(m_server.requestsTo(config).last().form.contains("mysaleshow"));
    QVERIFY(!m_server.requestsTo(config).last().form.contains("myrentshow"));
    window.setCurrentPage(2);
    save->click();
    QTRY_COMPARE(m_server.requestsTo(config).size(), 2);
    QVERIFY(m_server.requestsTo(config).last().form.contains("myrentshow"));
    QVERIFY(!m_server.requestsTo(config).last().form.contains("page"));
    const int alertsBefore = m_alerts->count();
    openJobTab(&window);
    QTRY_VERIFY(window.findChild<QPushButton *>("saveJobButton")->isEnabled());
    save->click();
    QCOMPARE(waitFor(Endpoints::instance().workcenter_jobedit).size(), 1);
    QCOMPARE(m_server.requestsTo(config).size(), 2);
    QTRY_COMPARE(m_alerts->count(), alertsBefore + 1);  // the job's confirmation, before the next test listens

    window.setCurrentPage(Window::BasePage);
    window.findChild<QCheckBox *>("companyGstateCheck")->setChecked(true);
    save->click();
    QTRY_COMPARE(m_server.requestsTo(config).size(), 3);
    QVERIFY(m_server.requestsTo(config).last().form.contains("companyGstate"));
    QCOMPARE(m_server.requestsTo(jobedit).size(), 1);
}

void TestSetWindow::jobPermissionsLoadFillAndSave()
{
    BaseMessage_SqlTable(nullptr, true).setJsonValue("job", kJobs);
    Window window(m_host->mainWindow(), 1);
    QSignalSpy success(&window, &Window::setSuccess);
    openJobTab(&window);
    auto *jobs = window.findChild<QListWidget *>("jobListWidget");
    auto *editor = window.findChild<PermissionHouseBookWidget *>("permissionHouseBookWidget");
    auto *saveJob = window.findChild<QPushButton *>("saveJobButton");
    QCOMPARE(jobs->count(), 2);
    QCOMPARE(jobs->item(1)->data(Qt::UserRole).toInt(), 4);
    QVERIFY(m_server.requestsTo(pathOf(Endpoints::instance().workcenter_jobposts)).isEmpty());

    const auto loads = waitFor(Endpoints::instance().workcenter_jobauthInfo);
    QCOMPARE(loads.first().form.value("id"), QStringLiteral("3"));
    QTRY_VERIFY(saveJob->isEnabled());
    QCOMPARE(saveJob->text(), QStringLiteral("保存<置业顾问>设置"));
    QCOMPARE(rowsLike(editor->permissionList(), kEntries), entriesJson());

    // The agent changes the job's permissions in the editor; what it holds is saved.
    QList<QVariantMap> changed = kEntries;
    changed[1].insert("selected", true);
    editor->setPermissionList(changed);
    const QString content = HouseBookSettingsService::listText(editor->permissionList());
    saveJob->click();
    const auto saves = waitFor(Endpoints::instance().workcenter_jobedit);
    QCOMPARE(saves.first().form.value("id"), QStringLiteral("3"));
    QCOMPARE(saves.first().form.value("content"), content);
    QCOMPARE(saves.first().form.value("lianmai"), QStringLiteral("1"));
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("保存<置业顾问>权限设置成功！"));
    QCOMPARE(success.count(), 0);  // the window stays open for the next job

    jobs->setCurrentRow(1);
    QCOMPARE(saveJob->text(), QStringLiteral("保存<店长>设置"));
    QVERIFY(!saveJob->isEnabled());
    QCOMPARE(waitFor(Endpoints::instance().workcenter_jobauthInfo, 2).last().form.value("id"), QStringLiteral("4"));
    QTRY_VERIFY(saveJob->isEnabled());
}

void TestSetWindow::failedLoadsOfferRetry()
{
    m_server.queueReply(pathOf(Endpoints::instance().workcenter_jobposts), RecordingServer::dropped());
    m_server.queueReply(pathOf(Endpoints::instance().workcenter_jobauthInfo), RecordingServer::dropped());
    Window window(m_host->mainWindow(), 1);
    window.show();
    openJobTab(&window);
    auto *jobs = window.findChild<QListWidget *>("jobListWidget");
    auto *jobsFailure = window.findChild<LoadFailureView *>("jobsFailure");
    QTRY_VERIFY(jobsFailure->isVisible());
    QVERIFY(jobsFailure->text().startsWith(QStringLiteral("岗位加载失败：")));
    QVERIFY(!jobs->isVisible());

    // With no jobs stored they are downloaded again, and stored.
    jobsFailure->findChild<QPushButton *>("retryButton")->click();
    QTRY_COMPARE(jobs->count(), 2);
    QCOMPARE(BaseMessage_SqlTable(nullptr, true).names("job"), (QStringList{"置业顾问", "店长"}));
    QVERIFY(jobs->isVisible());
    QVERIFY(!jobsFailure->isVisible());

    // The first job's permissions could not be read: the editor gives way to a retry and
    // nothing can be saved over the job's permissions.
    auto *authFailure = window.findChild<LoadFailureView *>("authFailure");
    auto *editor = window.findChild<PermissionHouseBookWidget *>("permissionHouseBookWidget");
    auto *saveJob = window.findChild<QPushButton *>("saveJobButton");
    QTRY_VERIFY(authFailure->isVisible());
    QVERIFY(!editor->isVisible());
    QVERIFY(!saveJob->isEnabled());
    authFailure->findChild<QPushButton *>("retryButton")->click();
    QTRY_VERIFY(saveJob->isEnabled());
    QVERIFY(editor->isVisible());
    QVERIFY(!authFailure->isVisible());
    QCOMPARE(rowsLike(editor->permissionList(), kEntries), entriesJson());
    QCOMPARE(m_alerts->texts(), QStringList());
}

QTEST_MAIN(TestSetWindow)
#include "tst_setwindow.moc"
