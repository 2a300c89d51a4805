// The first page of the detail window against a recording server: the fact lines of sale and
// rent listings, the reveals and their statistics, the contact forms, the status menu and the
// portal takedown it may cause, collecting, the counts with the one-time refresh of a changed
// listing, the collaboration roles and what the user's rights offer.
#include "alertrecorder.h"
#include "detail/housedetailfirstpagewidget.h"
#include "detail/xiezuoroles.h"
#include "detail/xiezuoroleswidget.h"
#include "detail/yinghaolistitemview.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "portal/housebookxinfulipushobject.h"
#include "recordingserver.h"
#include "services/listingdetailservice.h"
#include "sql/housebookset_sqltable.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using Record = HouseMessage_DataSqlTable::HouseMessageData;
using Holder = HouseMessage_DataSqlTable::XieZuoItemData;
using Texts = QMap<QString, QString>;

namespace {

constexpr int kId = 42;

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

Record saleRecord()
{
    Record r;
    r.id = kId;
    r.name = QStringLiteral("阳光花园");
    r.newstate = QStringLiteral("有效");
    r.buildingNo = QStringLiteral("3");
    r.dongunit = QStringLiteral("栋");
    r.unitNo = QStringLiteral("2");
    r.danyuanunit = QStringLiteral("单元");
    r.roomNo = QStringLiteral("1502");
    r.floors = 15;
    r.allfloors = 18;
    r.companyname = QStringLiteral("安居地产");
    r.deptname = QStringLiteral("一店");
    r.author = QStringLiteral("王五");
    r.housetype = QStringLiteral("住宅");
    r.room = 3;
    r.hall = 2;
    r.huxingwei = 1;
    r.kitchen = 1;
    r.builtuparea = 89.5;
    r.price = 120;
    r.unitprice = 13408;
    r.primaryschool = QStringLiteral("实验小学");
    r.propertyquan = QStringLiteral("70年");
    r.havekeys = 1;
    r.keys = QStringLiteral("门店");
    r.createtime = QStringLiteral("2024/03/01 10:00:00");
    r.lasttime = QStringLiteral("2024/03/01 10:00:00");
    return r;
}

Record rentRecord()
{
    Record r = saleRecord();
    r.types = 1;
    r.price = 2500;
    r.zuunit = QStringLiteral("元/月");
    r.payway = QStringLiteral("押一付三");
    r.sf = 1;
    r.stype = 1;
    r.havekeys = 0;
    r.author.clear();
    return r;
}

QString labelText(QWidget *page, const QString &name)
{
    auto *label = page->findChild<QLabel *>(name);
    return label ? label->text() : QStringLiteral("<no %1>").arg(name);
}

QPushButton *button(QWidget *page, const QString &name)
{
    return page->findChild<QPushButton *>(name);
}

} // namespace

class TestFirstPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void factLines_data();
    void factLines();
    void tagsTakeTheColoursInTurn();
    void revealPostsStatisticsThenShows_data();
    void revealPostsStatisticsThenShows();
    void contactForms_data();
    void contactForms();
    void hiddenNumberModeListsRows();
    void statusMenu_data();
    void statusMenu();
    void statusChangeTakedown_data();
    void statusChangeTakedown();
    void collectToggles();
    void countsAndChangedListing_data();
    void countsAndChangedListing();
    void rightsDecideOperations_data();
    void rightsDecideOperations();
    void roleForms_data();
    void roleForms();

private:
    HouseDetailFirstPageWidget *showPage(const Record &record, bool refreshed = false);

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QScopedPointer<HouseDetailFirstPageWidget> m_page;
};

void TestFirstPage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_showphone.startsWith(m_server.baseUrl()));
}

void TestFirstPage::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    HouseBookXinfuLiPushObject::clearPutDownLog();
}

void TestFirstPage::cleanup()
{
    m_page.reset();
    m_alerts.reset();
    m_host.reset();
}

HouseDetailFirstPageWidget *TestFirstPage::showPage(const Record &record, bool refreshed)
{
    m_page.reset(new HouseDetailFirstPageWidget);
    m_page->showRecord(record, refreshed, record.types == 1);
    return m_page.data();
}

void TestFirstPage::factLines_data()
{
    QTest::addColumn<Record>("record");
    QTest::addColumn<Texts>("expected");

    QTest::newRow("sale") << saleRecord()
                          << Texts{{"nameLabel", "阳光花园"},
                                                    {"label_status", "有效"},
                                                    {"label_address", "地址：阳光花园-3栋-2单元"},
                                                    {"label_number", "编号：42"},
                                                    {"label_enterer", "录入人：安居地产-一店-王五"},
                                                    {"label_visibility", "权限：公司公盘"},
                                                    {"label_huxing", "户型：3室2厅1卫1厨"},
                                                    {"label_area", "面积：89.5平"},
                                                    {"label_renovation", "装修：暂无"},
                                                    {"label_price", "价格：120万"},
                                                    {"label_unitPrice", "单价：13408元/㎡"},
                                                    {"label_middleSchool", "中学：暂无"},
                                                    {"label_propertyRight", "产权：70年"},
                                                    {"label_garage", "无车库"},
                                                    {"label_keys", "钥匙：门店"},
                                                    {"label_created", "录入：2024/03/01 10:00:00"},
                                                    {"label_floor", "楼层：*/*层"},
                                                    {"label_remark", "备注：暂无"},
                                                    {"label_contact", "*************"}};
    // Numbers stored with their word already ("7栋", "1单元") do not get it twice.
    Record worded = saleRecord();
    worded.buildingNo = QStringLiteral("7栋");
    worded.unitNo = QStringLiteral("1单元");
    worded.danyuanunit = QStringLiteral("单元");
    QTest::newRow("numbers with their words") << worded << Texts{{"label_address", "地址：阳光花园-7栋-1单元"}};
    QTest::newRow("rent") << rentRecord()
                          << Texts{{"label_enterer", "录入人：暂无"},
                                                    {"label_visibility", "权限：门店私盘"},
                                                    {"label_price", "租金：2500元/月"},
                                                    {"label_payway", "付款方式：押一付三"},
                                                    {"label_rentway", "租房方式：暂无"},
                                                    {"label_tags", "标签：暂无"},
                                                    {"label_keys", "无钥匙"},
                                                    {"label_created", "发布：2024/03/01 10:00:00"}};
}

void TestFirstPage::factLines()
{
    QFETCH(Record, record);
    QFETCH(Texts, expected);
    QWidget *page = showPage(record);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(labelText(page, it.key()), it.value());
    // The other kind's lines are not shown.
    const QString otherLine = record.types == 1 ? QStringLiteral("label_unitPrice") : QStringLiteral("label_payway");
    auto *other = page->findChild<QLabel *>(otherLine);
    QVERIFY(!other || other->isHidden());
}

void TestFirstPage::tagsTakeTheColoursInTurn()
{
    Record record = saleRecord();
    record.tags = QStringLiteral("满五,学区,地铁,近公园,南北通透,精装,急售");
    QWidget *page = showPage(record);
    const QList<QLabel *> tags = page->findChild<QWidget *>("widget_tag")->findChildren<QLabel *>();
    QCOMPARE(tags.size(), 7);
    const QStringList colours{"#FDB800", "#F94283", "#F9933F", "#A060BC", "#49C8A6", "#00B1FF", "#FDB800"};
    for (int i = 0; i < tags.size(); ++i) {
        QCOMPARE(tags.at(i)->text(), QStringLiteral(" %1 ").arg(record.tags.split(',').at(i)));
        QCOMPARE(tags.at(i)->styleSheet(),
                 QStringLiteral("color:%1;border-radius:3px;border:1px solid %1;").arg(colours.at(i)));
    }
}

void TestFirstPage::revealPostsStatisticsThenShows_data()
{
    QTest::addColumn<QString>("buttonName");
    QTest::addColumn<QString>("itemType");
    QTest::addColumn<QString>("labelName");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("hidden");
    QTest::newRow("room") << "pushButton_room" << "1" << "label_address" << "地址：阳光花园-3栋-2单元-1502"
                          << "地址：阳光花园-3栋-2单元";
    QTest::newRow("floor") << "pushButton_floor" << "2" << "label_floor" << "楼层：15/18层" << "楼层：*/*层";
}

void TestFirstPage::revealPostsStatisticsThenShows()
{
    QFETCH(QString, buttonName);
    QFETCH(QString, itemType);
    QFETCH(QString, labelName);
    QFETCH(QString, shown);
    QFETCH(QString, hidden);
    QWidget *page = showPage(rentRecord());
    QSignalSpy keyInfo(m_page.data(), &HouseDetailFirstPageWidget::watchKeyMessage);
    button(page, buttonName)->click();
    QTRY_COMPARE(labelText(page, labelName), shown);
    const auto posts = m_server.requestsTo(pathOf(Endpoints::instance().app_showphone));
    QCOMPARE(posts.size(), 1);
    const QMap<QString, QString> form{{"id", "42"}, {"type", "2"}, {"itemtype", itemType}, {"lianmai", "1"}};
    QCOMPARE(posts.first().form, form);
    QCOMPARE(keyInfo.count(), 1);
    button(page, buttonName)->click();
    QCOMPARE(labelText(page, labelName), hidden);
}

void TestFirstPage::contactForms_data()
{
    QTest::addColumn<QString>("contacts");
    QTest::addColumn<int>("exclusive");
    QTest::addColumn<QString>("expected");
    const QString owners = QStringLiteral(R"([{"name":"张三","level":"业主","phone":"13800001111"},)"
                                          R"({"name":"赵六","level":"经纪人","phone":"13700002222"}])");
    QTest::newRow("owners and agent") << owners << 0 << "张三(业主) 13800001111\n经纪人-赵六 13700002222";
    QTest::newRow("no relation") << QStringLiteral(R"([{"name":"李先生","phone":"18764559253"}])") << 0
                                 << "李先生 18764559253";
    QTest::newRow("exclusive agent hides owners") << owners << 1 << "独家代理人-李四 13900003333";
    QTest::newRow("not a list") << "13800001111" << 0 << "13800001111";
    QTest::newRow("none") << "" << 0 << "暂无";
}

void TestFirstPage::contactForms()
{
    QFETCH(QString, contacts);
    QFETCH(int, exclusive);
    QFETCH(QString, expected);
    Record record = saleRecord();
    record.contacts = contacts;
    record.hbdujia = exclusive;
    record.dujiaren.name = QStringLiteral("李四");
    record.dujiaren.phone = QStringLiteral("13900003333");
    QWidget *page = showPage(record);
    button(page, "pushButton_contact")->click();
    QTRY_COMPARE(labelText(page, "label_contact"), expected);
    QCOMPARE(button(page, "pushButton_contact")->text(), QStringLiteral("隐藏"));
    QCOMPARE(m_server.requestsTo(pathOf(Endpoints::instance().app_showphone)).first().form.value("itemtype"),
             QStringLiteral("0"));
    button(page, "pushButton_contact")->click();
    QCOMPARE(labelText(page, "label_contact"), QStringLiteral("*************"));
    QCOMPARE(button(page, "pushButton_contact")->text(), QStringLiteral("显示"));
}

void TestFirstPage::hiddenNumberModeListsRows()
{
    QVERIFY(HouseBookSet_SqlTable(nullptr, true).setValue(QStringLiteral("bookset"), QStringLiteral(R"({"yinhao_mode":1})")));
    Record record = saleRecord();
    record.contacts = QStringLiteral(R"([{"name":"张三","phone":"13800001111"},{"name":"钱七","phone":"13600004444"}])");
    QWidget *page = showPage(record);
    button(page, "pushButton_contact")->click();
    QTRY_COMPARE(page->findChildren<YingHaoListItemView *>().size(), 2);
    QVERIFY(labelText(page, "label_contact") != QStringLiteral("*************"));
    button(page, "pushButton_contact")->click();
    QTRY_COMPARE(page->findChildren<YingHaoListItemView *>().size(), 0);
}

void TestFirstPage::statusMenu_data()
{
    QTest::addColumn<Record>("record");
    QTest::addColumn<QStringList>("statuses");
    Record sale = saleRecord();
    sale.newstate = QStringLiteral("B");
    Record rent = rentRecord();
    rent.newstate = QStringLiteral("已租");
    QTest::newRow("sale") << sale << QStringList{"  A", "  B", "  C", "  D", "  无效", "  已售", "  成交", "  已定", "  电话无效", "  暂不售"};
    QTest::newRow("rent") << rent << QStringList{"  A", "  B", "  C", "  D", "  无效", "  已租", "  成交", "  已定", "  电话无效", "  暂不租"};
}

void TestFirstPage::statusMenu()
{
    QFETCH(Record, record);
    QFETCH(QStringList, statuses);
    HostFixture::signInAs(TestUser().jointSaleManager());
    showPage(record);
    QSignalSpy edit(m_page.data(), &HouseDetailFirstPageWidget::houseEdit);
    m_page->showMenu();
    QMenu *menu = m_page->operationMenu();
    QVERIFY(menu);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("编辑"));
    auto *sub = menu->findChild<QMenu *>("statusMenu");
    QVERIFY(sub);
    QCOMPARE(sub->title(), QStringLiteral("修改状态"));
    QStringList texts;
    QStringList marked;
    for (QAction *action : sub->actions()) {
        texts << action->text();
        if (!action->icon().isNull())
            marked << action->text().trimmed();
    }
    QCOMPARE(texts, statuses);
    QCOMPARE(marked, QStringList{record.newstate});
    menu->actions().first()->trigger();
    QCOMPARE(edit.count(), 1);
    QCOMPARE(edit.first().first().toBool(), false);
}

void TestFirstPage::statusChangeTakedown_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QStringList>("takedowns");
    QTest::newRow("grade") << "  A" << QStringList();
    QTest::newRow("sold") << "  已售" << QStringList{"42:房源状态修改为：已售"};
}

void TestFirstPage::statusChangeTakedown()
{
    QFETCH(QString, chosen);
    QFETCH(QStringList, takedowns);
    HostFixture::signInAs(TestUser().jointSaleManager());
    showPage(saleRecord());
    m_page->showMenu();
    QAction *action = nullptr;
    for (QAction *a : m_page->operationMenu()->findChild<QMenu *>("statusMenu")->actions())
        if (a->text() == chosen)
            action = a;
    QVERIFY(action);
    action->trigger();
    QTRY_COMPARE(labelText(m_page.data(), "label_status"), chosen.trimmed());
    const auto posts = m_server.requestsTo(pathOf(Endpoints::instance().app_housebooknewstate));
    QCOMPARE(posts.size(), 1);
    QCOMPARE(posts.first().form.value("state"), chosen.trimmed());
    QCOMPARE(HouseBookXinfuLiPushObject::putDownLog(), takedowns);
}

void TestFirstPage::collectToggles()
{
    const QString path = pathOf(Endpoints::instance().app_collection);
    QWidget *page = showPage(saleRecord());
    QPushButton *collect = button(page, "collectButton");
    QCOMPARE(collect->text(), QStringLiteral("收藏"));
    QCOMPARE(collect->property("iconPath").toString(), QStringLiteral("://res/yc1.png"));
    m_server.queueReply(path, RecordingServer::envelope(200, QJsonObject{{"collection", true}}));
    collect->click();
    QTRY_COMPARE(collect->text(), QStringLiteral("取消收藏"));
    QCOMPARE(collect->property("iconPath").toString(), QStringLiteral("://res/shoucang.png"));
    // A reply without the state toggles what is shown.
    m_server.queueReply(path, RecordingServer::envelope(200, QJsonArray()));
    collect->click();
    QTRY_COMPARE(collect->text(), QStringLiteral("收藏"));
    QCOMPARE(collect->property("iconPath").toString(), QStringLiteral("://res/yc1.png"));
    const QMap<QString, QString> form{{"id", "42"}, {"type", "1"}, {"lianmai", "1"}};
    QCOMPARE(m_server.requestsTo(path).first().form, form);
    QVERIFY(QFile::exists(":/res/yc1.png") && QFile::exists(":/res/shoucang.png"));
}

void TestFirstPage::countsAndChangedListing_data()
{
    QTest::addColumn<QJsonValue>("data");
    QTest::addColumn<bool>("refreshed");
    QTest::addColumn<QString>("counts");
    QTest::addColumn<int>("downloads");
    const auto counts = [](const char *photoColour, int photos, const char *videoColour, int videos) {
        return QStringLiteral("图片（<span style=\"color:%1;\">%2</span>）视频（<span style=\"color:%3;\">%4</span>）")
            .arg(photoColour).arg(photos).arg(videoColour).arg(videos);
    };
    const QJsonObject newer{{"photocount", 3}, {"videocount", 0}, {"lasttime", "2024/3/2 9:05:00"}};
    QTest::newRow("newer, first load") << QJsonValue(newer) << false << counts("#3485ea", 3, "#ff0000", 0) << 1;
    QTest::newRow("newer, reload") << QJsonValue(newer) << true << counts("#3485ea", 3, "#ff0000", 0) << 0;
    QTest::newRow("same time") << QJsonValue(QJsonObject{{"photocount", "2"}, {"videocount", 1}, {"lasttime", "2024/03/01 10:00:00"}})
                               << false << counts("#3485ea", 2, "#3485ea", 1) << 0;
    QTest::newRow("malformed") << QJsonValue(QJsonObject{{"photocount", "abc"}, {"videocount", QJsonArray{1}}, {"lasttime", 5}})
                               << false << counts("#ff0000", 0, "#ff0000", 0) << 0;
    QTest::newRow("not an object") << QJsonValue(QJsonArray{1, 2}) << false << counts("#ff0000", 0, "#ff0000", 0) << 0;
}

void TestFirstPage::countsAndChangedListing()
{
    QFETCH(QJsonValue, data);
    QFETCH(bool, refreshed);
    QFETCH(QString, counts);
    QFETCH(int, downloads);
    const QString infoPath = pathOf(Endpoints::instance().app_housebookdetailInfo);
    const QString onePath = pathOf(Endpoints::instance().app_SyncHousebookDetail);
    m_server.setReply(infoPath, RecordingServer::envelope(200, data));
    m_page.reset(new HouseDetailFirstPageWidget);
    QSignalSpy answers(m_page->findChild<ListingDetailService *>(), &ListingDetailService::countsArrived);
    m_page->showRecord(saleRecord(), refreshed, false);
    QTRY_COMPARE(answers.count(), 1);
    QCOMPARE(labelText(m_page.data(), "label_photoVideo"), counts);
    QCOMPARE(m_server.requestsTo(infoPath).first().form, (QMap<QString, QString>{{"id", "42"}, {"lianmai", "1"}}));
    // Asking for the counts again in the same opening fetches the listing no second time; a
    // third request, sent after both answers were dealt with, marks the end of the wait.
    m_page->downloadPhotosVideoNum();
    QTRY_COMPARE(answers.count(), 2);
    m_page->downloadPhotosVideoNum();
    QTRY_COMPARE(answers.count(), 3);
    QTRY_COMPARE(m_server.requestsTo(onePath).size(), downloads);
    QCOMPARE(m_server.requestsTo(infoPath).size(), 3);
}

void TestFirstPage::rightsDecideOperations_data()
{
    QTest::addColumn<bool>("manager");
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<QStringList>("operations");
    QTest::newRow("joint-sale manager") << true << QList<int>() << QStringList{"编辑", "状态", "录入人"};
    QTest::newRow("no rights") << false << QList<int>() << QStringList();
    QTest::newRow("status and staffing") << false << QList<int>{48, 149} << QStringList{"状态", "录入人"};
    QTest::newRow("edit") << false << QList<int>{9} << QStringList{"编辑"};
}

void TestFirstPage::rightsDecideOperations()
{
    QFETCH(bool, manager);
    QFETCH(QList<int>, rights);
    QFETCH(QStringList, operations);
    TestUser user;
    user.jointSaleManager(manager);
    if (!rights.isEmpty())
        user.grant(rights, 1);
    HostFixture::signInAs(user);
    Record record = saleRecord();
    record.deptid = 11;
    QWidget *page = showPage(record);
    QCOMPARE(m_page->operations(), operations);
    QCOMPARE(button(page, "pushButton_fenPei")->isHidden(), !operations.contains("录入人"));
    QCOMPARE(button(page, "pushButton_menu")->isHidden(), operations.isEmpty() || operations == QStringList{"录入人"});
    QSignalSpy fenPei(m_page.data(), &HouseDetailFirstPageWidget::fenPei);
    button(page, "pushButton_fenPei")->click();
    QCOMPARE(fenPei.count(), 1);
}

void TestFirstPage::roleForms_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("holderPhone");
    QTest::addColumn<bool>("approved");
    QTest::addColumn<bool>("verified");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("icon");
    const char *const keys[] = {"add", "modify", "weituo", "shikan", "key", "dujia", "complete"};
    const char *const captions[] = {"录入人", "维护人", "委托人", "实勘人", "钥匙人", "独家代理人", "成交人"};
    const char *const empties[] = {"待录入", "待维护", "待委托", "待实勘", "待钥匙", "待独家代理", "待成交"};
    const QString mine = TestUser::kPhone;
    const QString other = QStringLiteral("13900000009");
    for (int role = 0; role < 7; ++role) {
        const QString key = QString::fromLatin1(keys[role]);
        const QString caption = QString::fromUtf8(captions[role]);
        const QByteArray name = key.toLatin1();
        QTest::newRow((name + " empty").constData())
            << role << QString() << true << false << QString::fromUtf8(empties[role]) << ":/res/xiezuo_" + key + "_null.png";
        QTest::newRow((name + " approved").constData())
            << role << other << true << false << caption + "：周八" << ":/res/xiezuo_" + key + ".png";
        QTest::newRow((name + " approved, mine").constData())
            << role << mine << true << false << caption + "：周八" << ":/res/xiezuo_my_" + key + ".png";
        QTest::newRow((name + " pending").constData())
            << role << other << false << false << caption + "：周八（待审核）" << ":/res/xiezuo_" + key + "_review.png";
        QTest::newRow((name + " pending, mine").constData())
            << role << mine << false << false << caption + "：周八（待审核）" << ":/res/xiezuo_my_" + key + "_review.png";
    }
    QTest::newRow("weituo verified") << 2 << other << true << true << "委托人：周八" << ":/res/xiezuo_weituo_heyan.png";
    QTest::newRow("weituo verified, mine") << 2 << mine << true << true << "委托人：周八" << ":/res/xiezuo_weituo_heyan_my.png";
    QTest::newRow("weituo verified, pending") << 2 << other << false << true << "委托人：周八（待审核）"
                                              << ":/res/xiezuo_weituo_heyan_review.png";
    QTest::newRow("weituo verified, mine pending") << 2 << mine << false << true << "委托人：周八（待审核）"
                                                   << ":/res/xiezuo_weituo_heyan_my_review.png";
}

void TestFirstPage::roleForms()
{
    QFETCH(int, role);
    QFETCH(QString, holderPhone);
    QFETCH(bool, approved);
    QFETCH(bool, verified);
    QFETCH(QString, text);
    QFETCH(QString, icon);
    Record record = saleRecord();
    record.heyanCode = verified ? QStringLiteral("HY-1") : QString();
    record.jindu = 60;
    QList<Holder> holders = XieZuoRoles::holdersOf(record);
    if (!holderPhone.isEmpty()) {
        holders[role].name = QStringLiteral("周八");
        holders[role].phone = holderPhone;
        holders[role].review = approved;
    }
    showPage(record);
    m_page->setXieZuoData(holders[0], holders[1], holders[2], holders[3], holders[4], holders[5], holders[6], 60);
    auto *roles = m_page->findChild<XieZuoRolesWidget *>();
    QCOMPARE(roles->roleText(role), text);
    QCOMPARE(roles->roleIcon(role), icon);
    QVERIFY2(QFile::exists(icon), qPrintable(icon));
    QCOMPARE(roles->rateText(), QStringLiteral("60%"));
}

QTEST_MAIN(TestFirstPage)
#include "tst_firstpage.moc"
