// The list-order editor: moves by dropping one entry on another (through the views' own drag
// data), required entries, the grid's cells and height, and the entries' extras.
#include "alertrecorder.h"
#include "helpquestionwidget.h"
#include "hostfixture.h"
#include "widgets/sortitemview.h"
#include "widgets/sortwidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QMimeData>
#include <QPushButton>
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

// The views in reading order of their grid cells; empty when a view does not know its cell.
QList<SortItemView *> viewsInGrid(SortWidget *widget)
{
    auto *grid = qobject_cast<QGridLayout *>(widget->layout());
    QVector<SortItemView *> views(grid->count());
    for (int i = 0; i < grid->count(); ++i) {
        auto *view = qobject_cast<SortItemView *>(grid->itemAt(i)->widget());
        int row = 0, colum = 0, rowSpan = 0, columSpan = 0;
        grid->getItemPosition(i, &row, &colum, &rowSpan, &columSpan);
        if (!view || view->row() != row || view->colum() != colum)
            return {};
        views[row * widget->columnCount() + colum] = view;
    }
    return views.toList();
}

QStringList gridTitles(SortWidget *widget)
{
    QStringList out;
    for (SortItemView *view : viewsInGrid(widget))
        out << view->findChild<QCheckBox *>("sortItemCheckBox")->text();
    return out;
}

// Drops `source` on `target` as a drag arrives: enter, then drop, with the source's drag data.
bool drop(SortItemView *source, SortItemView *target)
{
    QScopedPointer<QMimeData> data(source->createDragData());
    QDragEnterEvent enter(QPoint(1, 1), Qt::MoveAction, data.data(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    const bool highlighted = target->isHighlighted();
    QDropEvent dropped(QPoint(1, 1), Qt::MoveAction, data.data(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &dropped);
    return highlighted && !target->isHighlighted() && dropped.isAccepted();
}

} // namespace

class TestSortWidget : public QObject
{
    Q_OBJECT
private slots:
    void dropMovesEntry_data();
    void dropMovesEntry();
    void dropFromAnotherListIsRefused();
    void requiredEntryMovesButStaysChosen();
    void heightAndViews_data();
    void heightAndViews();
    void settingsButtonAndTip();

private:
    HostFixture m_host;
    AlertRecorder m_alerts;
};

void TestSortWidget::dropMovesEntry_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("onto itself") << 2 << 3 << 3 << QStringList{"T1", "T2", "T3", "T4", "T5", "T6"};
    QTest::newRow("last to first wraps every row") << 4 << 5 << 0 << QStringList{"T6", "T1", "T2", "T3", "T4", "T5"};
    QTest::newRow("forward to a later row") << 3 << 1 << 5 << QStringList{"T1", "T3", "T4", "T5", "T6", "T2"};
    QTest::newRow("backward to an earlier row") << 3 << 5 << 1 << QStringList{"T1", "T6", "T2", "T3", "T4", "T5"};
}

void TestSortWidget::dropMovesEntry()
{
    QFETCH(int, columns);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, order);
    SortWidget widget;
    widget.setItems(entries(6), columns);
    QSignalSpy changed(&widget, &SortWidget::itemsChanged);
    QVERIFY(drop(viewsInGrid(&widget).value(from), viewsInGrid(&widget).value(to)));

    QCOMPARE(titles(widget.items()), order);
    QCOMPARE(gridTitles(&widget), order);
    QCOMPARE(changed.count(), from == to ? 0 : 1);
    // Each entry keeps its choice, in the list and on its box.
    for (int i = 0; i < order.size(); ++i) {
        const QVariantMap item = widget.items().at(i);
        QCOMPARE(item.value("choose").toBool(), item.value("id").toInt() % 2 == 0);
        QCOMPARE(viewsInGrid(&widget).at(i)->isChoose(), item.value("choose").toBool());
    }
    // The next drag starts from the cell the entry now sits in.
    QVERIFY(drop(viewsInGrid(&widget).at(0), viewsInGrid(&widget).at(5)));
    QCOMPARE(titles(widget.items()).last(), order.first());
}

void TestSortWidget::dropFromAnotherListIsRefused()
{
    SortWidget first;
    SortWidget second;
    first.setItems(entries(3), 3);
    second.setItems(entries(3), 3);
    QSignalSpy changed(&second, &SortWidget::itemsChanged);
    QVERIFY(!drop(viewsInGrid(&first).at(2), viewsInGrid(&second).at(0)));
    QVERIFY(!viewsInGrid(&second).at(0)->isHighlighted());
    QCOMPARE(titles(second.items()), QStringList({"T1", "T2", "T3"}));
    QCOMPARE(changed.count(), 0);
}

void TestSortWidget::requiredEntryMovesButStaysChosen()
{
    m_alerts.answerWith(AlertWidget::Know);
    m_alerts.clear();
    QList<QVariantMap> list = entries(4);
    list[1].insert("default_choose", true);
    SortWidget widget;
    widget.setItems(list, 2);
    QVERIFY(drop(viewsInGrid(&widget).at(1), viewsInGrid(&widget).at(3)));
    QCOMPARE(titles(widget.items()), QStringList({"T1", "T3", "T4", "T2"}));

    QSignalSpy changed(&widget, &SortWidget::itemsChanged);
    auto *box = viewsInGrid(&widget).at(3)->findChild<QCheckBox *>("sortItemCheckBox");
    box->click();
    QTRY_COMPARE(m_alerts.texts(), QStringList{"【T2】为必选项！"});
    QVERIFY(box->isChecked());
    QVERIFY(widget.items().at(3).value("choose").toBool());
    // An ordinary entry is unchosen without a word.
    viewsInGrid(&widget).at(2)->findChild<QCheckBox *>("sortItemCheckBox")->click();
    QVERIFY(!widget.items().at(2).value("choose").toBool());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(m_alerts.count(), 1);
}

void TestSortWidget::heightAndViews_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("height");
    QTest::newRow("empty") << 0 << 3 << 0;
    QTest::newRow("full row") << 3 << 3 << 40;
    QTest::newRow("one over a row") << 4 << 3 << 80;
    QTest::newRow("seven in two") << 7 << 2 << 160;
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

    const auto buttons = widget.findChildren<QPushButton *>("sortItemSetButton");
    QCOMPARE(buttons.size(), 1);
    QCOMPARE(buttons.first()->parentWidget(), viewsInGrid(&widget).at(2));
    buttons.first()->click();
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.first().first().toInt(), 17);

    const auto tips = widget.findChildren<HelpQuestionWidget *>();
    QCOMPARE(tips.size(), 1);
    QCOMPARE(tips.first()->tipId(), 8);
    QCOMPARE(tips.first()->parentWidget(), viewsInGrid(&widget).at(1));
}

QTEST_MAIN(TestSortWidget)
#include "tst_sortwidget.moc"
