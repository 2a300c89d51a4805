// Times the house list page on a seeded book (default 200,000 listings), as an ordinary agent
// with a page size of 100: from the trigger to the rendered table (rows filled and painted), for
//   open  - building the page and opening the sale book (出售房源);
//   count - the same trigger until the paging bar holds the book's count;
//   next  - "下一页";
//   sort  - a double click on the "总价" header (the two directions in turn).
// Every figure includes the page's 100 ms load deferral. Each is measured twice in the same
// run on the same file: first as before the count worker and the sort indexes (the count runs
// before the page is shown, no sort indexes), then as now, after the indexes were created the
// way the sync worker gives them to an existing large book (that build is timed, the file size
// given before and after). The count cache is emptied before each open, so "count" is the
// worker's. The sqlite3 shell, when present, runs the same count and sort statements.
// Targets (medians of --reps runs): open, next <= 200 ms; count <= 300 ms; sort <= 250 ms.
// Exit code 1 when one is missed.
//
// Every file of the run (company and personal databases, settings) lives under --keep DIR or
// a temporary folder, never in the user's folders.
//
//   QT_QPA_PLATFORM=offscreen bench_houselist [--listings N] [--reps N] [--keep DIR] [--sqlite3 PATH]
#include "houselistseed.h"
#include "list/housebooklistwidget.h"
#include "sql/housecountcache.h"
#include "sql/housequerybuilder.h"
#include "widgets/houselisttableheadview.h"
#include "widgets/hovertablewidget.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int kPageSize = 100;

// Spins the event loop until done() holds, then paints the window; false after 60 s.
bool spinUntil(HouseBookListWidget *page, const std::function<bool()> &done)
{
    QElapsedTimer guard;
    guard.start();
    while (!done()) {
        if (guard.elapsed() > 60000)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    page->window()->repaint();
    return true;
}

// The page shows a full table again and done() holds.
bool waitRendered(HouseBookListWidget *page, const std::function<bool()> &done)
{
    auto *table = page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    return spinUntil(page, [&] {
        return done() && table->rowCount() == page->listings().size() && !page->listings().isEmpty();
    });
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.at(v.size() / 2);
}

double worst(const QList<double> &v)
{
    return v.isEmpty() ? 0 : *std::max_element(v.cbegin(), v.cend());
}

int sectionTitled(HoverTableWidget *table, const QString &title)
{
    for (int i = 0; i < table->columnCount(); ++i) {
        if (table->horizontalHeaderItem(i) && table->horizontalHeaderItem(i)->text() == title)
            return i;
    }
    return -1;
}

struct Figures
{
    QList<double> open, count, next, sort;
    int total = 0;
    int rows = 0;
    QString countSql, sortSql;
};

// One pass over the page: open (and its count), next page, sort by 总价.
bool measure(QWidget *window, int reps, Figures &f)
{
    HouseBookListWidget *page = nullptr;
    for (int rep = 0; rep <= reps; ++rep) {  // run 0 warms up
        delete page;
        HouseCountCache::instance()->clear();
        QElapsedTimer t;
        t.start();
        page = new HouseBookListWidget(window);
        page->resize(window->size());
        page->show();
        page->setMode(4, 0);
        if (!waitRendered(page, [] { return true; }))
            return std::fprintf(stderr, "the sale book did not load\n"), false;
        const double painted = t.nsecsElapsed() / 1e6;
        if (!spinUntil(page, [&] { return !page->counting() && page->total() > 0; }))
            return std::fprintf(stderr, "the sale book was not counted\n"), false;
        if (rep > 0)
            f.open << painted, f.count << t.nsecsElapsed() / 1e6;
    }
    auto *table = page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    auto *nextButton = page->findChild<QPushButton *>(QStringLiteral("nextPage"));
    for (int rep = 0; rep <= reps; ++rep) {
        const int target = page->page() + 1;
        QElapsedTimer t;
        t.start();
        nextButton->click();
        if (!waitRendered(page, [&] { return page->page() == target && table->rowCount() == kPageSize; }))
            return std::fprintf(stderr, "next page did not load\n"), false;
        if (rep > 0)
            f.next << t.nsecsElapsed() / 1e6;
    }
    const int priceSection = sectionTitled(table, QStringLiteral("总价"));
    auto *header = qobject_cast<HouseListTableHeadView *>(table->horizontalHeader());
    if (priceSection < 0 || !header)
        return std::fprintf(stderr, "no 总价 column\n"), false;
    auto *loadTimer = page->findChild<QTimer *>(QStringLiteral("loadTimer"));
    for (int rep = 0; rep <= reps; ++rep) {
        QElapsedTimer t;
        t.start();
        emit header->sectionDoubleClicked(priceSection);
        if (!waitRendered(page, [&] {
                return page->sortKey() == QStringLiteral("price") && page->page() == 1 && !loadTimer->isActive();
            }))
            return std::fprintf(stderr, "sorting did not load\n"), false;
        if (rep > 0)
            f.sort << t.nsecsElapsed() / 1e6;
    }
    spinUntil(page, [&] { return !page->counting(); });
    f.total = page->total();
    f.rows = table->rowCount();
    HouseQuery q;
    q.mode = 4;
    q.conditions = page->conditions();
    q.sortKey = QStringLiteral("price");
    q.sortDescending = true;
    q.pageSize = kPageSize;
    q.fields = page->fields();
    HouseMessage_DataSqlTable store(nullptr, true);
    f.countSql = store.countStatement(q);
    f.sortSql = store.listStatement(q);
    delete page;
    return true;
}

QString companyDb()
{
    return HouseMessage_DataSqlTable(nullptr, true).getDBAddress(BaseSqlObject::CompanyDB);
}

// Drops the sort indexes through a connection of its own, as a database of the version before
// them has none.
void dropSortIndexes()
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-drop"));
        db.setDatabaseName(companyDb());
        db.open();
        bool dropped = false;
        for (const QString &name : HouseMessage_DataSqlTable::sortIndexNames()) {
            QSqlQuery present(db);
            present.exec(QStringLiteral("select 1 from sqlite_master where type='index' and name='%1'").arg(name));
            if (present.next()) {
                present.finish();
                dropped = QSqlQuery(db).exec(QStringLiteral("drop index %1").arg(name)) || dropped;
            }
        }
        // A kept database from an earlier run gives the space back, so the sizes compare.
        if (dropped)
            QSqlQuery(db).exec(QStringLiteral("vacuum"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-drop"));
}

// The shell's time for one run of a statement: R runs minus R runs of "select 1", over R;
// -1 without a shell.
double shellMs(const QString &sqlite3, const QString &statement)
{
    const auto wall = [&](const QString &sql, int times) {
        QString script = QStringLiteral(".output /dev/null\n");
        for (int i = 0; i < times; ++i)
            script += sql + QStringLiteral(";\n");
        QProcess shell;
        QElapsedTimer timer;
        timer.start();
        shell.start(sqlite3, {QStringLiteral("-batch"), companyDb()});
        if (!shell.waitForStarted())
            return -1.0;
        shell.write(script.toUtf8());
        shell.closeWriteChannel();
        shell.waitForFinished(-1);
        return shell.exitCode() == 0 ? timer.nsecsElapsed() / 1e6 : -1.0;
    };
    const int times = 5;
    if (wall(statement, 1) < 0)
        return -1;
    QList<double> per;
    for (int i = 0; i < 3; ++i)
        per << qMax(0.0, (wall(statement, times) - wall(QStringLiteral("select 1"), times)) / times);
    return *std::min_element(per.cbegin(), per.cend());
}

bool row(const char *name, const QList<double> &now, const QList<double> &before, double shell, double target)
{
    const bool pass = median(now) <= target;
    std::printf("%-16s %9.1f %9.1f %11.1f %11.1f %9s %6.0f %s\n", name, median(now), worst(now), median(before),
                worst(before), shell < 0 ? "-" : qPrintable(QString::number(shell, 'f', 1)), target,
                pass ? "ok" : "MISSED");
    return pass;
}

} // namespace

int main(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.addOptions({{"listings", "Listings to seed.", "N", "200000"},
                       {"reps", "Runs of each step.", "N", "7"},
                       {"keep", "Keep the seeded data in DIR (reused when present).", "DIR"},
                       {"sqlite3", "The sqlite3 shell (skipped when missing).", "PATH", "sqlite3"}});
    parser.addHelpOption();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    QTemporaryDir temp;
    const QString dir = QDir(parser.isSet("keep") ? parser.value("keep") : temp.path()).absolutePath();
    // Before the application exists: the company database sits in the configuration folder.
    for (const char *variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QFile::encodeName(dir + QLatin1Char('/') + QString::fromLatin1(variable).toLower()));
    qputenv("QX_HOUSEBOOK_DATA_DIR", QFile::encodeName(dir + QStringLiteral("/app")));
    QApplication app(argc, argv);
    parser.process(app);
    const int listings = parser.value("listings").toInt();
    const int reps = qMax(1, parser.value("reps").toInt());

    HouseListSeed::signIn(dir, kPageSize);
    HouseMessage_DataSqlTable::setSortIndexes(false);
    QElapsedTimer seedTimer;
    seedTimer.start();
    if (HouseMessage_DataSqlTable(nullptr, true).getHouseData(listings).id != listings) {
        const int written = HouseListSeed::seed(listings);
        std::printf("seeded %d listings in %.1f s\n", written, seedTimer.elapsed() / 1000.0);
    }
    dropSortIndexes();
    const QString db = companyDb();
    std::printf("data folder %s\ncompany database %s\n", qPrintable(dir), qPrintable(db));

    QWidget window;
    window.resize(1600, 900);
    window.show();
    DataCenter::MainWindowWidget = &window;

    Figures before, now;
    HouseBookListWidget::setCountsInBackground(false);
    if (!measure(&window, reps, before))
        return 2;
    const qint64 sizeBefore = QFileInfo(db).size();
    const double shellSortBefore = shellMs(parser.value("sqlite3"), before.sortSql);

    HouseMessage_DataSqlTable::setSortIndexes(true);
    QElapsedTimer build;
    build.start();
    // What the sync worker does at the end of the next sync for a book this size.
    HouseMessage_DataSqlTable(nullptr, true).createMissingIndexes();
    const double buildSeconds = build.elapsed() / 1000.0;
    const qint64 sizeAfter = QFileInfo(db).size();
    HouseBookListWidget::setCountsInBackground(true);
    if (!measure(&window, reps, now))
        return 2;
    const double shellCount = shellMs(parser.value("sqlite3"), now.countSql);
    const double shellSort = shellMs(parser.value("sqlite3"), now.sortSql);

    std::printf("\n%d listings seeded, %d rows per page; the sale book counts %d (before: %d), %d rows shown\n",
                HouseMessage_DataSqlTable(nullptr, true).haveDataInTable(QStringLiteral("house"), BaseSqlObject::CompanyDB),
                kPageSize, now.total, before.total, now.rows);
    std::printf("sort indexes built (as the sync worker does) in %.1f s; database %.1f MB before, %.1f MB after\n", buildSeconds,
                sizeBefore / 1048576.0, sizeAfter / 1048576.0);
    std::printf("sqlite3 shell: sort statement before the indexes %.1f ms\n", shellSortBefore);
    std::printf("\n%-16s %9s %9s %11s %11s %9s %6s\n", "step (ms)", "median", "worst", "before med",
                "before worst", "sqlite3", "target");
    bool ok = row("open sale book", now.open, before.open, -1, 200);
    ok = row("count arrives", now.count, before.count, shellCount, 300) && ok;
    ok = row("next page", now.next, before.next, -1, 200) && ok;
    ok = row("sort by 总价", now.sort, before.sort, shellSort, 250) && ok;
    std::printf("\ncount statement: %s\nsort statement: %s\n", qPrintable(now.countSql.left(300)),
                qPrintable(now.sortSql.left(300)));
    return ok ? 0 : 1;
}
