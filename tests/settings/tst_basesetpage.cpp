// The basic settings page: what it refuses and in which order, the form it posts, the reload
// of the settings after a save, a failed save, and the company's unified setting.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "settings/housebookbasesetwidget.h"
#include "sql/housebookset_sqltable.h"
#include "widgets/busyoverlay.h"
#include "widgets/sortwidget.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using Page = HouseBookBaseSetWidget;
using Form = QMap<QString, QString>;

namespace {

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QJsonArray states(const QStringList &names)
{
    QJsonArray array;
    for (int i = 0; i < names.size(); ++i)
        array.append(QJsonObject{{"title", names.at(i)}, {"lable", QString(QChar('A' + i))}});
    return array;
}

// What the settings download of the signed-in agent stores.
QJsonObject storedSettings(int companyBaseStyle = 0)
{
    return QJsonObject{
        {"item", QJsonArray{QJsonObject{{"id", 4}, {"title", "出售房源"}, {"choose", true}},
                            QJsonObject{{"id", 5}, {"title", "出租房源"}, {"choose", false}}}},
        {"page", 30},
        {"enterfresh", 0},
        {"housepush", 1},
        {"setrepeat", "1,3"},
        {"companyGstate", 1},
        {"companySstate", 0},
        {"storeGstate", 0},
        {"storeSstate", 1},
        {"viewrecord", QJsonArray{QJsonObject{{"id", 1}, {"title", "单元栋号房号"}, {"choose", true}},
                                  QJsonObject{{"id", 2}, {"title", "电话号码"}, {"choose", false}},
                                  QJsonObject{{"id", 3}, {"title", "楼层"}, {"choose", true}}}},
        {"chushoustate", states({"有效", "急售", "一般", "暂缓"})},
        {"chuzustate", states({"有效", "急租", "一般", "暂缓"})},
        {"yinhao_mode", 2},
        {"company_base_style", companyBaseStyle}};
}

void store(const QJsonObject &settings)
{
    QVERIFY(HouseBookSet_SqlTable(nullptr, true).storeHouseBookSet(settings));
}

QString compact(const QJsonArray &array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

} // namespace

class TestBaseSetPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void refusals_data();
    void refusals();
    void firstFailureOnly();
    void postedForm();
    void successShowsReloadedSettings();
    void failureKeepsEdits();
    void unifiedSetting_data();
    void unifiedSetting();

private:
    Page *newPage();
    void submitAndExpectRefusal(Page *page, const QString &message);
    QList<RecordingServer::Request> waitForSave(int count = 1);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestBaseSetPage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_housebookconfig.startsWith(m_server.baseUrl()));
}

void TestBaseSetPage::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    m_server.setReply(pathOf(Endpoints::instance().app_gethousebookconfig),
                      RecordingServer::envelope(200, storedSettings()));
    store(storedSettings());
}

void TestBaseSetPage::cleanup()
{
    m_alerts.reset();
    m_host.reset();
}

Page *TestBaseSetPage::newPage()
{
    return new Page(m_host->mainWindow());
}

// A refused page shows the message and posts nothing (no overlay, no request).
void TestBaseSetPage::submitAndExpectRefusal(Page *page, const QString &message)
{
    const int before = m_alerts->count();
    page->findChild<QPushButton *>("surePushButton_basic")->click();
    QVERIFY(!page->findChild<BusyOverlay *>()->isRunning());
    QTRY_COMPARE(m_alerts->count(), before + 1);
    QCOMPARE(m_alerts->last().text, message);
    QVERIFY(m_server.requestsTo(pathOf(Endpoints::instance().app_housebookconfig)).isEmpty());
}

QList<RecordingServer::Request> TestBaseSetPage::waitForSave(int count)
{
    const QString path = pathOf(Endpoints::instance().app_housebookconfig);
    if (!QTest::qWaitFor([&] { return m_server.requestsTo(path).size() >= count; }))
        qWarning() << "no save arrived";
    return m_server.requestsTo(path);
}

void TestBaseSetPage::refusals_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");  // "" when the page is posted

    const QString tooSmall = QStringLiteral("每页个数要大于0");
    const QString brackets = QStringLiteral("房源状态名称不能包含)和(两个字符，请重新修改后再提交！");
    QTest::newRow("page 0") << "pageLineEdit" << "0" << tooSmall;
    QTest::newRow("page negative") << "pageLineEdit" << "-5" << tooSmall;
    QTest::newRow("page not a number") << "pageLineEdit" << "abc" << tooSmall;
    QTest::newRow("page 101") << "pageLineEdit" << "101" << QStringLiteral("每页个数要小于100");
    QTest::newRow("page 100") << "pageLineEdit" << "100" << QString();
    QTest::newRow("sale opening bracket") << "saleStateEdit_A" << "有效(新" << brackets;
    QTest::newRow("rent closing bracket") << "rentStateEdit_D" << "暂缓)" << brackets;
    QTest::newRow("full-width opening") << "saleStateEdit_C" << "一般（" << brackets;
    QTest::newRow("full-width closing") << "rentStateEdit_B" << "急租）" << brackets;
    QTest::newRow("other punctuation") << "rentStateEdit_B" << "急租-快" << QString();
}

void TestBaseSetPage::refusals()
{
    QFETCH(QString, edit);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QScopedPointer<Page> page(newPage());
    page->findChild<QLineEdit *>(edit)->setText(text);
    if (!message.isEmpty()) {
        submitAndExpectRefusal(page.data(), message);
        return;
    }
    page->basic_message_submit();
    const QList<RecordingServer::Request> saves = waitForSave();
    QCOMPARE(saves.size(), 1);
    QCOMPARE(m_alerts->count(), 0);
    if (edit == QLatin1String("pageLineEdit"))
        QCOMPARE(saves.first().form.value("page"), text);
}

// Each submit reports only the first failing check; the next one shows once it is fixed.
void TestBaseSetPage::firstFailureOnly()
{
    QScopedPointer<Page> page(newPage());
    auto *items = page->findChild<SortWidget *>("itemSortWidget");
    QList<QVariantMap> tabs = items->items();
    for (QVariantMap &tab : tabs)
        tab.insert("choose", false);
    items->setItems(tabs, 4);
    page->findChild<QLineEdit *>("pageLineEdit")->setText("0");
    for (const char *name : {"companyGstateCheck", "companySstateCheck", "storeGstateCheck", "storeSstateCheck"})
        page->findChild<QCheckBox *>(name)->setChecked(false);
    page->findChild<QLineEdit *>("rentStateEdit_A")->setText("有效(A)");

    submitAndExpectRefusal(page.data(), QStringLiteral("请至少选择一个类目项显示"));
    tabs.first().insert("choose", true);
    items->setItems(tabs, 4);
    submitAndExpectRefusal(page.data(), QStringLiteral("每页个数要大于0"));
    page->findChild<QLineEdit *>("pageLineEdit")->setText("500");
    submitAndExpectRefusal(page.data(), QStringLiteral("每页个数要小于100"));
    page->findChild<QLineEdit *>("pageLineEdit")->setText("40");
    submitAndExpectRefusal(page.data(), QStringLiteral("请至少选择一种发布房源类型"));
    page->findChild<QCheckBox *>("storeGstateCheck")->setChecked(true);
    submitAndExpectRefusal(page.data(), QStringLiteral("房源状态名称不能包含)和(两个字符，请重新修改后再提交！"));
    page->findChild<QLineEdit *>("rentStateEdit_A")->setText("有效");
    page->basic_message_submit();
    QCOMPARE(waitForSave().size(), 1);
}

// Every key in the text form the store and the server read back, from the shown values
// and the agent's changes.
void TestBaseSetPage::postedForm()
{
    QScopedPointer<Page> page(newPage());
    page->findChild<SortWidget *>("itemSortWidget")->moveItem(1, 0);
    page->findChild<QLineEdit *>("pageLineEdit")->setText(" 45 ");
    page->findChild<QRadioButton *>("enterFreshRadio")->setChecked(true);
    page->findChild<QRadioButton *>("noHousePushRadio")->setChecked(true);
    page->findChild<QCheckBox *>("repeatCheck_5")->setChecked(true);
    page->findChild<QCheckBox *>("repeatCheck_1")->setChecked(false);
    page->findChild<QCheckBox *>("viewRecordCheck_2")->setChecked(true);
    page->findChild<QLineEdit *>("saleStateEdit_D")->setText("");
    page->findChild<QRadioButton *>("yinhaoRadio_1")->setChecked(true);
    page->basic_message_submit();

    const Form form = waitForSave().value(0).form;
    const Form expected{
        {"item", compact({QJsonObject{{"id", 5}, {"title", "出租房源"}, {"choose", false}},
                          QJsonObject{{"id", 4}, {"title", "出售房源"}, {"choose", true}}})},
        {"page", "45"},
        {"enterfresh", "1"},
        {"housepush", "0"},
        {"setrepeat", "3,5"},
        {"companyGstate", "1"},
        {"companySstate", "0"},
        {"storeGstate", "0"},
        {"storeSstate", "1"},
        {"viewrecord", compact({QJsonObject{{"id", 1}, {"title", "单元栋号房号"}, {"choose", true}},
                                QJsonObject{{"id", 2}, {"title", "电话号码"}, {"choose", true}},
                                QJsonObject{{"id", 3}, {"title", "楼层"}, {"choose", true}}})},
        {"chushoustate", compact(states({"有效", "急售", "一般", ""}))},
        {"chuzustate", compact(states({"有效", "急租", "一般", "暂缓"}))},
        {"yinhao_mode", "1"},
        {"lianmai", "1"}};
    QCOMPARE(form, expected);
}

void TestBaseSetPage::successShowsReloadedSettings()
{
    QJsonObject answer = storedSettings();
    answer.insert("page", 60);
    answer.insert("setrepeat", "2,4");
    answer.insert("chushoustate", states({"特急", "急售", "一般", "暂缓"}));
    answer.insert("yinhao_mode", 0);
    m_server.setReply(pathOf(Endpoints::instance().app_gethousebookconfig), RecordingServer::envelope(200, answer));
    QScopedPointer<Page> page(newPage());
    QSignalSpy success(page.data(), &Page::setSuccess);
    auto *overlay = page->findChild<BusyOverlay *>();
    page->findChild<QLineEdit *>("pageLineEdit")->setText("60");
    page->basic_message_submit();
    QVERIFY(overlay->isRunning());
    QCOMPARE(overlay->text(), QStringLiteral("提交设置中..."));

    QVERIFY(success.wait());
    QVERIFY(!overlay->isRunning());
    QCOMPARE(HouseBookSet_SqlTable(nullptr, true).pageSize(), 60);
    QCOMPARE(page->findChild<QLineEdit *>("pageLineEdit")->text(), QStringLiteral("60"));
    QCOMPARE(page->findChild<QLineEdit *>("saleStateEdit_A")->text(), QStringLiteral("特急"));
    QVERIFY(page->findChild<QCheckBox *>("repeatCheck_2")->isChecked());
    QVERIFY(!page->findChild<QCheckBox *>("repeatCheck_1")->isChecked());
    QVERIFY(page->findChild<QRadioButton *>("yinhaoRadio_0")->isChecked());
}

void TestBaseSetPage::failureKeepsEdits()
{
    m_server.setReply(pathOf(Endpoints::instance().app_housebookconfig), RecordingServer::dropped());
    QScopedPointer<Page> page(newPage());
    QSignalSpy success(page.data(), &Page::setSuccess);
    page->findChild<QLineEdit *>("pageLineEdit")->setText("77");
    page->findChild<QLineEdit *>("rentStateEdit_C")->setText("新名");
    page->basic_message_submit();

    QTRY_VERIFY(!page->findChild<BusyOverlay *>()->isRunning());
    QTRY_COMPARE(m_alerts->count(), 1);
    QVERIFY(m_alerts->last().text.startsWith(QStringLiteral("设置提交失败：")));
    QCOMPARE(success.count(), 0);
    QCOMPARE(page->findChild<QLineEdit *>("pageLineEdit")->text(), QStringLiteral("77"));
    QCOMPARE(page->findChild<QLineEdit *>("rentStateEdit_C")->text(), QStringLiteral("新名"));
    QVERIFY(m_server.requestsTo(pathOf(Endpoints::instance().app_gethousebookconfig)).isEmpty());
}

void TestBaseSetPage::unifiedSetting_data()
{
    QTest::addColumn<bool>("manager");
    QTest::addColumn<bool>("jointSaleManager");
    QTest::addColumn<int>("companyStyle");
    QTest::addColumn<bool>("locked");

    QTest::newRow("agent, unified") << false << false << 1 << true;
    QTest::newRow("agent, personal") << false << false << 0 << false;
    QTest::newRow("manager, unified") << true << false << 1 << false;
    QTest::newRow("alliance manager, unified") << false << true << 1 << false;
}

// A locked agent sees why, cannot change her own choices and does not send them; only a
// manager sends (and may change) the company's choice.
void TestBaseSetPage::unifiedSetting()
{
    QFETCH(bool, manager);
    QFETCH(bool, jointSaleManager);
    QFETCH(int, companyStyle);
    QFETCH(bool, locked);
    HostFixture::signInAs(TestUser().manager(manager).jointSaleManager(jointSaleManager));
    store(storedSettings(companyStyle));
    QScopedPointer<Page> page(newPage());
    page->show();

    auto *notice = page->findChild<QLabel *>("unifiedNoticeLabel");
    QCOMPARE(notice->isVisible(), locked);
    if (locked)
        QCOMPARE(notice->text(), QStringLiteral("公司管理员已开启基础设置【全公司】统一设置，不支持个人修改"));
    for (const char *name : {"itemSortWidget", "pageLineEdit", "enterFreshRadio", "noEnterFreshRadio",
                             "housePushRadio", "noHousePushRadio"})
        QCOMPARE(page->findChild<QWidget *>(name)->isEnabled(), !locked);
    const bool isManager = manager || jointSaleManager;
    auto *style = page->findChild<QCheckBox *>("companyBaseStyleCheck");
    QCOMPARE(style->isEnabled(), isManager);
    QCOMPARE(style->isChecked(), companyStyle == 1);

    page->basic_message_submit();
    const Form form = waitForSave().value(0).form;
    for (const char *key : {"item", "page", "enterfresh", "housepush"})
        QCOMPARE(form.contains(key), !locked);
    QCOMPARE(form.contains("setrepeat"), true);
    QCOMPARE(form.value("company_base_style", "absent"),
             isManager ? QString::number(companyStyle) : QStringLiteral("absent"));
}

QTEST_MAIN(TestBaseSetPage)
#include "tst_basesetpage.moc"
