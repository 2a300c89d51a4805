// The days chooser against a recording server: permanent and fixed-term flags, the refusal
// without days, the exact form posted, success and failure.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "list/housebookchangestatechoosedayswidget.h"
#include "net/endpoints.h"
#include "platform/housebookcodes.h"
#include "recordingserver.h"
#include "widgets/busyoverlay.h"

#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using ChooseDays = HouseBookChangeStateChooseDaysWidget;

namespace {

QString flagPath()
{
    return QUrl(Endpoints::instance().app_houseshuxing).path();
}

struct Form
{
    explicit Form(ChooseDays *w)
        : permanent(w->findChild<QRadioButton *>(QStringLiteral("radioButton_permanent")))
        , haveTime(w->findChild<QRadioButton *>(QStringLiteral("radioButton_haveTime")))
        , days(w->findChild<QLineEdit *>(QStringLiteral("lineEdit_days")))
        , submit(w->findChild<QPushButton *>(QStringLiteral("submitButton")))
        , overlay(w->findChild<BusyOverlay *>())
    {
    }
    QRadioButton *permanent;
    QRadioButton *haveTime;
    QLineEdit *days;
    QPushButton *submit;
    BusyOverlay *overlay;
};

using FormMap = QMap<QString, QString>;

} // namespace

class TestChooseDays : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formLayout();
    void daysFieldFollowsMode();
    void validator_data();
    void validator();
    void postsFlagChange_data();
    void postsFlagChange();
    void fixedTermNeedsDays_data();
    void fixedTermNeedsDays();
    void failedPostChangesNothing_data();
    void failedPostChangesNothing();
    void oneRequestWhilePosting();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestChooseDays::initTestCase()
{
    QVERIFY(m_server.start());
    // All roots on the recording server; read once on first use of the endpoint table.
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_houseshuxing.startsWith(m_server.baseUrl()));
}

void TestChooseDays::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
}

void TestChooseDays::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

void TestChooseDays::formLayout()
{
    ChooseDays w(nullptr, 5, HouseBookCodes::LockFlag);
    QCOMPARE(w.houseId(), 5);
    QCOMPARE(w.type(), 2);
    QCOMPARE(w.state(), 1);
    const Form f(&w);
    QVERIFY(f.permanent && f.haveTime && f.days && f.submit && f.overlay);
    QCOMPARE(f.permanent->text(), QStringLiteral("永久"));
    QCOMPARE(f.haveTime->text(), QStringLiteral("固定时效"));
    QCOMPARE(f.days->placeholderText(), QStringLiteral("请输入天数"));
    QCOMPARE(f.submit->text(), QStringLiteral("提交"));
    const QString submitStyle = f.submit->styleSheet();
    for (const char *part : {"background-color:rgb(12,145,235)", "color:white", "font-size:16px", "微软雅黑",
                             "border:none", "border-radius:20px"})
        QVERIFY2(submitStyle.contains(QString::fromUtf8(part)), part);
    QStringList captions;
    for (QLabel *label : w.findChildren<QLabel *>())
        captions << label->text();
    QVERIFY(captions.contains(QStringLiteral("模式：")));
    QVERIFY(captions.contains(QStringLiteral("天数：")));
    QVERIFY(!f.overlay->isRunning());
}

void TestChooseDays::daysFieldFollowsMode()
{
    ChooseDays w(nullptr, 5, HouseBookCodes::TopFlag);
    const Form f(&w);
    QVERIFY(f.permanent->isChecked());
    QVERIFY(!f.days->isEnabled());
    f.haveTime->setChecked(true);
    QVERIFY(f.days->isEnabled());
    f.days->setText(QStringLiteral("7"));
    // Back to permanent: a typed term must not travel with a permanent flag.
    f.permanent->setChecked(true);
    QVERIFY(!f.days->isEnabled());
    QVERIFY(f.days->text().isEmpty());
}

void TestChooseDays::validator_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("number") << "30" << true;
    QTest::newRow("negative") << "-3" << true;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("decimal") << "1.5" << false;
    QTest::newRow("blank inside") << "1 5" << false;
}

void TestChooseDays::validator()
{
    QFETCH(QString, text);
    QFETCH(bool, acceptable);
    ChooseDays w(nullptr, 5, HouseBookCodes::TopFlag);
    const Form f(&w);
    auto *validator = qobject_cast<const QRegularExpressionValidator *>(f.days->validator());
    QVERIFY(validator);
    QCOMPARE(validator->regularExpression().pattern(), QStringLiteral("-?[0-9]+$"));
    int pos = 0;
    QCOMPARE(validator->validate(text, pos) == QValidator::Acceptable, acceptable);
}

void TestChooseDays::postsFlagChange_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("fixedTerm");
    QTest::addColumn<QString>("days");
    QTest::addColumn<FormMap>("form");
    QTest::addColumn<QString>("message");

    const FormMap base{{"itemid", "4321"}, {"state", "1"}, {"lianmai", "1"}};
    FormMap top = base;
    top.insert("type", "1");
    QTest::newRow("top, permanent") << 1 << false << "" << top << "更改置顶状态成功！";
    FormMap lock = base;
    lock.insert("type", "2");
    lock.insert("days", "30");
    QTest::newRow("lock, 30 days") << 2 << true << "30" << lock << "更改锁盘状态成功！";
    FormMap seal = base;
    seal.insert("type", "3");
    seal.insert("days", "7");
    QTest::newRow("seal, leading zero") << 3 << true << "007" << seal << "更改封盘状态成功！";
    FormMap exclusive = base;
    exclusive.insert("type", "4");
    QTest::newRow("exclusive, permanent") << 4 << false << "" << exclusive << "更改独家状态成功！";
}

void TestChooseDays::postsFlagChange()
{
    QFETCH(int, type);
    QFETCH(bool, fixedTerm);
    QFETCH(QString, days);
    QFETCH(FormMap, form);
    QFETCH(QString, message);
    m_server.setReply(flagPath(), RecordingServer::envelope(200, QJsonObject{{"ok", true}}, QStringLiteral("ok")));

    ChooseDays w(nullptr, 4321, type);
    const Form f(&w);
    QSignalSpy success(&w, &ChooseDays::modifySuccess);
    (fixedTerm ? f.haveTime : f.permanent)->setChecked(true);
    f.days->setText(days);
    QTest::mouseClick(f.submit, Qt::LeftButton);
    QVERIFY(f.overlay->isRunning());

    QTRY_COMPARE(success.count(), 1);
    QCOMPARE(m_server.requestsTo(flagPath()).size(), 1);
    const RecordingServer::Request request = m_server.requestsTo(flagPath()).first();
    QCOMPARE(request.method, QStringLiteral("POST"));
    QCOMPARE(request.form, form);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, message);
    QCOMPARE(m_alerts->last().title, QStringLiteral("提示"));
    QCOMPARE(ChooseDays::successText(type), message);
}

void TestChooseDays::fixedTermNeedsDays_data()
{
    QTest::addColumn<QString>("days");
    QTest::newRow("empty") << "";
    QTest::newRow("zero") << "0";
    QTest::newRow("negative") << "-3";
}

void TestChooseDays::fixedTermNeedsDays()
{
    QFETCH(QString, days);
    ChooseDays w(nullptr, 4321, HouseBookCodes::TopFlag);
    const Form f(&w);
    QSignalSpy success(&w, &ChooseDays::modifySuccess);
    f.haveTime->setChecked(true);
    f.days->setText(days);
    w.submitData();
    QVERIFY(!f.overlay->isRunning());
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("请输入天数"));
    QCOMPARE(m_alerts->last().title, QStringLiteral("警告"));
    QTest::qWait(200);
    QCOMPARE(m_server.requestCount(), 0);
    QCOMPARE(success.count(), 0);
}

void TestChooseDays::failedPostChangesNothing_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("refused") << 200 << QByteArray("{\"code\":405,\"message\":\"该房源已被锁盘\"}")
                             << QStringList{"该房源已被锁盘"};
    // Any other failure is told too, with the reason, and says nothing was changed.
    QTest::newRow("server error") << 200 << QByteArray("{\"code\":500,\"message\":\"服务器繁忙\"}")
                                  << QStringList{"更改锁盘状态失败：服务器繁忙(500)\n房源未作更改，请稍后重试。"};
    QTest::newRow("not JSON") << 502 << QByteArray("<html>bad gateway</html>")
                              << QStringList{"更改锁盘状态失败：服务器错误(502)\n房源未作更改，请稍后重试。"};
    QTest::newRow("JSON without envelope") << 200 << QByteArray("[1,2]")
                                           << QStringList{"更改锁盘状态失败：服务器返回的数据无法识别\n房源未作更改，请稍后重试。"};
}

void TestChooseDays::failedPostChangesNothing()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QStringList, boxes);
    m_server.setReply(flagPath(), RecordingServer::raw(body, status, QStringLiteral("application/json")));

    ChooseDays w(nullptr, 4321, HouseBookCodes::LockFlag);
    const Form f(&w);
    QSignalSpy success(&w, &ChooseDays::modifySuccess);
    f.haveTime->setChecked(true);
    f.days->setText(QStringLiteral("15"));
    w.submitData();
    QVERIFY(f.overlay->isRunning());
    QTRY_VERIFY(!f.overlay->isRunning());
    QTest::qWait(200);
    QCOMPARE(success.count(), 0);
    QCOMPARE(m_alerts->texts(), boxes);
    QCOMPARE(m_server.requestsTo(flagPath()).size(), 1);

    // The form is still usable: the next try posts again.
    m_server.setReply(flagPath(), RecordingServer::envelope(200, QJsonObject(), QStringLiteral("ok")));
    w.submitData();
    QTRY_COMPARE(success.count(), 1);
    QCOMPARE(m_server.requestsTo(flagPath()).size(), 2);
    QTRY_COMPARE(m_alerts->texts(), boxes + QStringList{QStringLiteral("更改锁盘状态成功！")});
}

// Pressing "提交" again while the first post runs sends nothing more.
void TestChooseDays::oneRequestWhilePosting()
{
    RecordingServer::Reply slow = RecordingServer::envelope(200, QJsonObject(), QStringLiteral("ok"));
    slow.delayMs = 400;
    m_server.setReply(flagPath(), slow);
    ChooseDays w(nullptr, 4321, HouseBookCodes::TopFlag);
    QSignalSpy success(&w, &ChooseDays::modifySuccess);
    w.submitData();
    w.submitData();
    QTRY_COMPARE(success.count(), 1);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_server.requestsTo(flagPath()).size(), 1);
    QCOMPARE(success.count(), 1);
}

QTEST_MAIN(TestChooseDays)
#include "tst_choosedays.moc"
