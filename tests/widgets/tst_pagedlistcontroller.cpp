// Paging rules of the list pages: steps and typed pages within the page count, refusals with
// the list's own texts, page size changes, sort changes and the bound paging bar.
#include "alertrecorder.h"
#include "widgets/listpagingbar.h"
#include "widgets/pagedlistcontroller.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using Step = PagedListController::Step;
using SizeChange = PagedListController::SizeChange;
Q_DECLARE_METATYPE(PagedListController::SizeChange)

namespace {
const PagedListController::Refusals kRefusals{QStringLiteral("第一页"), QStringLiteral("最后一页"),
                                              QStringLiteral("没有十页"), QStringLiteral("无效页数")};

// A controller showing `page` of `total` rows at `pageSize`, sorted by id descending.
struct Pager
{
    Pager(int total, int pageSize, int page, SizeChange sizeChange = SizeChange::KeepFirstRow)
        : controller(kRefusals, sizeChange)
        , requests(&controller, &PagedListController::pageRequested)
        , refusals(&controller, &PagedListController::refused)
    {
        controller.setSort(QStringLiteral("id"), true);
        controller.setPageSize(pageSize);
        controller.setPage(page);
        controller.setTotal(total);
    }
    PagedListController controller;
    QSignalSpy requests;
    QSignalSpy refusals;
};
} // namespace

class TestPagedListController : public QObject
{
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
    void typedPages_data();
    void typedPages();
    void pageSizeChanges_data();
    void pageSizeChanges();
    void sortAndRestartGoToFirstPage();
    void stepWithoutRequestMovesQuietly();
    void boundBarShowsStateAndPutsFieldsBack();
};

void TestPagedListController::steps_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("page");
    QTest::addColumn<Step>("step");
    QTest::addColumn<int>("expected");  // 0: refused
    QTest::addColumn<QString>("refusal");

    QTest::newRow("empty: forward") << 0 << 1 << Step::Forward << 0 << kRefusals.lastPage;
    QTest::newRow("empty: ten forward") << 0 << 1 << Step::ForwardTen << 0 << kRefusals.noTenAhead;
    QTest::newRow("empty: back") << 0 << 1 << Step::Back << 0 << kRefusals.firstPage;
    QTest::newRow("empty: ten back stays on 1") << 0 << 1 << Step::BackTen << 1 << QString();
    QTest::newRow("41 rows: ten forward") << 41 << 1 << Step::ForwardTen << 0 << kRefusals.noTenAhead;
    QTest::newRow("41 rows: forward") << 41 << 2 << Step::Forward << 3 << QString();
    QTest::newRow("41 rows: past the last") << 41 << 3 << Step::Forward << 0 << kRefusals.lastPage;
    QTest::newRow("41 rows: ten back clamps") << 41 << 3 << Step::BackTen << 1 << QString();
    QTest::newRow("1000 rows: ten forward") << 1000 << 1 << Step::ForwardTen << 11 << QString();
    QTest::newRow("1000 rows: ten forward to the last") << 1000 << 40 << Step::ForwardTen << 50 << QString();
    QTest::newRow("1000 rows: back") << 1000 << 11 << Step::Back << 10 << QString();
}

void TestPagedListController::steps()
{
    QFETCH(int, total);
    QFETCH(int, page);
    QFETCH(Step, step);
    QFETCH(int, expected);
    QFETCH(QString, refusal);
    AlertRecorder alerts;
    Pager pager(total, 20, page);

    QCOMPARE(pager.controller.step(step), expected != 0);
    if (expected == 0) {
        QCOMPARE(pager.controller.page(), page);
        QCOMPARE(pager.requests.count(), 0);
        QCOMPARE(pager.refusals.count(), 1);
        QCOMPARE(pager.refusals.first().first().toString(), refusal);
        QTRY_COMPARE(alerts.texts(), QStringList{refusal});
    } else {
        QCOMPARE(pager.controller.page(), expected);
        QCOMPARE(pager.requests.count(), 1);
        QCOMPARE(pager.requests.first(), (QVariantList{expected, 20, QStringLiteral("id"), true}));
        QCOMPARE(pager.refusals.count(), 0);
    }
}

void TestPagedListController::typedPages_data()
{
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("expected");  // 0: refused

    QTest::newRow("within") << 41 << "2" << 2;
    QTest::newRow("last, with blanks") << 41 << " 3 " << 3;
    QTest::newRow("zero") << 41 << "0" << 0;
    QTest::newRow("past the last") << 41 << "4" << 0;
    QTest::newRow("negative") << 41 << "-1" << 0;
    QTest::newRow("text") << 41 << "abc" << 0;
    QTest::newRow("empty field") << 41 << "" << 0;
    QTest::newRow("no rows") << 0 << "1" << 0;
}

void TestPagedListController::typedPages()
{
    QFETCH(int, total);
    QFETCH(QString, typed);
    QFETCH(int, expected);
    AlertRecorder alerts;
    Pager pager(total, 20, 1);

    QCOMPARE(pager.controller.jumpTo(typed), expected != 0);
    QCOMPARE(pager.controller.page(), expected == 0 ? 1 : expected);
    QCOMPARE(pager.requests.count(), expected == 0 ? 0 : 1);
    if (expected == 0)
        QTRY_COMPARE(alerts.texts(), QStringList{kRefusals.invalidPage});
    else
        QCOMPARE(pager.refusals.count(), 0);
}

void TestPagedListController::pageSizeChanges_data()
{
    QTest::addColumn<SizeChange>("sizeChange");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("newSize");
    QTest::addColumn<int>("expected");  // 0: nothing requested

    // Page 5 at 20 rows starts at row 80.
    QTest::newRow("keep first row: larger") << SizeChange::KeepFirstRow << 5 << 30 << 3;
    QTest::newRow("keep first row: smaller") << SizeChange::KeepFirstRow << 5 << 10 << 9;
    QTest::newRow("keep first row: whole book") << SizeChange::KeepFirstRow << 5 << 100 << 1;
    QTest::newRow("first page") << SizeChange::FirstPage << 5 << 30 << 1;
    QTest::newRow("same size") << SizeChange::KeepFirstRow << 5 << 20 << 0;
    QTest::newRow("invalid size") << SizeChange::FirstPage << 5 << 0 << 0;
}

void TestPagedListController::pageSizeChanges()
{
    QFETCH(SizeChange, sizeChange);
    QFETCH(int, page);
    QFETCH(int, newSize);
    QFETCH(int, expected);
    Pager pager(1000, 20, page, sizeChange);

    QCOMPARE(pager.controller.changePageSize(newSize), expected != 0);
    if (expected == 0) {
        QCOMPARE(pager.requests.count(), 0);
        QCOMPARE(pager.controller.pageSize(), 20);
        QCOMPARE(pager.controller.page(), page);
        return;
    }
    QCOMPARE(pager.requests.count(), 1);
    QCOMPARE(pager.requests.first(), (QVariantList{expected, newSize, QStringLiteral("id"), true}));
    pager.controller.setTotal(1000);
    QCOMPARE(pager.controller.pageCount(), PagedListController::pagesFor(1000, newSize));
}

void TestPagedListController::sortAndRestartGoToFirstPage()
{
    Pager pager(1000, 20, 7);
    pager.controller.sortBy(QStringLiteral("price"), false);
    QCOMPARE(pager.requests.takeFirst(), (QVariantList{1, 20, QStringLiteral("price"), false}));

    pager.controller.setPage(4);
    pager.controller.restart();
    QCOMPARE(pager.requests.takeFirst(), (QVariantList{1, 20, QStringLiteral("price"), false}));
}

// A detail window turning past its page loads the next page itself, at once.
void TestPagedListController::stepWithoutRequestMovesQuietly()
{
    AlertRecorder alerts;
    Pager pager(41, 20, 2);
    QVERIFY(pager.controller.stepWithoutRequest(Step::Forward));
    QCOMPARE(pager.controller.page(), 3);
    QVERIFY(!pager.controller.stepWithoutRequest(Step::Forward));
    QCOMPARE(pager.controller.page(), 3);
    QCOMPARE(pager.requests.count(), 0);
    QTRY_COMPARE(alerts.texts(), QStringList{kRefusals.lastPage});
}

void TestPagedListController::boundBarShowsStateAndPutsFieldsBack()
{
    AlertRecorder alerts;
    ListPagingBar bar;
    Pager pager(0, 20, 2);
    pager.controller.bind(&bar);
    pager.controller.setTotal(41);
    auto *description = bar.findChild<QLabel *>(QStringLiteral("pageDesLabel"));
    auto *typed = bar.findChild<QLineEdit *>(QStringLiteral("currentPageIndexEdit"));
    auto *size = bar.findChild<QLineEdit *>(QStringLiteral("pageNumEdit"));
    QCOMPARE(description->text(), QStringLiteral(" 条，共3页，共计41条，当前第 "));
    QCOMPARE(typed->text(), QStringLiteral("2"));
    QCOMPARE(size->text(), QStringLiteral("20"));

    typed->setText(QStringLiteral("9"));
    bar.findChild<QPushButton *>(QStringLiteral("jumpBtn"))->click();
    QTRY_COMPARE(alerts.texts(), QStringList{kRefusals.invalidPage});
    QCOMPARE(typed->text(), QStringLiteral("2"));

    bar.findChild<QPushButton *>(QStringLiteral("nextPage"))->click();
    QCOMPARE(pager.requests.count(), 1);
    QCOMPARE(pager.controller.page(), 3);

    // A new size shows at once: the bar puts the size in force back after its edit.
    QObject::connect(&bar, &ListPagingBar::pageSizeEdited, &pager.controller,
                     [&pager](const QString &text) { pager.controller.changePageSize(text.toInt()); });
    size->setText(QStringLiteral("50"));
    QMetaObject::invokeMethod(size, "editingFinished");
    QCOMPARE(size->text(), QStringLiteral("50"));
    QCOMPARE(pager.requests.count(), 2);
}

QTEST_MAIN(TestPagedListController)
#include "tst_pagedlistcontroller.moc"
