// The list-order editor: moves by dragging one entry onto another (through the views' own
// drag data), required entries, the grid's cells and height, and the entries' extras.
#include "alertrecorder.h"
#include "helpquestionwidget.h"
#include "hostfixture.h"
#include "widgets/sortitemview.h"
#include "widgets/sortwidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QMimeData>
#include <QPushButton>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QtTest>

namespace {

// Entries 1..n titled "T1".."Tn"; the even ones chosen, so a view that lost its entry shows.
QList<QVariantMap> entries(int n)
{
    QList<QVariantMap> list;
    for (int i = 1; i <= n; ++i)
        list << QVariantMap{{"id", i}, {"title", QStringLiteral("T%1").arg(i)}, {"choose", i % 2 == 0}};
    return list;
}

QStringList titles(const QList<QVariantMap> &items)
{
    QStringList out;
    for (const QVariantMap &item : items)
        out << item.value("title").toString();
    return out;
}

// The views in reading order of the cells the grid shows them in; each view must know its cell.
QList<SortItemView *> viewsInGrid(SortWidget *widget)
{
    auto *grid = qobject_cast<QGridLayout *>(widget->layout());
    QList<SortItemView *> views;
    for (int i = 0; i < grid->count(); ++i)
        views << nullptr;
    for (int i = 0; i < grid->count(); ++i) {
        auto *view = qobject_cast<SortItemView *>(grid->itemAt(i)->widget());
        int row = 0, colum = 0, rowSpan = 0, columSpan = 0;
        grid->getItemPosition(i, &row, &colum, &rowSpan, &columSpan);
        if (!view || view->row() != row || view->colum() != colum)
            return {};
        views[row * widget->columnCount() + colum] = view;
    }
    return views;
}

QStringList gridTitles(SortWidget *widget)
{
    QStringList out;
    for (SortItemView *view : viewsInGrid(widget))
        out << (view ? view->findChild<QCheckBox *>("sortItemCheckBox")->text() : QString());
    return out;
}

// Drags `source` onto `target` the way a drop arrives: enter, then drop, with the source's
// own drag data. Returns whether the target took the drag.
bool drop(SortItemView *source, SortItemView *target)
{
    QScopedPointer<QMimeData> data(source->createDragData());
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::MoveAction, data.data(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(at, Qt::MoveAction, data.data(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return dropped.isAccepted();
}

} // namespace

class TestSortWidget : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void dropMovesEntry_data();
    void dropMovesEntry();
    void dragFromAnotherListIsRefused();
    void dropTargetIsHighlighted();
    void requiredEntryMovesButStaysChosen();
    void heightAndViews_data();
    void heightAndViews();
    void settingsButtonAndTip();

private:
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestSortWidget::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
}

void TestSortWidget::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

void TestSortWidget::dropMovesEntry_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("onto itself") << 5 << 2 << 3 << 3 << QStringList{"T1", "T2", "T3", "T4", "T5"};
    QTest::newRow("last to first wraps every row") << 5 << 2 << 4 << 0 << QStringList{"T5", "T1", "T2", "T3", "T4"};
    QTest::newRow("forward to a later row") << 6 << 3 << 1 << 5 << QStringList{"T1", "T3", "T4", "T5", "T6", "T2"};
    QTest::newRow("backward to an earlier row") << 6 << 3 << 5 << 1 << QStringList{"T1", "T6", "T2", "T3", "T4", "T5"};
    QTest::newRow("within a row") << 6 << 3 << 0 << 2 << QStringList{"T2", "T3", "T1", "T4", "T5", "T6"};
}

void TestSortWidget::dropMovesEntry()
{
    QFETCH(int, count);
    QFETCH(int, columns);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, order);
    SortWidget widget;
    widget.setItems(entries(count), columns);
    QSignalSpy changed(&widget, &SortWidget::itemsChanged);

    const QList<SortItemView *> views = viewsInGrid(&widget);
    QCOMPARE(views.size(), count);
    QVERIFY(drop(views.at(from), views.at(to)));

    QCOMPARE(titles(widget.items()), order);
    QCOMPARE(gridTitles(&widget), order);
    QCOMPARE(changed.count(), from == to ? 0 : 1);
    // Each entry keeps its choice, in the list and on its box.
    const QList<SortItemView *> after = viewsInGrid(&widget);
    for (int i = 0; i < count; ++i) {
        const QVariantMap item = widget.items().at(i);
        QCOMPARE(item.value("choose").toBool(), item.value("id").toInt() % 2 == 0);
        QCOMPARE(after.at(i)->isChoose(), item.value("choose").toBool());
    }
    // A second drag starts from the cell the entry now sits in.
    QVERIFY(drop(after.at(0), after.at(count - 1)));
    QCOMPARE(titles(widget.items()).last(), order.first());
}

void TestSortWidget::dragFromAnotherListIsRefused()
{
    SortWidget first;
    SortWidget second;
    first.setItems(entries(3), 3);
    second.setItems(entries(3), 3);
    QSignalSpy changed(&second, &SortWidget::itemsChanged);
    QVERIFY(!drop(viewsInGrid(&first).at(2), viewsInGrid(&second).at(0)));
    QCOMPARE(titles(second.items()), QStringList({"T1", "T2", "T3"}));
    QCOMPARE(changed.count(), 0);

    // Data that is not an entry's drag is not taken either.
    QMimeData text;
    text.setText(QStringLiteral("T3"));
    QDragEnterEvent enter(QPoint(1, 1), Qt::MoveAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewsInGrid(&second).at(0), &enter);
    QVERIFY(!enter.isAccepted());
}

void TestSortWidget::dropTargetIsHighlighted()
{
    SortWidget widget;
    widget.setItems(entries(3), 3);
    SortItemView *source = viewsInGrid(&widget).at(0);
    SortItemView *target = viewsInGrid(&widget).at(2);
    QScopedPointer<QMimeData> data(source->createDragData());
    QDragEnterEvent enter(QPoint(1, 1), Qt::MoveAction, data.data(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(target->isHighlighted());
    QVERIFY(!source->isHighlighted());
    QDragLeaveEvent leave;
    QApplication::sendEvent(target, &leave);
    QVERIFY(!target->isHighlighted());
}

void TestSortWidget::requiredEntryMovesButStaysChosen()
{
    QList<QVariantMap> list = entries(4);
    list[1].insert("choose", true);
    list[1].insert("default_choose", true);
    SortWidget widget;
    widget.setItems(list, 2);
    QVERIFY(drop(viewsInGrid(&widget).at(1), viewsInGrid(&widget).at(3)));
    QCOMPARE(titles(widget.items()), QStringList({"T1", "T3", "T4", "T2"}));

    QSignalSpy changed(&widget, &SortWidget::itemsChanged);
    auto *box = viewsInGrid(&widget).at(3)->findChild<QCheckBox *>("sortItemCheckBox");
    box->click();
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("【T2】为必选项！"));
    QVERIFY(box->isChecked());
    QVERIFY(widget.items().at(3).value("choose").toBool());
    QCOMPARE(changed.count(), 0);

    // An ordinary entry is unchosen without a word.
    viewsInGrid(&widget).at(2)->findChild<QCheckBox *>("sortItemCheckBox")->click();
    QVERIFY(!widget.items().at(2).value("choose").toBool());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_alerts->count(), 1);
}

void TestSortWidget::heightAndViews_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("height");
    QTest::newRow("empty") << 0 << 3 << 0;
    QTest::newRow("one") << 1 << 3 << 40;
    QTest::newRow("full row") << 3 << 3 << 40;
    QTest::newRow("one over a row") << 4 << 3 << 80;
    QTest::newRow("seven in two") << 7 << 2 << 160;
    QTest::newRow("one column") << 5 << 1 << 200;
    QTest::newRow("no columns counts as one") << 2 << 0 << 80;
}

void TestSortWidget::heightAndViews()
{
    QFETCH(int, count);
    QFETCH(int, columns);
    QFETCH(int, height);
    SortWidget widget;
    widget.setItems(entries(9), 4);
    widget.setItems(entries(count), columns);
    QCOMPARE(widget.height(), height);
    QCOMPARE(widget.minimumHeight(), height);
    QCOMPARE(widget.maximumHeight(), height);
    QCOMPARE(gridTitles(&widget), titles(entries(count)));
    // The nine earlier views are gone once the event that replaced them has ended.
    QTRY_COMPARE(widget.findChildren<SortItemView *>().size(), count);
}

void TestSortWidget::settingsButtonAndTip()
{
    QList<QVariantMap> list = entries(3);
    list[2].insert("id", 17);
    list[2].insert("has_set", true);
    list[1].insert("tip_id", 8);
    SortWidget widget;
    widget.setItems(list, 3);
    QSignalSpy clicked(&widget, &SortWidget::btnClick);

    const QList<QPushButton *> buttons = widget.findChildren<QPushButton *>("sortItemSetButton");
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.first()->text(), QStringLiteral("设置>"));
    QCOMPARE(buttons.first()->parentWidget(), viewsInGrid(&widget).at(2));
    buttons.first()->click();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().toInt(), 17);

    const QList<HelpQuestionWidget *> tips = widget.findChildren<HelpQuestionWidget *>();
    QCOMPARE(tips.size(), 1);
    QCOMPARE(tips.first()->tipId(), 8);
    QCOMPARE(tips.first()->parentWidget(), viewsInGrid(&widget).at(1));
}

QTEST_MAIN(TestSortWidget)
#include "tst_sortwidget.moc"
