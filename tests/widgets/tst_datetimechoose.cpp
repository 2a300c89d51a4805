#include "widgets/datetimechoosewidget.h"

#include <QCalendarWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimeEdit>
#include <QtTest>

class TestDateTimeChoose : public QObject
{
    Q_OBJECT

private slots:
    void answersInCallersFormat_data();
    void answersInCallersFormat();
    void startsOnGivenText_data();
    void startsOnGivenText();
};

namespace {

DateTimeChooseWidget *openChooser(const QString &format, QWidget *owner)
{
    auto *chooser = new DateTimeChooseWidget(format, owner);
    chooser->popup(owner);
    return chooser;
}

} // namespace

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
    QPointer<DateTimeChooseWidget> chooser = openChooser(format, &owner);
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

void TestDateTimeChoose::startsOnGivenText_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("given");
    QTest::addColumn<bool>("parsed");

    QTest::newRow("with time") << "yyyy-MM-dd H:mm" << "2023-12-31 18:45" << true;
    QTest::newRow("short date") << "yyyy-M-d" << "2023-1-2" << true;
    QTest::newRow("unreadable") << "yyyy-MM-dd" << "明天" << false;
}

void TestDateTimeChoose::startsOnGivenText()
{
    QFETCH(QString, format);
    QFETCH(QString, given);
    QFETCH(bool, parsed);

    DateTimeChooseWidget *chooser = new DateTimeChooseWidget(format);
    chooser->setText(given);
    if (parsed)
        QCOMPARE(chooser->text(), given);
    else
        QCOMPARE(chooser->dateTime().date(), QDate::currentDate());
    chooser->deleteLater();
}

QTEST_MAIN(TestDateTimeChoose)
#include "tst_datetimechoose.moc"
