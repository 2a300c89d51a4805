// A report against a role holder, against the simulator: an agent opens a listing's team
// cooperation tab and reports its survey holder; a reviewer finds the report in the review
// list and upholds it, giving the role to the reporter; the listing's next sync brings the
// reporter as survey holder, and the tab shows her there.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "customtabwidget.h"
#include "datacenter.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/housedetailfirstpagewidget.h"
#include "detail/mysalehousedetailwidget.h"
#include "entry/exports.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "separation/highseperatereporthistorywidget.h"
#include "separation/highseperatereportreviewwidget.h"
#include "separation/housebookdetailseperateitemview.h"
#include "separation/housebookdetailseperatewidget.h"
#include "separation/houseseperatejubaowidget.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"
#include "widgets/hovertablewidget.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QtTest>

namespace {

const QString kReviewer = QStringLiteral("13800000001");
const QString kReporter = QStringLiteral("13800000004");
constexpr int kWait = 20000;

void actAs(const QString &phone)
{
    DataCenter::CookieVar = QStringLiteral("qxphone=") + phone;
}

// The text a content box holds, whichever kind of edit it is.
void typeInto(QWidget *edit, const QString &text)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(edit))
        plain->setPlainText(text);
    else if (auto *rich = qobject_cast<QTextEdit *>(edit))
        rich->setPlainText(text);
    else
        QFAIL("the content box is no text edit");
}

} // namespace

class TestSeparationEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void upheldReportGivesTheRoleToTheReporter();

private:
    // Opens the listing from the list page as a click does; its team tab once the rows came.
    HouseBookDetailSeperateWidget *openTeamTab(int row);
    // The team tab of a detail window just opened on the listing, once its rows came.
    HouseBookDetailSeperateWidget *teamTabOf(HouseBookMessageDetailWidget *shell, int id);
    // Rows of the first page that open the detail window with a team cooperation tab.
    QList<int> openableRows() const;
    HouseBookDetailSeperateItemView *surveyRow(HouseBookDetailSeperateWidget *tab) const;

    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QPointer<HouseBookListWidget> m_list;
    QPointer<HouseBookMessageDetailWidget> m_shell;
};

void TestSeparationEndToEnd::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 300;
    options.communities = 30;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());

    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_host->signInAs(TestUser().company(101));
    actAs(kReviewer);
    QVERIFY(FirstBookDownload::startIfNeeded(true));
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded, 60000);

    auto *tabs = new CustomTabWidget(m_host->mainWindow());
    loadHouseListWidget(m_host->mainWindow(), &tabs, &m_list, 0, 0);
    QVERIFY(m_list);
    QTRY_VERIFY_WITH_TIMEOUT(!m_list->listings().isEmpty(), 10000);
}

void TestSeparationEndToEnd::cleanupTestCase()
{
    if (m_shell)
        emit m_shell->closeWidget();
    delete m_list;
    m_alerts.reset();
    m_host.reset();
}

QList<int> TestSeparationEndToEnd::openableRows() const
{
    QList<int> openable;
    const QList<HouseBookListWidget::Record> rows = m_list->listings();
    for (int row = 0; row < rows.size(); ++row) {
        const HouseBookListWidget::Record &r = rows.at(row);
        // A listing under review opens its review form instead of the detail window; private
        // and special listings have no team cooperation.
        if (r.shenhestatus != 1 && r.housestatus != 0 && r.sf == 0 && r.stype == 0)
            openable << row;
    }
    return openable;
}

HouseBookDetailSeperateWidget *TestSeparationEndToEnd::openTeamTab(int row)
{
    if (m_shell) {
        emit m_shell->closeWidget();
        if (!QTest::qWaitFor([&] { return !m_shell; }, kWait))
            return nullptr;
    }
    const int id = m_list->listings().at(row).id;
    emit m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"))->clickRowIndex(row);
    return teamTabOf(m_list->findChild<HouseBookMessageDetailWidget *>(), id);
}

HouseBookDetailSeperateWidget *TestSeparationEndToEnd::teamTabOf(HouseBookMessageDetailWidget *shell, int id)
{
    m_shell = shell;
    if (!shell || !QTest::qWaitFor([&] { return shell->detailWindow() && shell->detailWindow()->firstPage()
                                                 && shell->detailWindow()->firstPage()->record().id == id; }, kWait)) {
        return nullptr;
    }
    auto *foot = shell->detailWindow()->firstPage()->findChild<QTabWidget *>(QStringLiteral("tabWidget_foot"));
    auto *tab = shell->detailWindow()->firstPage()->findChild<HouseBookDetailSeperateWidget *>();
    if (!foot || !tab) {
        return nullptr;
    }
    foot->setCurrentWidget(tab);
    if (!QTest::qWaitFor([&] { return tab->rows().size() == 7; }, kWait))
        return nullptr;
    return tab;
}

HouseBookDetailSeperateItemView *TestSeparationEndToEnd::surveyRow(HouseBookDetailSeperateWidget *tab) const
{
    for (HouseBookDetailSeperateItemView *row : tab->rows()) {
        if (row->model().type == HouseBookSeperateList_Model::ShiKan)
            return row;
    }
    return nullptr;
}

void TestSeparationEndToEnd::upheldReportGivesTheRoleToTheReporter()
{
    // The agent opens listings until one has a survey holder other than herself.
    actAs(kReporter);
    HouseBookDetailSeperateWidget *tab = nullptr;
    HouseBookDetailSeperateItemView *survey = nullptr;
    int id = 0;
    for (int row : openableRows()) {
        id = m_list->listings().at(row).id;
        tab = openTeamTab(row);
        QVERIFY(tab);
        survey = surveyRow(tab);
        QVERIFY(survey);
        if (survey->model().hasHolder() && survey->model().phone != kReporter)
            break;
        survey = nullptr;
    }
    QVERIFY2(survey, "no listing of the first page has a survey holder");
    QVERIFY(m_shell->detailWindow()->firstPage()->record().shikanren.phone != kReporter);

    // She reports the survey holder from the row's menu.
    emit survey->clickBtn(QStringLiteral("举报"));
    HouseSeperateJuBaoWidget *form = nullptr;
    QTRY_VERIFY((form = m_host->mainWindow()->window()->findChild<HouseSeperateJuBaoWidget *>())
                || (form = tab->window()->findChild<HouseSeperateJuBaoWidget *>()));
    // Quotes, ampersands and percent signs reach the reviewer as typed.
    const QString complaint = QStringLiteral("照片不是本房源 \"客厅\" & 卧室 100%+");
    typeInto(form->findChild<QWidget *>(QStringLiteral("contentEdit")), complaint);
    form->findChild<QPushButton *>(QStringLiteral("submitButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_alerts->texts().contains(QStringLiteral("举报成功！")), kWait);

    // The reviewer upholds it in the review list and gives the role to the reporter.
    actAs(kReviewer);
    QStackedWidget *stack = nullptr;
    HighSeperateReportHistoryWidget *reports = nullptr;
    loadJubaoReviewHouseList(m_host->mainWindow(), &stack, &reports);
    QVERIFY(reports);
    HighSeperateReportList_Model::ItemData report;
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            for (const auto &item : reports->items()) {
                if (item.itemid.toInt() == id && item.state == HighSeperateReportList_Model::Pending) {
                    report = item;
                    return true;
                }
            }
            return false;
        }(),
        kWait);
    QCOMPARE(report.content, complaint);
    reports->reportDeal(report);
    HighSeperateReportReviewWidget *review = nullptr;
    QTRY_VERIFY((review = reports->window()->findChild<HighSeperateReportReviewWidget *>()));
    review->findChild<QRadioButton *>(QStringLiteral("upheldRadio"))->click();
    review->findChild<QRadioButton *>(QStringLiteral("toReporterRadio"))->click();
    review->findChild<QPushButton *>(QStringLiteral("submitButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_alerts->texts().contains(QStringLiteral("审核成功！")), kWait);

    // After the listing's sync its local copy names the reporter: the reviewer opens the
    // listing from the report list and finds her on the team tab.
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            if (m_shell)
                emit m_shell->closeWidget();
            if (!QTest::qWaitFor([&] { return !m_shell; }, kWait))
                return false;
            reports->openHouseDetail(id);
            tab = teamTabOf(m_host->mainWindow()->window()->findChild<HouseBookMessageDetailWidget *>(), id);
            return tab && m_shell->detailWindow()->firstPage()->record().shikanren.phone == kReporter;
        }(),
        kWait);
    QCOMPARE(surveyRow(tab)->model().phone, kReporter);
}

QTEST_MAIN(TestSeparationEndToEnd)
#include "tst_separationendtoend.moc"
