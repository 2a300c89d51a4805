// Who may open the listing entry forms through the host's exports: the job's authority 7
// from the user store, or the alliance manager; everyone else gets the refusal and no form.
#include "alertrecorder.h"
#include "datacenter.h"
#include "entry/exports.h"
#include "hostfixture.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/commonaddwidget.h"

#include <QtTest>

namespace {

enum Export { NewSale, NewRent, PublishSale, PublishRent };

void callExport(int which, QWidget *parent)
{
    HouseMessage_DataSqlTable::HouseMessageData record;
    record.id = 12;
    switch (which) {
    case NewSale:
        addNewSaleHouse(parent);
        break;
    case NewRent:
        addNewRentHouse(parent);
        break;
    case PublishSale:
        addSaleHouse(parent, record, nullptr, nullptr);
        break;
    default:
        addRentHouse(parent, record, nullptr, nullptr);
        break;
    }
}

void addExportRows()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<QString>("title");
    const QString plain = QStringLiteral("您当前职位不支持录入新房源权限！");
    const QString jointSale = QStringLiteral("您当前职位不支持录入新联卖房源权限！");
    QTest::newRow("addNewSaleHouse") << int(NewSale) << plain << QStringLiteral("添加出售");
    QTest::newRow("addNewRentHouse") << int(NewRent) << plain << QStringLiteral("添加出租");
    QTest::newRow("addSaleHouse") << int(PublishSale) << jointSale << QStringLiteral("发布出售房源至联卖系统");
    QTest::newRow("addRentHouse") << int(PublishRent) << jointSale << QStringLiteral("发布出租房源至联卖系统");
}

} // namespace

class TestPermissionGate : public QObject
{
    Q_OBJECT
private slots:
    void withoutAuthorityRefused_data() { addExportRows(); }
    void withoutAuthorityRefused();
    void noStoredRightsRefused();
    void allianceManagerGetsForm_data() { addExportRows(); }
    void allianceManagerGetsForm();
    void authoritySevenGetsForm_data() { addExportRows(); }
    void authoritySevenGetsForm();
};

void TestPermissionGate::withoutAuthorityRefused()
{
    QFETCH(int, which);
    QFETCH(QString, refusal);
    HostFixture host;
    AlertRecorder recorder;
    // Other rights, and authority 7 listed but not granted to this job.
    host.signInAs(TestUser().manager().grant(36, 0).rights({QVariantMap{{"id", 7}, {"selected", false}}}));

    callExport(which, host.mainWindow());
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, refusal);
    QCOMPARE(recorder.last().title, QStringLiteral("警告"));
    QCOMPARE(recorder.last().buttons, QStringList{QStringLiteral("我知道了")});
    QVERIFY(host.mainWindow()->findChildren<CommonAddWidget *>().isEmpty());
}

void TestPermissionGate::noStoredRightsRefused()
{
    HostFixture host;
    AlertRecorder recorder;
    callExport(NewSale, host.mainWindow());
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, QStringLiteral("您当前职位不支持录入新房源权限！"));
    QVERIFY(host.mainWindow()->findChildren<CommonAddWidget *>().isEmpty());
}

void TestPermissionGate::allianceManagerGetsForm()
{
    QFETCH(int, which);
    QFETCH(QString, title);
    HostFixture host;
    AlertRecorder recorder;
    host.signInAs(TestUser().jointSaleManager());

    callExport(which, host.mainWindow());
    const QList<CommonAddWidget *> popups = host.mainWindow()->findChildren<CommonAddWidget *>();
    QCOMPARE(popups.size(), 1);
    QCOMPARE(popups.first()->title(), title);
    QVERIFY(popups.first()->contentWidget());
    QTest::qWait(150);  // a refusal box would have been asked for by now
    QCOMPARE(recorder.count(), 0);
}

void TestPermissionGate::authoritySevenGetsForm()
{
    QFETCH(int, which);
    QFETCH(QString, title);
    HostFixture host;
    AlertRecorder recorder;
    // A narrow range does not matter: entering a listing is not about another's listing.
    host.signInAs(TestUser().grant(7, UserMessage_DataSqlTable::RangeOwn));

    callExport(which, host.mainWindow());
    const QList<CommonAddWidget *> popups = host.mainWindow()->findChildren<CommonAddWidget *>();
    QCOMPARE(popups.size(), 1);
    QCOMPARE(popups.first()->title(), title);
    QTest::qWait(150);
    QCOMPARE(recorder.count(), 0);
}

QTEST_MAIN(TestPermissionGate)
#include "tst_permissiongate.moc"
