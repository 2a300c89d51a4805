// The sale and rent entry forms against a recording server: the rules and their order, the
// exact post forms of add, edit, approval and rejection, the duplicate check and its boxes,
// the price calculation, the fill from an older record and the contact display modes.
#include "alertrecorder.h"
#include "entry_forms/addrenthousetobookwidget.h"
#include "entry_forms/addsalehousetobookwidget.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "sql/housebookset_sqltable.h"
#include "widgets/forms/unitlineedit.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedPointer>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>

using FormMap = QMap<QString, QString>;
using Record = HouseMessage_DataSqlTable::HouseMessageData;
using HouseMsg = ChooseHouseMessageStackWidget::HouseMsg;

namespace {

QString pathOf(const QString &url) { return QUrl(url).path(); }
QString addPath() { return pathOf(Endpoints::instance().fd_HouseAdd); }
QString editPath() { return pathOf(Endpoints::instance().fd_HouseEidt); }
QString approvePath() { return pathOf(Endpoints::instance().fd_HouseShenhe); }
QString rejectPath() { return pathOf(Endpoints::instance().fd_HouseBohui); }
QString checkPath() { return pathOf(Endpoints::instance().app_housebookcheck); }

void setBookSetting(const QString &column, const QString &value)
{
    QVERIFY(HouseBookSet_SqlTable(nullptr, true).setValue(column, value));
}

template <typename T>
T *child(QWidget *form, const char *name)
{
    auto *w = form->findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no child %s", name);
    return w;
}

void setText(QWidget *form, const char *name, const QString &text)
{
    child<QLineEdit>(form, name)->setText(text);
}

void chooseCommunity(ListingEntryForm *form, const QVariantMap &community, const QString &building = "5栋",
                     const QString &unit = "2单元")
{
    HouseMsg msg;
    msg.community = community;
    msg.louDong = {QString(), building, QStringLiteral("栋"), false};
    msg.danYuan = {QString(), unit, QStringLiteral("单元")};
    form->dealChooseMessage(msg);
}

// Everything a new listing needs, nothing more.
void fillValid(ListingEntryForm *form)
{
    chooseCommunity(form, {{"name", "翡翠湖畔"}, {"myid", 0}, {"id", 12}});
    setText(form, "roomNolineEdit", "301");
    child<QSpinBox>(form, "roomSpinBox")->setValue(3);
    child<QSpinBox>(form, "hallSpinBox")->setValue(2);
    child<QSpinBox>(form, "huxingweiSpinBox")->setValue(1);
    setText(form, "floorslineEdit", "5");
    setText(form, "allfloorslineEdit", "18");
    setText(form, "priceLineEdit", "150");
    setText(form, "builtupareaLineEdit", "100");
    setText(form, "contactsLineEdit", "王女士");
    setText(form, "tellineEdit", "13812345678");
}

} // namespace

class TestListingEntryForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void repeatSetting_data();
    void repeatSetting();
    void firstFailureOnly_data();
    void firstFailureOnly();
    void priceCalculation();
    void addFormKeys_data();
    void addFormKeys();
    void communityAndSourceReferences();
    void editFormAndNoDuplicateCheck();
    void reviewApprovesAndRejects();
    void duplicateReplies_data();
    void duplicateReplies();
    void fillFromOlderRecord();
    void hostileTextsArriveUnchanged();
    void serverFailureKeepsInput();
    void doubleClickPostsOnce();
    void contactDisplayModes_data();
    void contactDisplayModes();
    void lockedCommunityWithdrawsManualEntry();
    void roomNumberLosesLeadingZero();
    void chosenBuildingBringsItsOwnUnits();

private:
    template <typename Form>
    Form *newForm(bool edit = false, bool review = false)
    {
        m_form.reset(new Form(nullptr, edit, review));
        return static_cast<Form *>(m_form.data());
    }
    void submit() { child<QPushButton>(m_form.data(), "submitButton")->click(); }

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QScopedPointer<ListingEntryForm> m_form;
};

void TestListingEntryForm::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().fd_HouseAdd.startsWith(m_server.baseUrl()));
}

void TestListingEntryForm::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    m_server.setReply(addPath(), RecordingServer::envelope(200, QJsonObject{{"id", 321}}));
    m_server.setReply(editPath(), RecordingServer::envelope(200, QJsonObject{{"id", "77"}}));
    m_server.setReply(checkPath(), RecordingServer::envelope(200, QJsonObject{{"existed", false}}));
}

void TestListingEntryForm::cleanup()
{
    m_form.reset();
    m_alerts.reset();
    m_host.reset();
}

// "3" makes the unit compulsory, "5" turns the duplicate check on; "15" is neither.
void TestListingEntryForm::repeatSetting_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("unitRequired");
    QTest::addColumn<bool>("checks");
    QTest::newRow("3,5") << "3,5" << true << true;
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("15") << "15" << false << false;
}

void TestListingEntryForm::repeatSetting()
{
    QFETCH(QString, setting);
    QFETCH(bool, unitRequired);
    QFETCH(bool, checks);
    setBookSetting("houserepeat", setting);
    auto *form = newForm<AddSaleHouseToBookWidget>();
    fillValid(form);
    chooseCommunity(form, {{"name", "翡翠湖畔"}, {"id", 12}}, "5栋", QString());
    form->checkRepeat();
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    submit();
    if (unitRequired) {
        QTRY_COMPARE(m_alerts->count(), 1);
        QCOMPARE(m_alerts->last().text, QStringLiteral("请填写单元号"));
    } else {
        QVERIFY(saved.wait());
        QCOMPARE(saved.first().first().toInt(), 321);
    }
    QTRY_COMPARE(m_server.requestsTo(checkPath()).size(), checks ? 2 : 0);
    if (checks) {
        QCOMPARE(m_server.requestsTo(checkPath()).first().form,
                 (FormMap{{"type", "0"}, {"name", "翡翠湖畔"}, {"buildingNo", "5栋"}, {"roomNo", "301"},
                          {"unitNo", ""}, {"lianmai", "1"}}));
    }
}

// Each row breaks its rule and every later one; only the first message shows.
void TestListingEntryForm::firstFailureOnly_data()
{
    QTest::addColumn<QStringList>("breaks");
    QTest::addColumn<QString>("message");
    const QStringList fromRoom{"room", "layout", "floor", "price", "area", "name"};
    QTest::newRow("community") << (QStringList{"community"} + fromRoom) << "请填写小区名";
    QTest::newRow("building") << (QStringList{"building"} + fromRoom) << "请填写楼栋号";
    QTest::newRow("room") << fromRoom << "请填写房号";
    QTest::newRow("layout") << QStringList(fromRoom.mid(1)) << "请填写户型";
    QTest::newRow("floor") << QStringList(fromRoom.mid(2)) << "请填写所在楼层";
    QTest::newRow("floor above total") << QStringList{"above", "price", "area", "name"} << "所在楼层不能大于总楼层";
    QTest::newRow("price") << QStringList(fromRoom.mid(3)) << "请填写价格";
    QTest::newRow("area") << QStringList(fromRoom.mid(4)) << "请填写面积";
    QTest::newRow("contact name") << QStringList{"name", "phone12"} << "联系人姓名不能为空";
    QTest::newRow("phone of 12") << QStringList{"phone12"} << "联系人号码不等于11位";
    QTest::newRow("phone of 11 with *") << QStringList{"star11"} << "联系人号码中不能包含*符号";
    QTest::newRow("phone of 13 with *") << QStringList{"star13"} << "联系人号码中不能包含*符号";
    QTest::newRow("second contact") << QStringList{"second"} << "联系人号码不等于11位";
    QTest::newRow("phone of 13") << QStringList{"phone13"} << "";
    QTest::newRow("equal floors") << QStringList{"equal"} << "";
}

void TestListingEntryForm::firstFailureOnly()
{
    QFETCH(QStringList, breaks);
    QFETCH(QString, message);
    auto *form = newForm<AddSaleHouseToBookWidget>();
    fillValid(form);
    if (breaks.contains("community"))
        chooseCommunity(form, {}, QString());
    if (breaks.contains("building"))
        chooseCommunity(form, {{"name", "翡翠湖畔"}, {"id", 12}}, QString());
    const QMap<QString, QPair<const char *, QString>> edits{
        {"room", {"roomNolineEdit", ""}},        {"floor", {"floorslineEdit", ""}},
        {"price", {"priceLineEdit", ""}},        {"area", {"builtupareaLineEdit", ""}},
        {"name", {"contactsLineEdit", ""}},      {"phone12", {"tellineEdit", "138123456789"}},
        {"phone13", {"tellineEdit", "138 1234 5678"}}, {"star11", {"tellineEdit", "138****5678"}},
        {"star13", {"tellineEdit", "138 **** 5678"}}};
    for (const QString &item : breaks) {
        if (edits.contains(item))
            setText(form, edits.value(item).first, edits.value(item).second);
    }
    if (breaks.contains("layout")) {
        for (const char *name : {"roomSpinBox", "hallSpinBox", "huxingweiSpinBox"})
            child<QSpinBox>(form, name)->setValue(0);
    }
    if (breaks.contains("above") || breaks.contains("equal")) {
        setText(form, "floorslineEdit", "5");
        setText(form, "allfloorslineEdit", breaks.contains("above") ? "4" : "5");
    }
    if (breaks.contains("second")) {
        child<QPushButton>(form, "addPeople_pushButton")->click();
        const auto names = form->findChildren<QLineEdit *>("contactsLineEdit");
        names.last()->setText("李先生");
        form->findChildren<QLineEdit *>("tellineEdit").last()->setText("1381234");
    }
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    submit();
    if (message.isEmpty()) {
        QVERIFY(saved.wait());
        QCOMPARE(m_alerts->count(), 0);
        return;
    }
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, message);
    QVERIFY(m_server.requestsTo(addPath()).isEmpty());
    QVERIFY(child<QPushButton>(form, "submitButton")->isEnabled());
}

void TestListingEntryForm::priceCalculation()
{
    auto *form = newForm<AddSaleHouseToBookWidget>();
    form->show();
    auto *price = child<QLineEdit>(form, "priceLineEdit");
    auto *unitPrice = child<QLineEdit>(form, "unitPriceLineEdit");

    // Without an area nothing is computed, and pressing into a price field says why.
    QTest::mouseClick(price, Qt::LeftButton);
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("请先填写面积！"));
    QTest::keyClicks(unitPrice, "15000");
    QVERIFY(price->text().isEmpty());

    setText(form, "builtupareaLineEdit", "100");
    unitPrice->clear();
    QTest::keyClicks(unitPrice, "15000");
    QCOMPARE(price->text(), QStringLiteral("150.00"));
    price->clear();
    QTest::keyClicks(price, "150");
    QCOMPARE(unitPrice->text(), QStringLiteral("15000"));

    // The rent has no unit price; its price stands alone.
    auto *rent = newForm<addRentHouseToBookWidget>();
    QVERIFY(!rent->findChild<QLineEdit *>("unitPriceLineEdit"));
    QTest::keyClicks(child<QLineEdit>(rent, "priceLineEdit"), "2500");
    QCOMPARE(child<QLineEdit>(rent, "priceLineEdit")->text(), QStringLiteral("2500"));
}

void TestListingEntryForm::addFormKeys_data()
{
    QTest::addColumn<bool>("rent");
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("sale") << false
                          << QStringList{"types", "name", "buildingNo", "roomNo", "district", "area", "address",
                                         "floors", "allfloors", "price", "builtuparea", "contacts", "renovation",
                                         "property", "houseType", "remark", "remarkshow", "garage", "havegarage",
                                         "tags", "toward", "keys", "havekeys", "seetime", "source", "traffic",
                                         "propertyquan", "stype", "sf", "unitNo", "room", "hall", "huxingwei",
                                         "dongid", "danyuanunit", "dongunit", "kitchen", "balcony", "communityid",
                                         "yinsifangwen"};
    QTest::newRow("rent") << true
                          << QStringList{"types", "name", "buildingNo", "roomNo", "district", "area", "address",
                                         "floors", "allfloors", "price", "builtuparea", "contacts", "renovation",
                                         "houseType", "remark", "remarkshow", "ruzhutime", "payway", "rentway",
                                         "tags", "peitao", "toward", "keys", "havekeys", "seetime", "source",
                                         "traffic", "stype", "sf", "unitNo", "zuunit", "room", "hall", "huxingwei",
                                         "dongid", "danyuanunit", "dongunit", "kitchen", "balcony", "communityid",
                                         "yinsifangwen"};
}

void TestListingEntryForm::addFormKeys()
{
    QFETCH(bool, rent);
    QFETCH(QStringList, keys);
    ListingEntryForm *form = rent ? static_cast<ListingEntryForm *>(newForm<addRentHouseToBookWidget>())
                                  : newForm<AddSaleHouseToBookWidget>();
    fillValid(form);
    // A building from the structure carries its id; the unit was typed (no id).
    HouseMsg msg;
    msg.community = {{"name", "翡翠湖畔"}, {"myid", 0}, {"id", 12}};
    msg.louDong = {"88", "5栋", "栋", false};
    msg.danYuan = {QString(), "2单元", "单元"};
    form->dealChooseMessage(msg);
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    submit();
    QVERIFY(saved.wait());
    const auto request = m_server.requestsTo(addPath()).value(0);
    QStringList posted;
    for (const QString &pair : QString::fromUtf8(request.body).split('&'))
        posted << QUrl::fromPercentEncoding(pair.section('=', 0, 0).toUtf8());
    QCOMPARE(posted, keys);
    QCOMPARE(request.form.value("types"), rent ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(request.form.value("dongid"), QStringLiteral("88"));
    QCOMPARE(request.form.value("communityid"), QStringLiteral("12"));
    QCOMPARE(request.form.value("stype"), QStringLiteral("0"));
    QCOMPARE(request.form.value("contacts"),
             QStringLiteral(R"([{"level":"","name":"王女士","phone":"13812345678","title":"先生"}])"));
    if (rent)
        QCOMPARE(request.form.value("zuunit"), QStringLiteral("元/月"));
}

void TestListingEntryForm::communityAndSourceReferences()
{
    auto *form = newForm<AddSaleHouseToBookWidget>();
    fillValid(form);
    const auto reference = [form] {
        FormMap map;
        for (const auto &pair : form->addPostForm()) {
            if (pair.first.contains("communityid") || pair.first.startsWith("source"))
                map.insert(pair.first, pair.second);
        }
        map.remove("source");
        return map;
    };
    chooseCommunity(form, {{"name", "A"}, {"myid", 7}, {"id", 12}});
    QCOMPARE(reference(), (FormMap{{"mycommunityid", "7"}}));
    chooseCommunity(form, {{"name", "A"}, {"myid", 0}, {"id", "c-12"}});
    QCOMPARE(reference(), (FormMap{{"scommunityid", "c-12"}}));
    form->setSourceData("55", QString(), 0);
    QCOMPARE(reference(), (FormMap{{"scommunityid", "c-12"}}));
    form->setSourceData("55", "20", 0);
    QCOMPARE(reference(), (FormMap{{"scommunityid", "c-12"}, {"sourceid", "55"}, {"sourcetype", "20"}}));
}

void TestListingEntryForm::editFormAndNoDuplicateCheck()
{
    setBookSetting("houserepeat", "5");
    auto *form = newForm<AddSaleHouseToBookWidget>(true);
    Record record;
    record.id = 77;
    record.mycommunityid = 9;
    record.name = "翡翠湖畔";
    record.buildingNo = "5栋";
    record.roomNo = "301";
    record.room = 3;
    record.floors = 5;
    record.allfloors = 18;
    record.price = 150;
    record.builtuparea = 100;
    record.housetype = "公寓";
    record.contacts = R"([{"name":"王女士","phone":"13812345678","level":"","title":"女士"}])";
    form->setHouseData(record);
    QCOMPARE(child<QPushButton>(form, "submitButton")->text(), QStringLiteral("编辑保存"));
    form->checkRepeat();
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    submit();
    QVERIFY(saved.wait());
    QCOMPARE(saved.first().first().toInt(), 77);
    const auto request = m_server.requestsTo(editPath()).value(0);
    QCOMPARE(request.form.value("myid"), QStringLiteral("77"));
    QCOMPARE(request.form.value("mycommunityid"), QStringLiteral("9"));
    QCOMPARE(request.form.value("housetype"), QStringLiteral("公寓"));
    QVERIFY(!request.form.contains("houseType"));
    QCOMPARE(request.form.value("ruzhutime"), QString());
    QVERIFY(request.form.contains("payway") && !request.form.contains("zuunit"));
    QVERIFY(m_server.requestsTo(checkPath()).isEmpty());
    QVERIFY(m_server.requestsTo(addPath()).isEmpty());
}

void TestListingEntryForm::reviewApprovesAndRejects()
{
    auto *form = newForm<addRentHouseToBookWidget>(true, true);
    QVERIFY(!form->findChild<QPushButton *>("submitButton"));
    Record record;
    record.id = 41;
    record.types = 1;
    form->setHouseData(record);
    fillValid(form);
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    child<QPushButton>(form, "pushButton_tongGuo")->click();
    QVERIFY(saved.wait());
    QCOMPARE(m_server.requestsTo(approvePath()).value(0).form.value("myid"), QStringLiteral("41"));
    QCOMPARE(m_server.requestsTo(approvePath()).value(0).form.value("zuunit"), QStringLiteral("元/月"));

    child<QPushButton>(form, "pushButton_boHui")->click();
    QTRY_VERIFY(m_alerts->openBox());
    QCOMPARE(m_alerts->last().text, QStringLiteral("您确定要驳回该房源吗？"));
    QVERIFY(m_alerts->last().buttons.contains(QStringLiteral("驳回")));
    QVERIFY(m_server.requestsTo(rejectPath()).isEmpty());
    m_alerts->openBox()->answer(AlertWidget::Sure);
    QVERIFY(saved.wait());
    QCOMPARE(m_server.requestsTo(rejectPath()).value(0).form, (FormMap{{"houseid", "41"}}));
}

void TestListingEntryForm::duplicateReplies_data()
{
    QTest::addColumn<bool>("rent");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("second");
    const QString same = "房源本中已存在相同房源（录入人：张三）";
    const QString like = "房源本中存在疑似重复房源，请核实";
    QTest::newRow("rent same") << true << same << "继续";
    QTest::newRow("rent alike") << true << like << "取消";
    QTest::newRow("sale same") << false << same << "取消";
}

void TestListingEntryForm::duplicateReplies()
{
    QFETCH(bool, rent);
    QFETCH(QString, message);
    QFETCH(QString, second);
    setBookSetting("houserepeat", "5");
    m_server.setReply(checkPath(), RecordingServer::envelope(200, QJsonObject{{"existed", true}, {"message", message},
                                                                              {"id", "916"}}));
    ListingEntryForm *form = rent ? static_cast<ListingEntryForm *>(newForm<addRentHouseToBookWidget>())
                                  : newForm<AddSaleHouseToBookWidget>();
    QSignalSpy view(form, &ListingEntryForm::viewListingRequested);
    fillValid(form);
    form->checkRepeat();
    QTRY_VERIFY(m_alerts->openBox());
    QCOMPARE(m_server.requestsTo(checkPath()).value(0).form.value("type"), rent ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(m_alerts->last().text, message);
    QVERIFY(m_alerts->last().buttons.contains(QStringLiteral("查看")));
    QVERIFY(m_alerts->last().buttons.contains(second));
    m_alerts->openBox()->answer(AlertWidget::Sure);
    QCOMPARE(view.count(), 1);
    QCOMPARE(view.first().first().toInt(), 916);
}

void TestListingEntryForm::fillFromOlderRecord()
{
    const QList<QPair<QString, QString>> words{{"简装", "简单装修"}, {"中装", "中等装修"}, {"豪装", "豪华装修"}, {"毛坯", "毛坯"}};
    for (const auto &word : words) {
        auto *form = newForm<AddSaleHouseToBookWidget>(true);
        Record record;
        record.id = 5;
        record.renovation = word.first;
        record.housetype = "住宅";
        record.hutype = "3室2厅1卫";
        record.tags = "满二,近地铁";
        record.price = 150;
        record.builtuparea = 100;
        form->setHouseData(record);
        QCOMPARE(child<QComboBox>(form, "comboBox_zhuangXiu")->currentText(), word.second);
        QCOMPARE(child<QLineEdit>(form, "unitPriceLineEdit")->text(), QStringLiteral("15000"));
        QCOMPARE(child<QComboBox>(form, "comboBox_houseType")->currentText(), QStringLiteral("普通住宅"));
        QCOMPARE(child<QSpinBox>(form, "roomSpinBox")->value(), 3);
        QCOMPARE(child<QSpinBox>(form, "hallSpinBox")->value(), 2);
        QCOMPARE(child<QSpinBox>(form, "huxingweiSpinBox")->value(), 1);
        const FormMap posted = [form] {
            FormMap map;
            for (const auto &pair : form->editPostForm())
                map.insert(pair.first, pair.second);
            return map;
        }();
        QCOMPARE(posted.value("renovation"), word.second);
        QCOMPARE(posted.value("tags"), QStringLiteral("满二,近地铁"));
    }
}

void TestListingEntryForm::hostileTextsArriveUnchanged()
{
    const QString hostile = QStringLiteral("O'Neil \"5\" & 50% + a=b; 😀") + QString(260, QChar(0x623F));
    auto *form = newForm<AddSaleHouseToBookWidget>();
    fillValid(form);
    chooseCommunity(form, {{"name", hostile}, {"id", 3}});
    child<QTextEdit>(form, "remarktextEdit")->setPlainText(hostile);
    setText(form, "adresslineEdit", hostile);
    setText(form, "contactsLineEdit", hostile);
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    submit();
    QVERIFY(saved.wait());
    const FormMap sent = m_server.requestsTo(addPath()).value(0).form;
    QCOMPARE(sent.value("name"), hostile);
    QCOMPARE(sent.value("remark"), hostile);
    QCOMPARE(sent.value("address"), hostile);
    const QJsonArray contacts = QJsonDocument::fromJson(sent.value("contacts").toUtf8()).array();
    QCOMPARE(contacts.first().toObject().value("name").toString(), hostile);
}

void TestListingEntryForm::serverFailureKeepsInput()
{
    m_alerts->answerWith(AlertWidget::Know);
    m_server.setReply(addPath(), RecordingServer::raw("oops", 500));
    auto *form = newForm<AddSaleHouseToBookWidget>();
    fillValid(form);
    child<QTextEdit>(form, "remarktextEdit")->setPlainText("南北通透");
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    auto *button = child<QPushButton>(form, "submitButton");
    button->click();
    QVERIFY(!button->isEnabled());
    QTRY_VERIFY(button->isEnabled());
    QCOMPARE(saved.count(), 0);
    QCOMPARE(m_server.requestsTo(addPath()).size(), 1);
    QCOMPARE(child<QLineEdit>(form, "roomNolineEdit")->text(), QStringLiteral("301"));
    QCOMPARE(child<QLineEdit>(form, "priceLineEdit")->text(), QStringLiteral("150"));
    QCOMPARE(child<QTextEdit>(form, "remarktextEdit")->toPlainText(), QStringLiteral("南北通透"));
    QCOMPARE(form->community().value("name").toString(), QStringLiteral("翡翠湖畔"));
    // The agent is told the save failed and that her input is kept.
    QTRY_VERIFY(m_alerts->last().text.startsWith(QStringLiteral("房源保存失败：")));
    QVERIFY(m_alerts->last().text.contains(QStringLiteral("已保留")));
}

void TestListingEntryForm::doubleClickPostsOnce()
{
    RecordingServer::Reply slow = RecordingServer::envelope(200, QJsonObject{{"id", 5}});
    slow.delayMs = 200;
    m_server.setReply(addPath(), slow);
    auto *form = newForm<AddSaleHouseToBookWidget>();
    fillValid(form);
    QSignalSpy saved(form, &ListingEntryForm::addHouseSuccess);
    form->sureButtonClick();
    form->sureButtonClick();
    QVERIFY(saved.wait());
    QCOMPARE(saved.count(), 1);
    QCOMPARE(m_server.requestsTo(addPath()).size(), 1);
}

void TestListingEntryForm::contactDisplayModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<bool>("ownerEnabled");
    QTest::newRow("0") << 0 << false << "radioButton_phoneSet_link_fangzhu" << true;
    QTest::newRow("1") << 1 << true << "radioButton_phoneSet_link_fangzhu" << true;
    QTest::newRow("2") << 2 << true << "radioButton_phoneSet_link_publisher" << false;
}

void TestListingEntryForm::contactDisplayModes()
{
    QFETCH(int, mode);
    QFETCH(bool, shown);
    QFETCH(QString, checked);
    QFETCH(bool, ownerEnabled);
    setBookSetting("bookset", QStringLiteral("{\"yinhao_mode\":%1}").arg(mode));
    auto *form = newForm<AddSaleHouseToBookWidget>();
    form->show();
    QCOMPARE(child<QWidget>(form, "widget_phoneSet")->isVisible(), shown);
    QVERIFY(form->findChild<QRadioButton *>(checked)->isChecked());
    QCOMPARE(child<QRadioButton>(form, "radioButton_phoneSet_link_fangzhu")->isEnabled(), ownerEnabled);
    child<QRadioButton>(form, "radioButton_phoneSet_link_fangzhu_yinhao")->setChecked(true);
    QCOMPARE(form->addPostForm().last(), qMakePair(QStringLiteral("yinsifangwen"), QStringLiteral("1")));
}

void TestListingEntryForm::lockedCommunityWithdrawsManualEntry()
{
    auto *form = newForm<addRentHouseToBookWidget>();
    chooseCommunity(form, {{"name", "翡翠湖畔"}, {"myid", 4}, {"id", 12}}, QString(), QString());
    form->dealSearchData({{"1", "1栋", "栋", false}, {"2", "2栋", "栋", false}});
    auto *buildings = child<QComboBox>(form, "comboBox_louDong");
    const auto items = [](QComboBox *combo) {
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    };
    QCOMPARE(items(buildings), (QStringList{"请选择", "1栋", "2栋", "手动添加"}));
    form->dealLockData(true, false);
    QCOMPARE(items(buildings), (QStringList{"请选择", "1栋", "2栋"}));
    buildings->setCurrentIndex(2);
    form->louDongChooseIndexClick();
    form->dealUnitData({{"7", "1单元", "单元"}});
    QCOMPARE(items(child<QComboBox>(form, "comboBox_danYuan")), (QStringList{"单元", "1单元", "手动添加"}));
    form->dealLockData(true, true);
    QCOMPARE(items(child<QComboBox>(form, "comboBox_danYuan")), (QStringList{"单元", "1单元"}));
    QCOMPARE(buildings->currentText(), QStringLiteral("2栋"));
}

void TestListingEntryForm::roomNumberLosesLeadingZero()
{
    auto *form = newForm<AddSaleHouseToBookWidget>();
    auto *room = child<QLineEdit>(form, "roomNolineEdit");
    QTest::keyClicks(room, "0301");
    QCOMPARE(room->text(), QStringLiteral("301"));
    room->setText(" 0 3 01");
    QCOMPARE(room->text(), QStringLiteral("301"));
    room->setText("1 01");
    QCOMPARE(room->text(), QStringLiteral("1 01"));
}

// A building picked in the chooser from a community with buildings of its own: the unit list
// is that building's (asked for by its id), not the numbered list of communities without.
void TestListingEntryForm::chosenBuildingBringsItsOwnUnits()
{
    const QString unitsPath = pathOf(Endpoints::instance().house_jinggeng_danyuanInfo);
    m_server.setReply(unitsPath, RecordingServer::envelope(200, QJsonArray{QJsonObject{{"id", 1006021}, {"name", "1"}, {"unit", "单元"}},
                                                                          QJsonObject{{"id", 1006022}, {"name", "2"}, {"unit", "单元"}}}));
    m_server.setReply(pathOf(Endpoints::instance().house_jinggeng_loudongInfo),
                      RecordingServer::envelope(200, QJsonArray{QJsonObject{{"id", 100601}, {"name", "1"}, {"unit", "栋"}},
                                                                QJsonObject{{"id", 100602}, {"name", "2"}, {"unit", "栋"}}}));
    auto *form = newForm<AddSaleHouseToBookWidget>();
    HouseMsg msg;
    msg.community = {{"name", "翡翠湖畔"}, {"myid", 1006}, {"id", 1006},
                     {"building", QVariantList{QVariantMap{{"id", 100601}, {"name", "1栋"}}, QVariantMap{{"id", 100602}, {"name", "2栋"}}}}};
    msg.louDong = {QStringLiteral("100602"), QStringLiteral("2栋"), QStringLiteral("栋"), false};
    msg.danYuan = {QStringLiteral("1006022"), QStringLiteral("2单元"), QStringLiteral("单元")};
    form->dealChooseMessage(msg);
    auto *units = child<QComboBox>(form, "comboBox_danYuan");
    const auto items = [units] {
        QStringList texts;
        for (int i = 0; i < units->count(); ++i)
            texts << units->itemText(i);
        return texts;
    };
    QTRY_COMPARE(items(), (QStringList{"单元", "1单元", "2单元", "手动添加"}));
    QCOMPARE(units->currentText(), QStringLiteral("2单元"));
    QCOMPARE(m_server.requestsTo(unitsPath).value(0).form.value("dongid"), QStringLiteral("100602"));
    QVERIFY(form->addPostForm().contains(qMakePair(QStringLiteral("unitid"), QStringLiteral("1006022"))));
}

QTEST_MAIN(TestListingEntryForm)
#include "tst_listingentryform.moc"
