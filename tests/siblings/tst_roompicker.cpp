// The community library's room picker as the entry forms load it: it lists a unit's rooms from
// the simulator, hands the clicked one back once and closes; a failed or empty list hands back
// nothing.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "platform/siblinglibrary.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QtTest>

namespace {

using Picked = void (*)(void *, const QVariantMap &);
using ChooseRoom = QWidget *(*)(QWidget *, const QVariantMap &, Picked, void *);

void remember(void *context, const QVariantMap &room)
{
    static_cast<QList<QVariantMap> *>(context)->append(room);
}

} // namespace

Q_DECLARE_METATYPE(AllianceServer::Fault)

class TestRoomPicker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void picksOneRoom();
    void failuresPickNothing_data();
    void failuresPickNothing();

private:
    QWidget *open(const QVariant &unitId, const QVariant &roomId);

    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QList<QVariantMap> m_picks;
};

void TestRoomPicker::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 20;
    options.communities = 5;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
}

void TestRoomPicker::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    DataCenter::UserPhoneNumber = QStringLiteral("13800000002");
    m_picks.clear();
}

void TestRoomPicker::cleanup()
{
    m_server->setFault(QStringLiteral("house/jinggeng/unitInfo"), {});
    m_alerts.reset();
    m_host.reset();
}

QWidget *TestRoomPicker::open(const QVariant &unitId, const QVariant &roomId)
{
    const auto choose = SiblingLibrary::resolveAs<ChooseRoom>(QStringLiteral("qx_jointsale_community.dll"), "chooseJinGenHouse");
    if (!choose)
        return nullptr;
    return choose(m_host->mainWindow(), {{"editId", 0}, {"unitId", unitId}, {"roomId", roomId}, {"isSale", true}}, remember, &m_picks);
}

void TestRoomPicker::picksOneRoom()
{
    QPointer<QWidget> picker = open(QStringLiteral("1001011"), 1001011002LL);
    QVERIFY(picker && picker->isVisible());
    QCOMPARE(picker->objectName(), QStringLiteral("jinGenHousePicker"));
    QVERIFY(!picker->isModal());
    auto *list = picker->findChild<QListWidget *>(QStringLiteral("jinGenRoomList"));
    QTRY_VERIFY_WITH_TIMEOUT(list->count() > 1, 15000);
    QCOMPARE(list->item(0)->text(), QStringLiteral("101室"));
    QCOMPARE(list->currentRow(), 1);  // the room the form had

    const QRect first = list->visualItemRect(list->item(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QTRY_VERIFY(!picker);  // closed and deleted
    QCOMPARE(m_picks.size(), 1);
    QCOMPARE(m_picks.first().value(QStringLiteral("uid")).toLongLong(), 1001011);
    QCOMPARE(m_picks.first().value(QStringLiteral("rid")).toLongLong(), 1001011001);
    QCOMPARE(m_picks.first().value(QStringLiteral("name")).toString(), QStringLiteral("101"));
    QCOMPARE(m_server->hits(QStringLiteral("house/jinggeng/unitInfo")) > 0, true);
}

void TestRoomPicker::failuresPickNothing_data()
{
    QTest::addColumn<QString>("unitId");
    QTest::addColumn<AllianceServer::Fault>("fault");
    QTest::addColumn<QString>("status");
    AllianceServer::Fault refused;
    refused.refuse405 = true;
    refused.message = QStringLiteral("该单元已停用");
    AllianceServer::Fault broken;
    broken.status500 = true;
    QTest::newRow("unit without rooms") << "9999" << AllianceServer::Fault() << "该单元暂无房号";
    QTest::newRow("refused") << "1001011" << refused << "该单元已停用";
    QTest::newRow("server error") << "1001011" << broken << "加载房号失败，请稍后重试！";
}

void TestRoomPicker::failuresPickNothing()
{
    QFETCH(QString, unitId);
    QFETCH(AllianceServer::Fault, fault);
    QFETCH(QString, status);
    m_server->setFault(QStringLiteral("house/jinggeng/unitInfo"), fault);
    QPointer<QWidget> picker = open(unitId, 0);
    QVERIFY(picker);
    QTRY_COMPARE_WITH_TIMEOUT(picker->findChild<QLabel *>(QStringLiteral("jinGenStatus"))->text(), status, 15000);
    QCOMPARE(picker->findChild<QListWidget *>(QStringLiteral("jinGenRoomList"))->count(), 0);
    picker->close();
    QTRY_VERIFY(!picker);
    QVERIFY(m_picks.isEmpty());
}

QTEST_MAIN(TestRoomPicker)
#include "tst_roompicker.moc"
