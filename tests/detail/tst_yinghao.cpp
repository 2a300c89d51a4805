// A hidden-number row against a recording server: the number is checked and masked before it
// is sent, the safe number turns the row to its counting page and back at 0 s, no call
// credit offers "去购买" and a missing recharge library says so, the real number shows.
#include "alertrecorder.h"
#include "detail/yinghaolistitemview.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "services/listingdetailservice.h"

#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QtTest>

namespace {

QString safeNumberPath()
{
    return QUrl(Endpoints::instance().call_LianmaiGetPhoneV2).path();
}

QString labelText(QWidget *row, const char *name)
{
    return row->findChild<QLabel *>(QLatin1String(name))->text();
}

} // namespace

class TestYingHao : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void phoneIsCheckedAndMasked_data();
    void phoneIsCheckedAndMasked();
    void safeNumberCountsDownAndReturns();
    void noCallCreditOffersPurchase_data();
    void noCallCreditOffersPurchase();
    void realNumberWhereAllowed();

private:
    YingHaoListItemView *makeRow(const QString &phone, bool realAllowed = true);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QScopedPointer<YingHaoListItemView> m_row;
};

void TestYingHao::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().call_LianmaiGetPhoneV2.startsWith(m_server.baseUrl()));
}

void TestYingHao::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(
        RecordingServer::envelope(200, QJsonObject{{"caller", "13811112222"}, {"called", "17033334444"}}));
}

void TestYingHao::cleanup()
{
    m_row.reset();
    m_alerts.reset();
    m_host.reset();
}

YingHaoListItemView *TestYingHao::makeRow(const QString &phone, bool realAllowed)
{
    m_row.reset(new YingHaoListItemView);
    m_row->setData(QStringLiteral("张三"), phone, QStringLiteral("7"), true, realAllowed);
    return m_row.data();
}

void TestYingHao::phoneIsCheckedAndMasked_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("masked");  // empty: refused
    QTest::newRow("7 characters") << "1380013" << "";
    QTest::newRow("7 after removing spaces") << " 138 00 13 " << "";
    QTest::newRow("8 characters") << "12345678" << "123****5678";
    QTest::newRow("mobile with spaces") << "138 0013 8000" << "138****8000";
}

void TestYingHao::phoneIsCheckedAndMasked()
{
    QFETCH(QString, phone);
    QFETCH(QString, masked);
    YingHaoListItemView *row = makeRow(phone);
    row->findChild<QPushButton *>("pushButton_call")->click();
    if (masked.isEmpty()) {
        QTRY_COMPARE(m_alerts->count(), 1);
        QCOMPARE(m_alerts->last().text, QStringLiteral("号码位数长度不足！"));
        QCOMPARE(m_server.requestCount(), 0);
        return;
    }
    QCOMPARE(row->findChild<QPushButton *>("pushButton_call")->text(), QStringLiteral("获取号码中..."));
    QTRY_COMPARE(m_server.requestsTo(safeNumberPath()).size(), 1);
    const QMap<QString, QString> form{{"type", "2"}, {"itemid", "7"}, {"wphone", masked}, {"lianmai", "1"}};
    QCOMPARE(m_server.requestsTo(safeNumberPath()).first().form, form);
}

void TestYingHao::safeNumberCountsDownAndReturns()
{
    YingHaoListItemView *row = makeRow(QStringLiteral("13800138000"));
    row->callClick();
    QTRY_COMPARE(row->currentPage(), 1);
    QCOMPARE(labelText(row, "label_safe"), QStringLiteral("张三 17033334444(安全号)"));
    QCOMPARE(labelText(row, "label_tip"),
             QStringLiteral("请使用您的授权号<span style=\"color:#ff0000;\">13811112222</span>"
                            "拨打安全号【17033334444】，拨号动作请在1分钟内完成，超出请重试"));
    QCOMPARE(labelText(row, "label_count"), QStringLiteral("60s"));
    QVERIFY(row->isCounting());
    for (int second = 59; second >= 1; --second) {
        row->countDown();
        QCOMPARE(labelText(row, "label_count"), QStringLiteral("%1s").arg(second));
        QCOMPARE(row->currentPage(), 1);
    }
    row->countDown();
    QCOMPARE(row->remainingSeconds(), 0);
    QCOMPARE(row->currentPage(), 0);
    QVERIFY(!row->isCounting());
    QCOMPARE(row->findChild<QPushButton *>("pushButton_call")->text(), QStringLiteral("拨打"));
}

void TestYingHao::noCallCreditOffersPurchase_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("101") << 101;
    QTest::newRow("102") << 102;
    QTest::newRow("103") << 103;
}

void TestYingHao::noCallCreditOffersPurchase()
{
    QFETCH(int, code);
    // The host's folder may hold the real library; the missing one is asked for by another name.
    YingHaoListItemView::setCallBabyLibrary(QStringLiteral("qx_callBaby_absent.dll"));
    const QString message = QStringLiteral("您的通话余额不足，请充值后再拨打！");
    m_server.queueReply(safeNumberPath(), RecordingServer::envelope(code, QJsonValue(), message));
    YingHaoListItemView *row = makeRow(QStringLiteral("13800138000"));
    row->callClick();
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, message);
    QVERIFY(m_alerts->last().buttons.contains(QStringLiteral("去购买")));
    QCOMPARE(row->currentPage(), 0);
    m_alerts->openBox()->answer(AlertWidget::Sure);
    QTRY_COMPARE(m_alerts->count(), 2);
    QCOMPARE(m_alerts->last().text, QStringLiteral("缺少<duz>组件！"));
    YingHaoListItemView::setCallBabyLibrary(QStringLiteral("qx_callBaby.dll"));
}

void TestYingHao::realNumberWhereAllowed()
{
    YingHaoListItemView *row = makeRow(QStringLiteral("138 0013 8000"));
    QVERIFY(!row->findChild<QPushButton *>("pushButton_real")->isHidden());
    row->findChild<QPushButton *>("pushButton_real")->click();
    QCOMPARE(labelText(row, "label_real"), QStringLiteral("真实号码 13800138000"));
    QVERIFY(makeRow(QStringLiteral("13800138000"), false)->findChild<QPushButton *>("pushButton_real")->isHidden());
}

QTEST_MAIN(TestYingHao)
#include "tst_yinghao.moc"
