// The separation rules page: what a load shows, what a failed or unreadable load offers, what
// a save posts and shows afterwards, and what its number fields accept.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "settings/housebookhighseperatesetwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/loadfailureview.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

Q_DECLARE_METATYPE(RecordingServer::Reply)

using Page = HouseBookHighSeperateSetWidget;

namespace {

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QString loadPath()
{
    return pathOf(Endpoints::instance().fd_getfendanguize);
}

QString savePath()
{
    return pathOf(Endpoints::instance().fd_fendanguize);
}

// Rules as the server hands them back: types 1..6, every other one chosen, counts 2..7; the
// numbers and flags in the mixed forms replies carry.
QJsonObject rulesReply(int followDays)
{
    QJsonArray rules;
    for (int type = 6; type >= 1; --type)
        rules.append(QJsonObject{{"type", type}, {"count", type + 1}, {"choose", type % 2 == 1}});
    return {{"rules", rules},          {"followdays", followDays}, {"followcount", QStringLiteral("2")},
            {"teldays", 3},            {"telcount", 1},            {"shikancontent", QStringLiteral("光线充足")},
            {"hideOwnerPhone", 1},     {"dujiaren", QStringLiteral("0")}};
}

template <typename T>
T *child(QWidget *page, const QString &name)
{
    return page->findChild<T *>(name);
}

} // namespace

class TestSeperateRulesPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void loadFillsEveryControl();
    void badLoadOffersRetry_data();
    void badLoadOffersRetry();
    void savePostsRulesAndShowsWhatWasKept();
    void numberFieldsTakeDigitsOnly_data();
    void numberFieldsTakeDigitsOnly();

private:
    Page *loadedPage();

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestSeperateRulesPage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestSeperateRulesPage::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    m_server.setReply(loadPath(), RecordingServer::envelope(200, rulesReply(7)));
}

void TestSeperateRulesPage::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

Page *TestSeperateRulesPage::loadedPage()
{
    auto *page = new Page(m_host->mainWindow());
    page->show();
    if (!QTest::qWaitFor([page] { return child<QLineEdit>(page, "followDaysEdit")->text() == "7"; }))
        qWarning("the rules never arrived");
    return page;
}

void TestSeperateRulesPage::loadFillsEveryControl()
{
    Page *page = loadedPage();
    for (int type = 1; type <= 6; ++type) {
        QCOMPARE(child<QCheckBox>(page, QStringLiteral("ruleCheck_%1").arg(type))->isChecked(), type % 2 == 1);
        QCOMPARE(child<QSpinBox>(page, QStringLiteral("ruleCountSpin_%1").arg(type))->value(), type + 1);
    }
    QCOMPARE(child<QLineEdit>(page, "followCountEdit")->text(), QStringLiteral("2"));
    QCOMPARE(child<QLineEdit>(page, "telDaysEdit")->text(), QStringLiteral("3"));
    QCOMPARE(child<QLineEdit>(page, "telCountEdit")->text(), QStringLiteral("1"));
    QCOMPARE(child<QPlainTextEdit>(page, "shikanContentEdit")->toPlainText(), QStringLiteral("光线充足"));
    QVERIFY(child<QCheckBox>(page, "hideOwnerPhoneCheck")->isChecked());
    QVERIFY(!child<QCheckBox>(page, "dujiarenCheck")->isChecked());
    QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
    QVERIFY(!page->findChild<LoadFailureView *>()->isVisible());
}

void TestSeperateRulesPage::badLoadOffersRetry_data()
{
    QTest::addColumn<RecordingServer::Reply>("reply");
    QTest::addColumn<QString>("reason");
    QTest::newRow("refused") << RecordingServer::envelope(500, QJsonValue(), QStringLiteral("服务器维护中"))
                             << QStringLiteral("服务器维护中");
    QTest::newRow("no object") << RecordingServer::envelope(200, QJsonArray{1, 2})
                               << QStringLiteral("服务器返回的分单规则无法识别");
    QTest::newRow("rules not a list") << RecordingServer::envelope(200, QJsonObject{{"rules", "1,2"}})
                                      << QStringLiteral("服务器返回的分单规则无法识别");
    QTest::newRow("connection lost") << RecordingServer::dropped() << QString();
}

// A load that fails or brings something unreadable shows why instead of an empty form, tells
// no box, and a retry that succeeds shows the rules.
void TestSeperateRulesPage::badLoadOffersRetry()
{
    QFETCH(RecordingServer::Reply, reply);
    QFETCH(QString, reason);
    m_server.queueReply(loadPath(), reply);
    auto *page = new Page(m_host->mainWindow());
    page->show();
    auto *failure = page->findChild<LoadFailureView *>();
    QTRY_VERIFY(failure->isVisible());
    QVERIFY(failure->text().startsWith(QStringLiteral("分单规则加载失败：")));
    QVERIFY2(failure->text().contains(reason), qPrintable(failure->text()));
    QVERIFY(!child<QLineEdit>(page, "followDaysEdit")->isVisible());
    QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
    QCOMPARE(m_alerts->count(), 0);

    QMetaObject::invokeMethod(page, "submit");
    QCOMPARE(m_server.requestsTo(savePath()).size(), 0);

    QTest::mouseClick(failure->findChild<QPushButton *>("retryButton"), Qt::LeftButton);
    QTRY_COMPARE(child<QLineEdit>(page, "followDaysEdit")->text(), QStringLiteral("7"));
    QVERIFY(child<QLineEdit>(page, "followDaysEdit")->isVisible());
    QVERIFY(!failure->isVisible());
}

// The six rules as {type, count, choose} JSON and the other members as text; after the save
// the page shows what the server answers now.
void TestSeperateRulesPage::savePostsRulesAndShowsWhatWasKept()
{
    Page *page = loadedPage();
    child<QCheckBox>(page, "ruleCheck_2")->setChecked(true);
    child<QSpinBox>(page, "ruleCountSpin_2")->setValue(9);
    child<QLineEdit>(page, "followDaysEdit")->setText("15");
    child<QLineEdit>(page, "telCountEdit")->clear();
    child<QPlainTextEdit>(page, "shikanContentEdit")->setPlainText(QStringLiteral("需拍全景"));
    child<QCheckBox>(page, "dujiarenCheck")->setChecked(true);
    m_server.setReply(loadPath(), RecordingServer::envelope(200, rulesReply(30)));
    QSignalSpy success(page, SIGNAL(setSuccess()));
    QTest::mouseClick(child<QPushButton>(page, "saveSeperateRuleButton"), Qt::LeftButton);
    QCOMPARE(page->findChild<BusyOverlay *>()->text(), QStringLiteral("提交设置中..."));

    QTRY_COMPARE(m_server.requestsTo(savePath()).size(), 1);
    const QMap<QString, QString> form = m_server.requestsTo(savePath()).first().form;
    QCOMPARE(form.keys(), (QStringList{"dujiaren", "followcount", "followdays", "hideOwnerPhone", "lianmai",
                                       "rules", "shikancontent", "telcount", "teldays"}));
    QCOMPARE(form.value("followdays"), QStringLiteral("15"));
    QCOMPARE(form.value("telcount"), QStringLiteral("0"));
    QCOMPARE(form.value("hideOwnerPhone"), QStringLiteral("1"));
    QCOMPARE(form.value("dujiaren"), QStringLiteral("1"));
    QCOMPARE(form.value("shikancontent"), QStringLiteral("需拍全景"));
    const QJsonArray rules = QJsonDocument::fromJson(form.value("rules").toUtf8()).array();
    QCOMPARE(rules.size(), 6);
    QCOMPARE(rules.at(1).toObject(), (QJsonObject{{"type", 2}, {"count", 9}, {"choose", true}}));
    QCOMPARE(rules.at(5).toObject(), (QJsonObject{{"type", 6}, {"count", 7}, {"choose", false}}));

    QTRY_COMPARE(success.count(), 1);
    QTRY_COMPARE(child<QLineEdit>(page, "followDaysEdit")->text(), QStringLiteral("30"));
    QCOMPARE(child<QCheckBox>(page, "ruleCheck_2")->isChecked(), false);
}

void TestSeperateRulesPage::numberFieldsTakeDigitsOnly_data()
{
    QTest::addColumn<QString>("edit");
    for (const char *name : {"followDaysEdit", "followCountEdit", "telDaysEdit", "telCountEdit"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestSeperateRulesPage::numberFieldsTakeDigitsOnly()
{
    QFETCH(QString, edit);
    Page *page = loadedPage();
    auto *field = child<QLineEdit>(page, edit);
    field->clear();
    QTest::keyClicks(field, QStringLiteral("1a-2.3 45"));
    QCOMPARE(field->text(), QStringLiteral("1234"));
    QVERIFY(field->toolTip().contains(QStringLiteral("0")));
}

QTEST_MAIN(TestSeperateRulesPage)
#include "tst_seperaterulespage.moc"
