// The detail window's sibling libraries as the plug-in loads them, by the host's file names:
// the community record and archive page read from the local store, the browser window
// showing a simulator page, the call top-up posting to the simulator, and the messages of a
// missing library or function.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "platform/siblinglibrary.h"
#include "sql/communitymessage_datasqltable.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWebFrame>
#include <QWebView>
#include <QtTest>

namespace {

using LoadCommunity = bool (*)(int, QVariantMap *);
using ShowCommunity = QWidget *(*)(QWidget *, int);
using LoadUrl = void (*)(QWidget *, const QString &, const QString &, int, int);
using Recharge = void (*)(QWidget *);

QVariantMap community(int id, const QString &name)
{
    return {{"id", id}, {"name", name}, {"districtname", QStringLiteral("蜀山区")}, {"areaname", QStringLiteral("南七")},
            {"address", QStringLiteral("合肥市蜀山区望江西路8号")}, {"lng", QStringLiteral("117.25")}, {"lat", QStringLiteral("31.83")},
            {"years", QStringLiteral("2012")}, {"buildingcount", QStringLiteral("12")}, {"cityid", 340100},
            {"lasttime", QStringLiteral("2024/01/01 08:00:00")}};
}

QWidget *topLevel(const QString &objectName)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

class TestDetailSiblings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void communityRecordAndPage_data();
    void communityRecordAndPage();
    void browserWindowShowsServerPage();
    void rechargePostsToServer();
    void missingPieces_data();
    void missingPieces();

private:
    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestDetailSiblings::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 30;
    options.communities = 10;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
}

void TestDetailSiblings::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
}

void TestDetailSiblings::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

void TestDetailSiblings::communityRecordAndPage_data()
{
    QTest::addColumn<bool>("jointSaleBook");
    QTest::addColumn<int>("asked");
    QTest::addColumn<QString>("name");
    QTest::newRow("company book") << false << 1001 << "万科城市花园";
    QTest::newRow("alliance book") << true << 1002 << "保利香槟国际";
    QTest::newRow("not stored") << false << 4040 << "";
}

void TestDetailSiblings::communityRecordAndPage()
{
    QFETCH(bool, jointSaleBook);
    QFETCH(int, asked);
    QFETCH(QString, name);
    const int stored = jointSaleBook ? 1002 : 1001;
    QCOMPARE(CommunityMessage_DataSqlTable(nullptr, jointSaleBook)
                 .insertOrReplaceCommunities({community(stored, jointSaleBook ? QStringLiteral("保利香槟国际") : QStringLiteral("万科城市花园"))}),
             1);

    const auto load = SiblingLibrary::resolveAs<LoadCommunity>(QStringLiteral("qx_jointsale_community.dll"), "loadLocalCommunityData");
    const auto show = SiblingLibrary::resolveAs<ShowCommunity>(QStringLiteral("qx_jointsale_community.dll"), "localCommunityShow");
    QVERIFY(load && show);
    QVariantMap record{{"untouched", true}};
    QCOMPARE(load(asked, &record), !name.isEmpty());
    QScopedPointer<QWidget> page(show(nullptr, asked));
    QCOMPARE(page->objectName(), QStringLiteral("communityArchivePage"));
    if (name.isEmpty()) {
        QCOMPARE(record, (QVariantMap{{"untouched", true}}));
        QCOMPARE(page->findChild<QLabel *>(QStringLiteral("communityMissing"))->text(), QStringLiteral("暂无该小区的档案信息"));
        return;
    }
    QCOMPARE(record.value(QStringLiteral("name")).toString(), name);
    QCOMPARE(record.value(QStringLiteral("lng")).toString(), QStringLiteral("117.25"));
    QCOMPARE(page->findChild<QLabel *>(QStringLiteral("communityName"))->text(), name);
    QCOMPARE(page->findChild<QLabel *>(QStringLiteral("communityPosition"))->text(), QStringLiteral("117.25, 31.83"));
    QCOMPARE(page->findChild<QLabel *>(QStringLiteral("communityBuildings"))->text(), QStringLiteral("12"));
    QVERIFY(!load(asked, nullptr));
}

void TestDetailSiblings::browserWindowShowsServerPage()
{
    const auto loadUrl = SiblingLibrary::resolveAs<LoadUrl>(QStringLiteral("qx_cefview.dll"), "loadUrl");
    QVERIFY(loadUrl);
    const QString url = m_server->rootUrl(QStringLiteral("app")) + QStringLiteral("map/residence.html?lng=117.31&lat=31.79");
    loadUrl(m_host->mainWindow(), url, QStringLiteral("录音播放"), 640, 480);
    QPointer<QWidget> window = topLevel(QStringLiteral("cefViewWindow"));
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("录音播放"));
    QCOMPARE(window->size(), QSize(640, 480));
    auto *view = window->findChild<QWebView *>(QStringLiteral("cefWebView"));
    QVERIFY(view);
    QTRY_VERIFY_WITH_TIMEOUT(view->page()->mainFrame()->toPlainText().contains(QStringLiteral("117.31")), 15000);
    QCOMPARE(m_server->hits(QStringLiteral("map/residence.html")), 1);
    window->close();
    QTRY_VERIFY(!window);  // deleted on close
}

void TestDetailSiblings::rechargePostsToServer()
{
    DataCenter::UserPhoneNumber = QStringLiteral("13900000046");
    const auto recharge = SiblingLibrary::resolveAs<Recharge>(QStringLiteral("qx_callBaby.dll"), "rechargeCallBaby");
    QVERIFY(recharge);
    recharge(m_host->mainWindow());
    QPointer<QWidget> dialog = m_host->mainWindow()->findChild<QWidget *>(QStringLiteral("rechargeCallBabyDialog"));
    QVERIFY(dialog && dialog->isVisible());
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("rechargeButton")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog, 15000);  // closed on success
    QCOMPARE(m_server->hits(QStringLiteral("call/recharge")), 1);
}

void TestDetailSiblings::missingPieces_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("libraryText");
    QTest::addColumn<QString>("expected");
    QTest::newRow("library, caller's text") << "qx_callBaby_missing.dll" << "rechargeCallBaby" << "缺少<duz>组件！" << "缺少<duz>组件！";
    QTest::newRow("library, default text") << "qx_cefview_missing.dll" << "loadUrl" << "" << "缺少<qx_cefview_missing>组件！";
    QTest::newRow("function") << "qx_jointsale_community.dll" << "chooseNothing" << "缺少<duz>组件！" << "chooseNothing 导出失败！";
}

void TestDetailSiblings::missingPieces()
{
    QFETCH(QString, library);
    QFETCH(QString, function);
    QFETCH(QString, libraryText);
    QFETCH(QString, expected);
    QVERIFY(!SiblingLibrary::resolve(library, function.toLatin1().constData(), libraryText));
    QTRY_COMPARE(m_alerts->texts(), QStringList{expected});
}

QTEST_MAIN(TestDetailSiblings)
#include "tst_detailsiblings.moc"
