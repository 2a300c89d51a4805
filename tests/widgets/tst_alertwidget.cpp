// Message boxes: forms, deferred modal loop, answers and self-deletion.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "platform/usernotice.h"
#include "widgets/alertwidget.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

class TestAlertWidget : public QObject
{
    Q_OBJECT
private slots:
    void staticForms_data();
    void staticForms();
    void buttonModesAndSetters();
    void modalLoopStartsAfterCallerReturns();
    void answersEmitCheckStateThenCloseAndDelete();
    void answeredBeforeLoopNeverShows();
    void realModalLoopEndsOnClick();
};

void TestAlertWidget::staticForms_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::newRow("warning") << 0 << QStringLiteral("警告") << int(AlertWidget::WarningIcon);
    QTest::newRow("error") << 1 << QStringLiteral("错误") << int(AlertWidget::ErrorIcon);
    QTest::newRow("tip") << 2 << QStringLiteral("提示") << int(AlertWidget::TipIcon);
    // The request layer and the sibling loader reach the boxes only through UserNotice.
    QTest::newRow("notice warning") << 3 << QStringLiteral("警告") << int(AlertWidget::WarningIcon);
    QTest::newRow("notice error") << 4 << QStringLiteral("错误") << int(AlertWidget::ErrorIcon);
}

void TestAlertWidget::staticForms()
{
    QFETCH(int, form);
    QFETCH(QString, title);
    QFETCH(int, icon);
    HostFixture host;
    AlertRecorder recorder;
    const QString text = QStringLiteral("房源添加成功！");
    if (form == 0)
        AlertWidget::warning(text);
    else if (form == 1)
        AlertWidget::error(text);
    else if (form == 2)
        AlertWidget::tip(text);
    else if (form == 3)
        UserNotice::warning(text);
    else
        UserNotice::error(text);
    QTRY_COMPARE(recorder.count(), 1);
    const AlertRecord r = recorder.last();
    QCOMPARE(r.title, title);
    QCOMPARE(r.iconKind, icon);
    QCOMPARE(r.text, text);
    QCOMPARE(r.buttons, QStringList{QStringLiteral("我知道了")});
    QCOMPARE(r.ownerWindow, QStringLiteral("main"));
    QVERIFY(!r.checkVisible);
}

void TestAlertWidget::buttonModesAndSetters()
{
    HostFixture host;
    AlertRecorder recorder;
    new AlertWidget(QStringLiteral("a"), AlertWidget::ErrorIcon, AlertWidget::SureAndCancle);
    auto *all = new AlertWidget(QStringLiteral("b"), AlertWidget::TipIcon, AlertWidget::AllButtons);
    all->setSureText(QStringLiteral("删除"));
    all->setKnowText(QStringLiteral("不再提醒"));
    all->setCancleText(QStringLiteral("关闭"));
    all->setTitle(QStringLiteral("删除房源"));
    all->setCheckVisible(true);
    QTRY_COMPARE(recorder.count(), 2);
    QCOMPARE(recorder.records().at(0).buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("确定")}));
    QCOMPARE(recorder.records().at(0).title, QStringLiteral("错误"));
    const AlertRecord r = recorder.records().at(1);
    QCOMPARE(r.buttons, (QStringList{QStringLiteral("关闭"), QStringLiteral("不再提醒"), QStringLiteral("删除")}));
    QCOMPARE(r.title, QStringLiteral("删除房源"));
    QVERIFY(r.checkVisible);
}

// Callers connect to a box after asking for it: nothing may be shown synchronously.
void TestAlertWidget::modalLoopStartsAfterCallerReturns()
{
    HostFixture host;
    AlertRecorder recorder;
    QPointer<AlertWidget> box = AlertWidget::warning(QStringLiteral("x"));
    QCOMPARE(recorder.count(), 0);
    QVERIFY(!box->isVisible());
    QTRY_COMPARE(recorder.count(), 1);
    QVERIFY(box->isVisible());
}

void TestAlertWidget::answersEmitCheckStateThenCloseAndDelete()
{
    HostFixture host;
    AlertRecorder recorder;
    QPointer<AlertWidget> box = new AlertWidget(QStringLiteral("q"), 0, AlertWidget::AllButtons);
    box->setCheckVisible(true);
    QSignalSpy sure(box.data(), &AlertWidget::sureClick);
    QSignalSpy know(box.data(), &AlertWidget::knowClick);
    QSignalSpy cancle(box.data(), &AlertWidget::cancleClick);
    QSignalSpy closed(box.data(), &AlertWidget::hasClosed);
    QStringList order;
    connect(box.data(), &AlertWidget::sureClick, [&] { order << QStringLiteral("sure"); });
    connect(box.data(), &AlertWidget::hasClosed, [&] { order << QStringLiteral("closed"); });
    QTRY_VERIFY(recorder.openBox() == box);

    box->setChecked(true);
    QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("sureButton")), Qt::LeftButton);
    QCOMPARE(sure.count(), 1);
    QCOMPARE(sure.at(0).at(0).toBool(), true);
    QCOMPARE(know.count(), 0);
    QCOMPARE(cancle.count(), 0);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(order, (QStringList{QStringLiteral("sure"), QStringLiteral("closed")}));
    QTRY_VERIFY(box.isNull());
}

void TestAlertWidget::answeredBeforeLoopNeverShows()
{
    HostFixture host;
    AlertRecorder recorder;
    QPointer<AlertWidget> box = AlertWidget::warning(QStringLiteral("x"));
    QSignalSpy closed(box.data(), &AlertWidget::hasClosed);
    box->answer(AlertWidget::Know);
    QTRY_VERIFY(box.isNull());
    // Its pending start went with it: no box surfaces after the answer.
    QCOMPARE(recorder.count(), 0);
    QCOMPARE(closed.count(), 1);
}

// Without the test hook the box runs a real modal loop, which a click ends.
void TestAlertWidget::realModalLoopEndsOnClick()
{
    HostFixture host;
    QPointer<AlertWidget> box = new AlertWidget(QStringLiteral("确定吗？"), 0, AlertWidget::SureAndCancle);
    QSignalSpy cancle(box.data(), &AlertWidget::cancleClick);
    bool clickedInsideLoop = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        if (box && box->isVisible() && box->isModal()) {
            clickedInsideLoop = true;
            QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("cancleButton")), Qt::LeftButton);
        }
    });
    poll.start(20);
    QTRY_VERIFY(box.isNull());
    QVERIFY(clickedInsideLoop);
    QCOMPARE(cancle.count(), 1);
}

QTEST_MAIN(TestAlertWidget)
#include "tst_alertwidget.moc"
