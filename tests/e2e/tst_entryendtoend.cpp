// An agent's listings against the simulator, through the real forms: she enters a sale
// listing by picking its community, building, unit and room in the chooser, edits it from
// its detail window, approves a rent listing from the review list, and is warned when she
// enters the same room again. After every save the book is synced and the local store must
// hold exactly what was typed.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "datacenter.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/housedetailfirstpagewidget.h"
#include "detail/mysalehousedetailwidget.h"
#include "entry/exports.h"
#include "entry_forms/chooser/choosehouseloudongwidget.h"
#include "entry_forms/chooser/choosehousemessagestackwidget.h"
#include "entry_forms/chooser/choosehouseroomwidget.h"
#include "entry_forms/chooser/choosehouseunitwidget.h"
#include "entry_forms/chooser/choosexiaoquitemview.h"
#include "entry_forms/chooser/choosexiaoquwidget.h"
#include "entry_forms/listingentryform.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "net/endpoints.h"
#include "sql/basesqlobject.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"
#include "sql/housebookset_sqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/hovertablewidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTextEdit>
#include <QtTest>

using Record = HouseMessage_DataSqlTable::HouseMessageData;
using HouseMsg = ChooseHouseMessageStackWidget::HouseMsg;

namespace {

// A seeded community the agency keeps its own record of (myid > 0), whose search row lists
// its buildings with ids, without locks and outside the intensive-farming register.
constexpr int kCommunityId = 1006;
constexpr int kWait = 20000;

template <typename T>
T *child(QObject *parent, const QString &name)
{
    T *found = parent ? parent->findChild<T *>(name) : nullptr;
    if (!found)
        qWarning("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return found;
}

// The entry form now shown in edit mode or not (forms live in pop-ups of their own).
ListingEntryForm *openForm(bool edit)
{
    for (QWidget *w : QApplication::allWidgets()) {
        auto *form = qobject_cast<ListingEntryForm *>(w);
        if (form && form->isEdit() == edit && form->isVisible())
            return form;
    }
    return nullptr;
}

// What an agent types into a line edit, so the edit's own reactions run: digits key by key,
// other texts as an input method commits them.
void type(QLineEdit *edit, const QString &text)
{
    QVERIFY(edit);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    bool ascii = true;
    for (const QChar c : text)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        QTest::keyClicks(edit, text);
    else
        edit->insert(text);
    QCOMPARE(edit->text(), text);
}

void pick(QComboBox *combo, const QString &text)
{
    QVERIFY(combo);
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

// A remark with everything forms break on: quotes, &, %, +, = and emoji, about 300 characters.
QString hostileRemark()
{
    QString text = QStringLiteral("业主\"诚心\"出售 & 价格可谈 100% 满五唯一+学区 a=1&b=2 '单引号' 😀🏠 ");
    while (text.size() < 300)
        text += QStringLiteral("南北通透，%1楼采光好 & 近地铁 +50% ✨ ").arg(text.size());
    return text;
}

QStringList items(QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; combo && i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

QVariantMap firstContact(const QString &json)
{
    return QJsonDocument::fromJson(json.toUtf8()).array().first().toObject().toVariantMap();
}

} // namespace

class TestEntryEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void enterSaleListingThroughTheChooser();
    void editPriceAndRemarkFromTheDetailWindow();
    void approveRentListingFromTheReviewList();
    void sameRoomAgainShowsTheServersDuplicate();

private:
    // The search row of a community as the server answers it.
    QVariantMap serverCommunity(int id);
    // Runs the listing sync of the alliance's book to its end.
    void syncBook();
    Record stored(int id) { return HouseMessage_DataSqlTable(nullptr, true).getHouseData(id); }
    // Waits for a box with this text and buttons and answers it.
    void answerBox(const QString &text, const QStringList &buttons, AlertWidget::Answer answer);
    // Opens the chooser of the form and picks the community, then the building, unit and room
    // at these places of their lists; returns what the chooser handed to the form.
    HouseMsg chooseInWizard(ListingEntryForm *form, const QVariantMap &community, int building, int unit, int room);

    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    int m_saleId = 0;
    HouseMsg m_saleChoice;
    QStringList m_wizardUnits; // the unit step's list the last time the chooser was used
};

void TestEntryEndToEnd::initTestCase()
{
    m_server.reset(new AllianceServer(AllianceServer::Options()));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    HostFixture::signInAs(TestUser().company(101));
    DataCenter::CookieVar = QStringLiteral("qxphone=13800000001");
    QVERIFY(FirstBookDownload::startIfNeeded(true));
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded, 60000);
}

void TestEntryEndToEnd::cleanupTestCase()
{
    QTRY_VERIFY_WITH_TIMEOUT(!BaseSqlObject::isSyncRunning(true), kWait);
    m_alerts.reset();
    m_host.reset();
}

QVariantMap TestEntryEndToEnd::serverCommunity(int id)
{
    QNetworkAccessManager net;
    QNetworkRequest request(QUrl(Endpoints::instance().house_xiaoqu_search));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    // Nothing typed: the first communities by id.
    QNetworkReply *reply = net.post(request, QByteArray("key=&lianmai=1"));
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!done.wait(kWait))
        return {};
    const QByteArray body = reply->readAll();
    const QJsonArray rows = QJsonDocument::fromJson(body).object().value("data").toArray();
    if (rows.isEmpty())
        qWarning("community search answered %s", body.left(300).constData());
    reply->deleteLater();
    for (const QJsonValue &row : rows) {
        if (row.toObject().value("id").toInt() == id)
            return row.toObject().toVariantMap();
    }
    return {};
}

void TestEntryEndToEnd::syncBook()
{
    // A sync the form started after saving runs first; a second one would step aside.
    QTRY_VERIFY_WITH_TIMEOUT(!BaseSqlObject::isSyncRunning(true), kWait);
    BaseSqlObject sync(nullptr, true);
    QSignalSpy finished(&sync, &BaseSqlObject::loadDataFinish);
    sync.download_house();
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() > 0, kWait);
    QCOMPARE(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded);
}

void TestEntryEndToEnd::answerBox(const QString &text, const QStringList &buttons, AlertWidget::Answer answer)
{
    QTRY_VERIFY2_WITH_TIMEOUT(m_alerts->openBox() && m_alerts->openBox()->text() == text,
                              qPrintable(m_alerts->texts().join(QLatin1Char('|'))), kWait);
    QStringList shown = m_alerts->last().buttons;
    QStringList expected = buttons;
    shown.sort();
    expected.sort();
    QCOMPARE(shown, expected);
    m_alerts->openBox()->answer(answer);
}

HouseMsg TestEntryEndToEnd::chooseInWizard(ListingEntryForm *form, const QVariantMap &community, int building,
                                           int unit, int room)
{
    HouseMsg chosen;
    child<QPushButton>(form, QStringLiteral("xiaoQuChooseButton"))->click();
    QPointer<ChooseHouseMessageStackWidget> chooser =
        child<ChooseHouseMessageStackWidget>(form, QStringLiteral("houseChooser"));
    if (!chooser)
        return chosen;
    connect(chooser, &ChooseHouseMessageStackWidget::chooseSuccess, this, [&chosen](const HouseMsg &msg) { chosen = msg; });

    type(child<QLineEdit>(chooser->xiaoQuPage(), QStringLiteral("lineEdit_search")), community.value("name").toString());
    child<QPushButton>(chooser->xiaoQuPage(), QStringLiteral("pushButton_search"))->click();
    ChooseXiaoQuItemView *row = nullptr;
    const auto findRow = [&] {
        for (auto *view : chooser->xiaoQuPage()->findChildren<ChooseXiaoQuItemView *>()) {
            if (!view->isManual() && view->community().value("id").toInt() == community.value("id").toInt())
                row = view;
        }
        return row != nullptr;
    };
    if (!QTest::qWaitFor(findRow, kWait))
        return chosen;
    QTest::mouseClick(row, Qt::LeftButton);

    const auto clickTile = [&](StructureListPage *page, int step, const QString &prefix, int index) {
        if (!QTest::qWaitFor([&] { return chooser->currentPage() == step && page->shownNames().size() > index
                                          && !page->isLoading(); }, kWait)) {
            qWarning("step %d shows %s", step, qPrintable(page->shownNames().join(QLatin1Char(','))));
            return false;
        }
        if (page == chooser->unitPage())
            m_wizardUnits = page->shownNames();
        child<QPushButton>(page, QStringLiteral("%1_%2").arg(prefix).arg(index))->click();
        return true;
    };
    if (!clickTile(chooser->louDongPage(), 1, QStringLiteral("loudong"), building)
        || !clickTile(chooser->unitPage(), 2, QStringLiteral("danyuan"), unit)
        || !clickTile(chooser->roomPage(), 3, QStringLiteral("room"), room))
        return chosen;
    if (!QTest::qWaitFor([&] { return chooser.isNull(); }, kWait))
        delete chooser.data(); // its hand-over must not outlive this function
    return chosen;
}

void TestEntryEndToEnd::enterSaleListingThroughTheChooser()
{
    const QVariantMap community = serverCommunity(kCommunityId);
    QVERIFY(!community.value("name").toString().isEmpty());
    QVERIFY(community.value("myid").toInt() > 0);

    addNewSaleHouse(m_host->mainWindow());
    QPointer<ListingEntryForm> form;
    QTRY_VERIFY_WITH_TIMEOUT((form = openForm(false)), kWait);
    m_saleChoice = chooseInWizard(form, community, 1, 1, 3);
    const HouseMsg &choice = m_saleChoice;
    QVERIFY(!choice.room.name.isEmpty());
    QVERIFY(choice.louDong.id.toInt() > 0 && choice.danYuan.id.toInt() > 0 && choice.room.id.toInt() > 0);

    // The form shows what was picked, and the community's place.
    QTRY_COMPARE_WITH_TIMEOUT(child<QComboBox>(form, "comboBox_louDong")->currentText(), choice.louDong.name, kWait);
    QCOMPARE(child<QComboBox>(form, "comboBox_danYuan")->currentText(), choice.danYuan.name);
    // The unit list is the building's, as the chooser showed it.
    const QStringList unitChoices = QStringList{QStringLiteral("单元")} + m_wizardUnits + QStringList{QStringLiteral("手动添加")};
    QTRY_COMPARE_WITH_TIMEOUT(items(child<QComboBox>(form, "comboBox_danYuan")), unitChoices, kWait);
    QCOMPARE(child<QLineEdit>(form, "roomNolineEdit")->text(), choice.room.name);
    QCOMPARE(child<QPushButton>(form, "xiaoQuChooseButton")->text(), community.value("name").toString());

    child<QSpinBox>(form, "roomSpinBox")->setValue(3);
    child<QSpinBox>(form, "hallSpinBox")->setValue(2);
    child<QSpinBox>(form, "huxingweiSpinBox")->setValue(1);
    child<QSpinBox>(form, "kitchenSpinBox")->setValue(1);
    child<QSpinBox>(form, "balconySpinBox")->setValue(2);
    type(child<QLineEdit>(form, "floorslineEdit"), "7");
    type(child<QLineEdit>(form, "allfloorslineEdit"), "18");
    type(child<QLineEdit>(form, "builtupareaLineEdit"), "89.6");
    type(child<QLineEdit>(form, "priceLineEdit"), "215");
    // 215 万 over 89.6 m² is 23995.5 元/m².
    QCOMPARE(child<QLineEdit>(form, "unitPriceLineEdit")->text(), QStringLiteral("23996"));
    pick(child<QComboBox>(form, "comboBox_zhuangXiu"), QStringLiteral("毛坯"));
    pick(child<QComboBox>(form, "comboBox_Orientate"), QStringLiteral("南北"));
    child<QCheckBox>(form, "checkBox_key")->click();
    type(child<QLineEdit>(form, "keysLineEdit"), QStringLiteral("物业\"前台\" & 保安室 100%+1"));
    child<QPushButton>(form, "remark_pushButton")->click();
    const QString remark = hostileRemark();
    child<QTextEdit>(form, "remarktextEdit")->setPlainText(remark);
    const QString contactName = QStringLiteral("王\"大姐\" & 'Lee'");
    type(child<QLineEdit>(form, "contactsLineEdit"), contactName);
    type(child<QLineEdit>(form, "tellineEdit"), QStringLiteral("13912345678"));

    QSignalSpy saved(form.data(), &ListingEntryForm::addHouseSuccess);
    QCOMPARE(child<QPushButton>(form, "submitButton")->text(), QStringLiteral("提交"));
    child<QPushButton>(form, "submitButton")->click();
    QTRY_COMPARE_WITH_TIMEOUT(saved.count(), 1, kWait);
    m_saleId = saved.first().first().toInt();
    QVERIFY(m_saleId > 0);
    answerBox(QStringLiteral("出售房源已成功添加到房源本，是否查看?"), {QStringLiteral("查看"), QStringLiteral("我知道了")},
              AlertWidget::Cancle);
    QTRY_VERIFY_WITH_TIMEOUT(form.isNull() || !form->isVisible(), kWait);

    syncBook();
    const Record r = stored(m_saleId);
    QCOMPARE(r.id, m_saleId);
    QCOMPARE(r.types, 0);
    QCOMPARE(r.name, community.value("name").toString());
    QCOMPARE(r.district, community.value("districtname").toString());
    QCOMPARE(r.area, community.value("areaname").toString());
    QCOMPARE(r.address, community.value("address").toString());
    QCOMPARE(r.mycommunityid, kCommunityId);
    QCOMPARE(r.buildingNo, choice.louDong.name);
    QCOMPARE(r.unitNo, choice.danYuan.name);
    QCOMPARE(r.roomNo, choice.room.name);
    QCOMPARE(r.dongunit, choice.louDong.unit);
    QCOMPARE(r.danyuanunit, choice.danYuan.unit);
    QCOMPARE(r.dongid, choice.louDong.id.toInt());
    QCOMPARE(r.unitid, choice.danYuan.id.toInt());
    QCOMPARE(r.roomid, choice.room.id.toInt());
    QCOMPARE(r.floors, 7);
    QCOMPARE(r.allfloors, 18);
    QCOMPARE(r.builtuparea, 89.6);
    QCOMPARE(r.price, 215.0);
    QCOMPARE(r.unitprice, 23996);
    QCOMPARE(r.room, 3);
    QCOMPARE(r.hall, 2);
    QCOMPARE(r.huxingwei, 1);
    QCOMPARE(r.kitchen, 1);
    QCOMPARE(r.balcony, 2);
    QCOMPARE(r.renovation, QStringLiteral("毛坯"));
    QCOMPARE(r.toward, QStringLiteral("南北"));
    QCOMPARE(r.havekeys, 1);
    QCOMPARE(r.keys, QStringLiteral("物业\"前台\" & 保安室 100%+1"));
    QCOMPARE(r.remark, remark);
    QCOMPARE(firstContact(r.contacts).value("name").toString(), contactName);
    QCOMPARE(firstContact(r.contacts).value("phone").toString(), QStringLiteral("13912345678"));
    QCOMPARE(r.shenhestatus, 1);
}

void TestEntryEndToEnd::editPriceAndRemarkFromTheDetailWindow()
{
    QVERIFY2(m_saleId > 0, "needs the listing entered before");
    const Record before = stored(m_saleId);

    loadHouseBookDetail(m_host->mainWindow(), m_saleId, 1, 1, nullptr, nullptr);
    HouseBookMessageDetailWidget *shell = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((shell = m_host->mainWindow()->findChild<HouseBookMessageDetailWidget *>()), kWait);
    QTRY_VERIFY_WITH_TIMEOUT(shell->detailWindow() && shell->detailWindow()->firstPage(), kWait);
    HouseDetailFirstPageWidget *first = shell->detailWindow()->firstPage();
    QTRY_COMPARE_WITH_TIMEOUT(first->record().id, m_saleId, kWait);

    // 操作 ▼ → 编辑
    auto *menuButton = child<QPushButton>(first, "pushButton_menu");
    QTRY_VERIFY_WITH_TIMEOUT(menuButton->isVisible(), kWait);
    menuButton->click();
    auto *menu = child<QMenu>(first, "operationMenu");
    QVERIFY(menu);
    QAction *edit = nullptr;
    for (QAction *action : menu->actions()) {
        if (action->text() == QStringLiteral("编辑"))
            edit = action;
    }
    QVERIFY(edit);
    menu->close();
    edit->trigger();

    QPointer<ListingEntryForm> form;
    QTRY_VERIFY_WITH_TIMEOUT((form = openForm(true)), kWait);
    QCOMPARE(form->houseData().id, m_saleId);
    auto *submit = child<QPushButton>(form, "submitButton");
    QCOMPARE(submit->text(), QStringLiteral("编辑保存"));
    type(child<QLineEdit>(form, "priceLineEdit"), "198.5");
    const QString remark = QStringLiteral("降价急售 \"当天\" 可看 & 再议 5%+ 🔑");
    child<QTextEdit>(form, "remarktextEdit")->setPlainText(remark);
    submit->click();
    answerBox(QStringLiteral("修改房源成功！"), {QStringLiteral("我知道了")}, AlertWidget::Know);
    QTRY_VERIFY_WITH_TIMEOUT(form.isNull() || !form->isVisible(), kWait);

    syncBook();
    Record after = stored(m_saleId);
    QCOMPARE(after.price, 198.5);
    QCOMPARE(after.unitprice, qRound(198.5 * 10000 / 89.6));
    QCOMPARE(after.remark, remark);
    // Nothing else the agent left alone has moved.
    Record expected = before;
    expected.price = after.price;
    expected.unitprice = after.unitprice;
    expected.remark = after.remark;
    const auto facts = [](const Record &x) {
        return QVariantList{x.types, x.name, x.buildingNo, x.unitNo, x.roomNo, x.dongid, x.unitid, x.roomid,
                            x.dongunit, x.danyuanunit, x.mycommunityid, x.district, x.area, x.address, x.floors,
                            x.allfloors, x.builtuparea, x.room, x.hall, x.huxingwei, x.kitchen, x.balcony,
                            x.renovation, x.toward, x.havekeys, x.keys, x.contacts, x.price, x.unitprice, x.remark};
    };
    QCOMPARE(facts(after), facts(expected));
    emit shell->closeWidget();
}

void TestEntryEndToEnd::approveRentListingFromTheReviewList()
{
    QStackedWidget *stack = nullptr;
    HouseBookListWidget *page = nullptr;
    loadNeedReviewHouseList(m_host->mainWindow(), &stack, &page, 1);
    QVERIFY(page);
    QTRY_VERIFY_WITH_TIMEOUT(!page->listings().isEmpty(), kWait);
    const HouseBookListWidget::Record waiting = page->listings().first();
    QCOMPARE(waiting.types, 1);
    QCOMPARE(waiting.shenhestatus, 1);
    const Record before = stored(waiting.id);

    // A click on a listing awaiting review opens its review form.
    emit child<HoverTableWidget>(page, "tableWidget")->clickRowIndex(0);
    QPointer<ListingEntryForm> form;
    QTRY_VERIFY_WITH_TIMEOUT((form = openForm(true)), kWait);
    QVERIFY(form->isReview());
    QCOMPARE(form->houseData().id, waiting.id);
    child<QPushButton>(form, "pushButton_tongGuo")->click();
    answerBox(QStringLiteral("审核房源成功！"), {QStringLiteral("我知道了")}, AlertWidget::Know);
    QTRY_VERIFY_WITH_TIMEOUT(form.isNull() || !form->isVisible(), kWait);

    syncBook();
    const Record after = stored(waiting.id);
    QCOMPARE(after.shenhestatus, 2);
    QCOMPARE(after.housestatus, 1);
    // Facilities and tags are sets: the chooser lists them in its own order.
    const auto set = [](const QString &list) {
        QStringList items = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
        items.sort();
        return items;
    };
    // The form writes each contact in full (grade and title too); name and phone stay.
    const auto people = [](const QString &json) {
        QStringList out;
        for (const QJsonValue &c : QJsonDocument::fromJson(json.toUtf8()).array())
            out << c.toObject().value("name").toString() + QLatin1Char('|') + c.toObject().value("phone").toString();
        return out;
    };
    const auto facts = [&set, &people](const Record &x) {
        return QVariantList{x.types, x.name, x.buildingNo, x.unitNo, x.roomNo, x.district, x.area, x.address,
                            x.floors, x.allfloors, x.builtuparea, x.price, x.zuunit, x.room, x.hall, x.huxingwei,
                            x.renovation, x.housetype, x.toward, x.payway, x.rentway, x.ruzhutime, set(x.peitao),
                            set(x.tags), x.havekeys, x.keys, x.remark, people(x.contacts)};
    };
    // Older decoration and house-type words come back as the current choices the form offers.
    Record expected = before;
    expected.renovation = ListingChoices::currentDecoration(before.renovation);
    expected.housetype = ListingChoices::currentHouseType(before.housetype);
    QCOMPARE(facts(after), facts(expected));
}

void TestEntryEndToEnd::sameRoomAgainShowsTheServersDuplicate()
{
    QVERIFY2(m_saleId > 0, "needs the listing entered before");
    // The company checks new listings for the same community, building and room.
    QVERIFY(HouseBookSet_SqlTable(nullptr, true).setValue(QStringLiteral("houserepeat"), QStringLiteral("1,5")));
    const Record existing = stored(m_saleId);

    addNewSaleHouse(m_host->mainWindow());
    QPointer<ListingEntryForm> form;
    QTRY_VERIFY_WITH_TIMEOUT((form = openForm(false)), kWait);
    m_alerts->clear();
    chooseInWizard(form, serverCommunity(kCommunityId), 1, 1, 3);
    QTRY_VERIFY_WITH_TIMEOUT(m_alerts->count() > 0, kWait);
    const AlertRecord box = m_alerts->last();
    QVERIFY2(box.text.contains(QStringLiteral("相同")), qPrintable(box.text));
    QStringList buttons = box.buttons;
    buttons.sort();
    QCOMPARE(buttons, (QStringList{QStringLiteral("取消"), QStringLiteral("查看")}));
    QCOMPARE(existing.roomNo, m_saleChoice.room.name);
    m_alerts->openBox()->answer(AlertWidget::Cancle);
    form->window()->close();
}

QTEST_MAIN(TestEntryEndToEnd)
#include "tst_entryendtoend.moc"
