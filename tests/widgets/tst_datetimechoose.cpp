#include "widgets/datetimechoosewidget.h"

#include <QCalendarWidget>
#include <QPointer>
#include <QPushButton>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QTimeEdit>
#include <QtTest>

class TestDateTimeChoose : public QObject
{
    Q_OBJECT

private slots:
    void answersInCallersFormat_data();
    void answersInCallersFormat();
    void startsOnGivenText();
};

// A chooser with hours waits for "确定" after a day is clicked; a date-only one answers
// with the click. Either way it closes and deletes itself.
void TestDateTimeChoose::answersInCallersFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("withTime");
    QTest::addColumn<QString>("expected");

    QTest::newRow("reminder") << "yyyy-MM-dd H:mm" << true << "2024-03-05 9:07";
    QTest::newRow("key date") << "yyyy-M-d" << false << "2024-3-5";
    QTest::newRow("certificate date") << "yyyy-MM-dd" << false << "2024-03-05";
}

void TestDateTimeChoose::answersInCallersFormat()
{
    QFETCH(QString, format);
    QFETCH(bool, withTime);
    QFETCH(QString, expected);

    QWidget owner;
    owner.show();
    QPointer<DateTimeChooseWidget> chooser = new DateTimeChooseWidget(format, &owner);
    chooser->popup(&owner);
    QVERIFY(QTest::qWaitForWindowExposed(chooser));
    QCOMPARE(chooser->hasTime(), withTime);
    auto *calendar = chooser->findChild<QCalendarWidget *>(QStringLiteral("calendarWidget"));
    auto *time = chooser->findChild<QTimeEdit *>(QStringLiteral("timeEdit"));
    auto *sure = chooser->findChild<QPushButton *>(QStringLiteral("sureButton"));
    QVERIFY(calendar && time && sure);
    QCOMPARE(time->isVisible(), withTime);
    QCOMPARE(sure->isVisible(), withTime);

    QSignalSpy answered(chooser.data(), &DateTimeChooseWidget::resultDate);
    time->setTime(QTime(9, 7));
    calendar->setSelectedDate(QDate(2024, 3, 5));
    emit calendar->clicked(QDate(2024, 3, 5));
    if (withTime) {
        QVERIFY(answered.isEmpty());
        QVERIFY(chooser->isVisible());
        sure->click();
    }
    QCOMPARE(answered.size(), 1);
    QCOMPARE(answered.first().first().toString(), expected);
    QTRY_VERIFY(chooser.isNull());
}

// A value written in the caller's format is where the chooser starts; anything else starts on
// today.
void TestDateTimeChoose::startsOnGivenText()
{
    QScopedPointer<DateTimeChooseWidget> chooser(new DateTimeChooseWidget(QStringLiteral("yyyy-M-d H:mm")));
    chooser->setText(QStringLiteral("2023-1-2 18:45"));
    QCOMPARE(chooser->text(), QStringLiteral("2023-1-2 18:45"));
    const QDate before = QDate::currentDate();
    chooser->setText(QStringLiteral("明天"));
    QVERIFY(chooser->dateTime().date() >= before && chooser->dateTime().date() <= QDate::currentDate());
}

QTEST_MAIN(TestDateTimeChoose)
#include "tst_datetimechoose.moc"
