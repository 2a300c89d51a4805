// The community library's two editors as the portal pushes load them: they show the stored
// values, refuse bad input inside the dialog without posting, show the server's refusal and
// stay open, and on success save on the simulator (the next sync brings it), call back once
// with the saved values and close.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "datacenter.h"
#include "hostfixture.h"
#include "platform/siblinglibrary.h"
#include "sql/communitymessage_datasqltable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

using Edited = void (*)(void *, const QVariantMap &);
using OpenEditor = QWidget *(*)(QWidget *, int, Edited, void *);

void remember(void *context, const QVariantMap &saved)
{
    static_cast<QList<QVariantMap> *>(context)->append(saved);
}

QVariantMap storedCommunity(int id, const QString &lng, const QString &years)
{
    return {{"id", id}, {"name", QStringLiteral("小区%1").arg(id)}, {"lng", lng}, {"lat", lng}, {"years", years},
            {"cityid", 340100}, {"lasttime", QStringLiteral("2024/01/01 08:00:00")}};
}

} // namespace

Q_DECLARE_METATYPE(AllianceServer::Fault)

class TestCommunityEditors : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void savesOnceAndCloses_data();
    void savesOnceAndCloses();
    void badInputRefusedInDialog_data();
    void badInputRefusedInDialog();
    void serverRefusalStaysOpen_data();
    void serverRefusalStaysOpen();
    void closingCallsNothing();

private:
    QWidget *open(const char *function, int communityId);
    // The community as the company book's next sync after the mark brings it.
    QJsonObject synced(int communityId, const QString &mark);

    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QList<QVariantMap> m_saved;
};

void TestCommunityEditors::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 20;
    options.communities = 40;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
}

void TestCommunityEditors::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    DataCenter::UserPhoneNumber = QStringLiteral("13800000001");
    m_saved.clear();
    QCOMPARE(CommunityMessage_DataSqlTable(nullptr, false)
                 .insertOrReplaceCommunities({storedCommunity(1006, QString(), QStringLiteral("2001")),
                                              storedCommunity(1008, QStringLiteral("117.3"), QStringLiteral("1900"))}),
             2);
}

void TestCommunityEditors::cleanup()
{
    m_server->clearFaults();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName().startsWith(QLatin1String("community")))
            w->close();
    m_alerts.reset();
    m_host.reset();
}

QWidget *TestCommunityEditors::open(const char *function, int communityId)
{
    const auto openEditor = SiblingLibrary::resolveAs<OpenEditor>(QStringLiteral("qx_community.dll"), function);
    return openEditor ? openEditor(m_host->mainWindow(), communityId, remember, &m_saved) : nullptr;
}

QJsonObject TestCommunityEditors::synced(int communityId, const QString &mark)
{
    QNetworkAccessManager nam;
    QNetworkRequest request{QUrl(m_server->rootUrl(QStringLiteral("app")) + QStringLiteral("app/synchousebook"))};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    const QByteArray body = "pageindex=1&lasttime=" + QUrl::toPercentEncoding(mark) + "&community_lastupdatatime=" + QUrl::toPercentEncoding(mark);
    QScopedPointer<QNetworkReply> reply(nam.post(request, body));
    QSignalSpy done(reply.data(), &QNetworkReply::finished);
    if (!reply->isFinished())
        done.wait(10000);
    const QJsonArray communities = QJsonDocument::fromJson(reply->readAll()).object().value(QStringLiteral("data")).toObject()
                                       .value(QStringLiteral("community")).toArray();
    for (const QJsonValue &v : communities)
        if (v.toObject().value(QStringLiteral("id")).toInt() == communityId)
            return v.toObject();
    return QJsonObject();
}

void TestCommunityEditors::savesOnceAndCloses_data()
{
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<int>("community");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QVariantMap>("shown");
    QTest::addColumn<QVariantMap>("entered");
    QTest::newRow("position") << QByteArray("editCommunityLocation") << 1006 << "communityLocationEditor" << "saveLocationButton"
                              << QVariantMap{{"lngEdit", ""}, {"latEdit", ""}}
                              << QVariantMap{{"lng", "117.2283"}, {"lat", "31.8206"}};
    QTest::newRow("build year") << QByteArray("editCommunityMessage") << 1008 << "communityMessageEditor" << "saveMessageButton"
                                << QVariantMap{{"yearsEdit", "1900"}} << QVariantMap{{"years", "2009"}};
}

void TestCommunityEditors::savesOnceAndCloses()
{
    QFETCH(QByteArray, function);
    QFETCH(int, community);
    QFETCH(QString, dialog);
    QFETCH(QString, button);
    QFETCH(QVariantMap, shown);
    QFETCH(QVariantMap, entered);
    const QString mark = QDateTime::currentDateTime().addSecs(-1).toString(QStringLiteral("yyyy/M/d H:mm:ss"));
    const int posts = m_server->hits(QStringLiteral("house/xiaoqu/edit"));
    QPointer<QWidget> editor = open(function.constData(), community);
    QVERIFY(editor && editor->isVisible() && !editor->isModal());
    QCOMPARE(editor->objectName(), dialog);
    for (auto it = shown.cbegin(); it != shown.cend(); ++it)
        QCOMPARE(editor->findChild<QLineEdit *>(it.key())->text(), it.value().toString());
    for (auto it = entered.cbegin(); it != entered.cend(); ++it) {
        auto *edit = editor->findChild<QLineEdit *>(it.key() + QStringLiteral("Edit"));
        edit->clear();
        QTest::keyClicks(edit, it.value().toString());
    }
    auto *save = editor->findChild<QPushButton *>(button);
    QCOMPARE(save->text(), QStringLiteral("保存"));
    save->click();
    save->click();  // while the first save is on its way
    QTRY_VERIFY_WITH_TIMEOUT(!editor, 10000);
    QCOMPARE(m_saved, QList<QVariantMap>{entered});
    QCOMPARE(m_server->hits(QStringLiteral("house/xiaoqu/edit")), posts + 1);
    const QJsonObject row = synced(community, mark);
    for (auto it = entered.cbegin(); it != entered.cend(); ++it)
        QCOMPARE(row.value(it.key()).toString(), it.value().toString());
}

void TestCommunityEditors::badInputRefusedInDialog_data()
{
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<QVariantMap>("entered");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    const QString position = QStringLiteral("请输入正确的经纬度");
    const QString year = QStringLiteral("请输入正确的建筑年代（1000-9999）");
    QTest::newRow("text") << QByteArray("editCommunityLocation") << QVariantMap{{"lngEdit", "东经117"}, {"latEdit", "31.8"}} << "saveLocationButton" << position;
    QTest::newRow("zero") << QByteArray("editCommunityLocation") << QVariantMap{{"lngEdit", "0"}, {"latEdit", "0"}} << "saveLocationButton" << position;
    QTest::newRow("empty lat") << QByteArray("editCommunityLocation") << QVariantMap{{"lngEdit", "117.2"}, {"latEdit", ""}} << "saveLocationButton" << position;
    QTest::newRow("out of range") << QByteArray("editCommunityLocation") << QVariantMap{{"lngEdit", "117.2"}, {"latEdit", "131.8"}} << "saveLocationButton" << position;
    QTest::newRow("year text") << QByteArray("editCommunityMessage") << QVariantMap{{"yearsEdit", "二〇〇八"}} << "saveMessageButton" << year;
    QTest::newRow("year 999") << QByteArray("editCommunityMessage") << QVariantMap{{"yearsEdit", "999"}} << "saveMessageButton" << year;
    QTest::newRow("year 10000") << QByteArray("editCommunityMessage") << QVariantMap{{"yearsEdit", "10000"}} << "saveMessageButton" << year;
    QTest::newRow("year empty") << QByteArray("editCommunityMessage") << QVariantMap{{"yearsEdit", ""}} << "saveMessageButton" << year;
}

void TestCommunityEditors::badInputRefusedInDialog()
{
    QFETCH(QByteArray, function);
    QFETCH(QVariantMap, entered);
    QFETCH(QString, button);
    QFETCH(QString, message);
    const int posts = m_server->hits(QStringLiteral("house/xiaoqu/edit"));
    QPointer<QWidget> editor = open(function.constData(), 1011);
    QVERIFY(editor);
    for (auto it = entered.cbegin(); it != entered.cend(); ++it)
        editor->findChild<QLineEdit *>(it.key())->setText(it.value().toString());
    editor->findChild<QPushButton *>(button)->click();
    QCOMPARE(editor->findChild<QLabel *>(QStringLiteral("editorMessage"))->text(), message);
    QVERIFY(editor->isVisible());
    QCOMPARE(m_server->hits(QStringLiteral("house/xiaoqu/edit")), posts);
    QVERIFY(m_saved.isEmpty());
}

void TestCommunityEditors::serverRefusalStaysOpen_data()
{
    QTest::addColumn<int>("community");
    QTest::addColumn<AllianceServer::Fault>("fault");
    QTest::addColumn<QString>("message");
    AllianceServer::Fault broken;
    broken.status500 = true;
    QTest::newRow("unknown community") << 99999 << AllianceServer::Fault() << "小区不存在";
    QTest::newRow("server error") << 1011 << broken << "保存失败，请稍后重试！";
}

void TestCommunityEditors::serverRefusalStaysOpen()
{
    QFETCH(int, community);
    QFETCH(AllianceServer::Fault, fault);
    QFETCH(QString, message);
    m_server->setFault(QStringLiteral("house/xiaoqu/edit"), fault);
    QPointer<QWidget> editor = open("editCommunityMessage", community);
    editor->findChild<QLineEdit *>(QStringLiteral("yearsEdit"))->setText(QStringLiteral("2010"));
    auto *save = editor->findChild<QPushButton *>(QStringLiteral("saveMessageButton"));
    save->click();
    QTRY_COMPARE_WITH_TIMEOUT(editor->findChild<QLabel *>(QStringLiteral("editorMessage"))->text(), message, 10000);
    QVERIFY(editor->isVisible());
    QVERIFY(save->isEnabled());  // the agent may try again
    QVERIFY(m_saved.isEmpty());
}

void TestCommunityEditors::closingCallsNothing()
{
    QPointer<QWidget> editor = open("editCommunityLocation", 1006);
    QVERIFY(editor);
    editor->findChild<QLineEdit *>(QStringLiteral("lngEdit"))->setText(QStringLiteral("117.1"));
    editor->close();
    QTRY_VERIFY(!editor);
    QVERIFY(m_saved.isEmpty());
}

QTEST_MAIN(TestCommunityEditors)
#include "tst_communityeditors.moc"
