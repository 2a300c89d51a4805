// Portal pushes against the simulator after a first sync: a listing that passes the checks
// reaches XinfuLi and 58 with the values the agency has for it; a listing whose community has
// no map position is refused until the agent marks the community with the position editor;
// a pushed listing marked sold on the list page is taken off XinfuLi with the status as reason.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "customtabwidget.h"
#include "datacenter.h"
#include "entry/exports.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "portal/housebook58anxuanpushobject.h"
#include "portal/housebookxinfulipushobject.h"
#include "sql/booksyncstatus.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/firstbookdownload.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/hovertablewidget.h"

#include <QAction>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrlQuery>
#include <QtTest>

#include <functional>

namespace {

const QString kManager = QStringLiteral("13800000001");
constexpr bool kAllianceBook = true;

using Listing = HouseMessage_DataSqlTable::HouseMessageData;
using Community = CommunityMessage_DataSqlTable::ListData;

QJsonValue jsonOf(const QVariant &text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text.toString().toUtf8());
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}

double numberOf(const QVariant &v)
{
    return v.toString().trimmed().toDouble();
}

// The community a portal may take: on the map, built in a believable year, not refused by
// XinfuLi for its company.
bool portalReady(const Community &c)
{
    const int year = c.years.left(4).toInt();
    return c.lng.toDouble() != 0 && c.lat.toDouble() != 0 && year > 1900 && year <= QDate::currentDate().year();
}

// An entry of the menu or of its submenus.
QAction *actionNamed(const QMenu *menu, const QString &text)
{
    for (QAction *a : menu->actions()) {
        if (a->text() == text)
            return a;
        if (QAction *inner = a->menu() ? actionNamed(a->menu(), text) : nullptr)
            return inner;
    }
    return nullptr;
}

} // namespace

class TestPortalEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void pushedRecordsCarryTheListing();
    void unmarkedCommunityRefusedUntilMarked();
    void soldListingTakenOffXinfuLi();

private:
    // A synced listing of the alliance book the predicate takes, not used by another case.
    Listing pickListing(const std::function<bool(const Listing &, const Community &)> &take);
    Community communityOf(const Listing &l) const
    {
        return CommunityMessage_DataSqlTable(nullptr, kAllianceBook).getCommunityData(l.mycommunityid);
    }
    // A listing XinfuLi takes, as the simulator has it: its company signed up, its agent
    // certified, an entrustment code.
    bool xinfuLiTakes(int id);
    QJsonObject ask(const QString &root, const QString &path, const QVariantMap &form);
    // The promotion photos the agent chose: a floor plan, three indoor photos (the second the
    // cover) and an outside one; their addresses.
    QStringList choosePromotionPhotos(int id, QString *head);
    // Runs a push to its end; true when it succeeded.
    bool push(PortalPushBase *object, const std::function<void()> &start);

    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QPointer<HouseBookListWidget> m_list;
    QSet<int> m_used;
};

void TestPortalEndToEnd::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 400;
    options.communities = 40;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());

    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_host->signInAs(TestUser().company(101).jointSaleManager());
    DataCenter::CookieVar = QStringLiteral("qxphone=") + kManager;
    QVERIFY(FirstBookDownload::startIfNeeded(kAllianceBook));
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(kAllianceBook), BookSyncStatus::Succeeded, 60000);

    auto *tabs = new CustomTabWidget(m_host->mainWindow());
    loadHouseListWidget(m_host->mainWindow(), &tabs, &m_list, 0, 0);
    QVERIFY(m_list);
    QTRY_VERIFY_WITH_TIMEOUT(!m_list->listings().isEmpty(), 10000);
}

void TestPortalEndToEnd::cleanupTestCase()
{
    delete m_list;
    m_alerts.reset();
    m_host.reset();
}

void TestPortalEndToEnd::cleanup()
{
    m_alerts->leaveOpen();
    m_alerts->clear();
}

Listing TestPortalEndToEnd::pickListing(const std::function<bool(const Listing &, const Community &)> &take)
{
    HouseMessage_DataSqlTable store(nullptr, kAllianceBook);
    for (int id = 1; id <= m_server->options().listings; ++id) {
        const Listing l = store.getHouseData(id);
        if (l.id > 0 && !m_used.contains(id) && take(l, communityOf(l))) {
            m_used.insert(id);
            return l;
        }
    }
    return Listing();
}

QJsonObject TestPortalEndToEnd::ask(const QString &root, const QString &path, const QVariantMap &form)
{
    QUrlQuery query;
    for (auto it = form.cbegin(); it != form.cend(); ++it)
        query.addQueryItem(it.key(), QString::fromUtf8(QUrl::toPercentEncoding(it.value().toString())));
    QNetworkAccessManager nam;
    QNetworkRequest request{QUrl(m_server->rootUrl(root) + path)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    request.setRawHeader("qxphone", kManager.toUtf8());
    QScopedPointer<QNetworkReply> reply(nam.post(request, query.toString(QUrl::FullyEncoded).toUtf8()));
    QSignalSpy done(reply.data(), &QNetworkReply::finished);
    if (!reply->isFinished())
        done.wait(10000);
    return QJsonDocument::fromJson(reply->readAll()).object();
}

bool TestPortalEndToEnd::xinfuLiTakes(int id)
{
    const QJsonObject status = ask(QStringLiteral("web"), QStringLiteral("VtApp/housestatus"), {{"house_id", id}, {"companyid", 101}});
    const QJsonObject info = ask(QStringLiteral("soft"), QStringLiteral("search/xinfuli/info"), {{"houseid", id}})
                                 .value(QStringLiteral("data")).toObject();
    return status.value(QStringLiteral("data")).toObject().value(QStringLiteral("housestatus")).toInt() == 1
        && !info.value(QStringLiteral("realtor")).toObject().value(QStringLiteral("certNo")).toString().isEmpty()
        && !info.value(QStringLiteral("entrustAgreementNo")).toString().isEmpty();
}

QStringList TestPortalEndToEnd::choosePromotionPhotos(int id, QString *head)
{
    QJsonArray pic;
    QStringList urls;
    const QList<int> types{2, 1, 1, 1, 3};
    for (int k = 0; k < types.size(); ++k) {
        const QString url = QStringLiteral("%1/files/photos/%2.jpg").arg(m_server->baseUrl()).arg(k + 1);
        pic.append(QJsonObject{{"url", url}, {"type", types.at(k)}, {"frist", k == 2 ? 1 : 0}});
        urls << url;
    }
    *head = urls.at(2);
    const QJsonObject answer = ask(QStringLiteral("app"), QStringLiteral("housebook2/housebookeditdes"),
                                   {{"id", id}, {"pic", QString::fromUtf8(QJsonDocument(pic).toJson(QJsonDocument::Compact))},
                                    {"lianmai", 1}});
    return answer.value(QStringLiteral("code")).toInt() == 200 ? urls : QStringList();
}

bool TestPortalEndToEnd::push(PortalPushBase *object, const std::function<void()> &start)
{
    QSignalSpy succeeded(object, &PortalPushBase::pushSuccess);
    QSignalSpy finished(object, &PortalPushBase::finished);
    start();
    return (finished.count() > 0 || finished.wait(30000)) && succeeded.count() == 1;
}

// Every field of both records that the agency holds a value for carries that value.
void TestPortalEndToEnd::pushedRecordsCarryTheListing()
{
    const Listing l = pickListing([this](const Listing &l, const Community &c) {
        return l.types == 0 && portalReady(c) && !l.contacts.isEmpty() && xinfuLiTakes(l.id);
    });
    QVERIFY(l.id > 0);
    const Community c = communityOf(l);
    QString head;
    const QStringList photos = choosePromotionPhotos(l.id, &head);
    QCOMPARE(photos.size(), 5);
    const QJsonObject owner = QJsonDocument::fromJson(l.contacts.toUtf8()).array().first().toObject();
    const QJsonObject info = ask(QStringLiteral("soft"), QStringLiteral("search/xinfuli/info"), {{"houseid", l.id}})
                                 .value(QStringLiteral("data")).toObject();

    QScopedPointer<HouseBookXinfuLiPushObject> xinfuLi(new HouseBookXinfuLiPushObject(this));
    QVERIFY2(push(xinfuLi.data(), [&] { xinfuLi->pushHouse(l.id); }), qPrintable(m_alerts->texts().join(QLatin1Char('|'))));
    const QVariantMap xfl = m_server->portalRecord(QStringLiteral("xinfuli"), l.id);
    QCOMPARE(xfl.value(QStringLiteral("status")).toInt(), 1);
    const QVariantMap x = xfl.value(QStringLiteral("form")).toMap();
    QCOMPARE(x.value(QStringLiteral("house_id")).toInt(), l.id);
    QCOMPARE(x.value(QStringLiteral("companyid")).toInt(), 101);
    QCOMPARE(x.value(QStringLiteral("name")).toString(), c.name);
    QCOMPARE(x.value(QStringLiteral("district_name")).toString(), l.district);
    QCOMPARE(x.value(QStringLiteral("area_name")).toString(), l.area);
    QCOMPARE(x.value(QStringLiteral("general_address")).toString(), c.address);
    QCOMPARE(numberOf(x.value(QStringLiteral("baidu_longitude"))), c.lng.toDouble());
    QCOMPARE(numberOf(x.value(QStringLiteral("baidu_latitude"))), c.lat.toDouble());
    QCOMPARE(numberOf(x.value(QStringLiteral("squaremeter"))), l.builtuparea);
    QCOMPARE(numberOf(x.value(QStringLiteral("floor"))), double(l.floors));
    QCOMPARE(numberOf(x.value(QStringLiteral("total_floor"))), double(l.allfloors));
    QCOMPARE(numberOf(x.value(QStringLiteral("floor_plan_room"))), double(l.room));
    QCOMPARE(numberOf(x.value(QStringLiteral("floor_plan_hall"))), double(l.hall));
    QCOMPARE(numberOf(x.value(QStringLiteral("pricing"))), l.price);
    const QMap<QString, QString> texts{{"floorplan_towards", l.toward}, {"decoration_type", l.renovation},
                                       {"building_number", l.buildingNo}, {"unit_number", l.unitNo}, {"house_number", l.roomNo}};
    for (auto it = texts.cbegin(); it != texts.cend(); ++it)
        QCOMPARE(x.value(it.key()).toString(), it.value());
    QCOMPARE(x.value(QStringLiteral("built_year")).toString().left(4), c.years.left(4));
    const QJsonArray images = jsonOf(x.value(QStringLiteral("house_image"))).toArray();
    QCOMPARE(images.size(), photos.size());
    QStringList heads;
    for (const QJsonValue &v : images)
        if (v.toObject().value(QStringLiteral("is_head")).toVariant().toInt() == 1)
            heads << v.toObject().value(QStringLiteral("image_uri")).toString();
    QCOMPARE(heads, QStringList{head});
    const QJsonObject houseOwner = jsonOf(x.value(QStringLiteral("house_owner"))).toObject();
    QCOMPARE(houseOwner.value(QStringLiteral("house_owner_name")).toString(), owner.value(QStringLiteral("name")).toString());
    QCOMPARE(houseOwner.value(QStringLiteral("house_owner_phone")).toString(), owner.value(QStringLiteral("phone")).toString());
    const QJsonObject realtor = jsonOf(x.value(QStringLiteral("house_realtor"))).toObject();
    QVERIFY(!realtor.value(QStringLiteral("certNo")).toString().isEmpty());
    QCOMPARE(realtor.value(QStringLiteral("certNo")), info.value(QStringLiteral("realtor")).toObject().value(QStringLiteral("certNo")));
    QCOMPARE(x.value(QStringLiteral("weituo_code")).toString(), info.value(QStringLiteral("entrustAgreementNo")).toString());

    QScopedPointer<HouseBook58AnXuanPushObject> wuba(new HouseBook58AnXuanPushObject(this));
    QVERIFY2(push(wuba.data(), [&] { wuba->pushHouse(l.id); }), qPrintable(m_alerts->texts().join(QLatin1Char('|'))));
    const QVariantMap community = m_server->portalRecord(QStringLiteral("58xiaoqu"), c.id).value(QStringLiteral("form")).toMap();
    QCOMPARE(community.value(QStringLiteral("communityName")).toString(), c.name);
    QCOMPARE(community.value(QStringLiteral("districtName")).toString(), l.district);
    QCOMPARE(community.value(QStringLiteral("communityAddress")).toString(), c.address);
    QCOMPARE(numberOf(community.value(QStringLiteral("baiduLng"))), c.lng.toDouble());
    QCOMPARE(numberOf(community.value(QStringLiteral("baiduLat"))), c.lat.toDouble());
    const QVariantMap w = m_server->portalRecord(QStringLiteral("58"), l.id).value(QStringLiteral("form")).toMap();
    QCOMPARE(w.value(QStringLiteral("bianhao")).toString(), QString::number(l.id));
    QCOMPARE(w.value(QStringLiteral("cateid")).toString(), QStringLiteral("12"));
    QCOMPARE(w.value(QStringLiteral("companyid")).toString(), QStringLiteral("101"));
    QCOMPARE(w.value(QStringLiteral("ownerCommId")).toString(), QStringLiteral("58c%1").arg(c.id));
    QCOMPARE(numberOf(w.value(QStringLiteral("mianji"))), l.builtuparea);
    QCOMPARE(numberOf(w.value(QStringLiteral("suozailouceng"))), double(l.floors));
    QCOMPARE(numberOf(w.value(QStringLiteral("zonglouceng"))), double(l.allfloors));
    QCOMPARE(numberOf(w.value(QStringLiteral("ting"))), double(l.hall));
    QCOMPARE(numberOf(w.value(QStringLiteral("jiage"))), l.price);
    QCOMPARE(numberOf(w.value(QStringLiteral("kitchen"))), double(l.kitchen));
    QCOMPARE(numberOf(w.value(QStringLiteral("balcony"))), double(l.balcony));
    QCOMPARE(w.value(QStringLiteral("chaoxiang")).toString(), l.toward);
    QCOMPARE(w.value(QStringLiteral("zhuangxiuqingkuang")).toString(), l.renovation);
    QCOMPARE(w.value(QStringLiteral("jianzhuniandai")).toString().left(4), c.years.left(4));
    const QJsonArray fy = jsonOf(w.value(QStringLiteral("data_fy"))).toArray();
    QCOMPARE(fy.size(), photos.size());
    const QString fyText = w.value(QStringLiteral("data_fy")).toString();
    for (const QString &url : photos)
        QVERIFY2(fyText.contains(url), qPrintable(url));
    const QJsonObject content = jsonOf(w.value(QStringLiteral("content"))).toObject();
    QCOMPARE(content.value(QStringLiteral("ownerCommId")).toString(), w.value(QStringLiteral("ownerCommId")).toString());
}

// 58 refuses a listing of an unmarked community and offers the position editor; the saved
// position reaches the community service and the local record, and the next push passes.
void TestPortalEndToEnd::unmarkedCommunityRefusedUntilMarked()
{
    const Listing l = pickListing([](const Listing &, const Community &c) {
        const int year = c.years.left(4).toInt();
        return c.id > 0 && c.lng.toDouble() == 0 && year > 1900 && year <= QDate::currentDate().year();
    });
    QVERIFY(l.id > 0);
    QString head;
    QCOMPARE(choosePromotionPhotos(l.id, &head).size(), 5);
    const QString refusal = QStringLiteral("您推送的房源所在小区未标注地图位置，请您标注好小区位置后再推送！");

    m_alerts->answerWith(AlertWidget::Sure);  // "前往标注"
    QScopedPointer<HouseBook58AnXuanPushObject> first(new HouseBook58AnXuanPushObject(this));
    QSignalSpy firstFinished(first.data(), &PortalPushBase::finished);
    first->pushHouse(l.id);
    QTRY_VERIFY_WITH_TIMEOUT(m_alerts->texts().contains(refusal), 20000);
    QWidget *editor = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((editor = [] {
                                 for (QWidget *w : QApplication::allWidgets())
                                     if (w->objectName() == QLatin1String("communityLocationEditor") && w->isVisible())
                                         return w;
                                 return static_cast<QWidget *>(nullptr);
                             }()) != nullptr, 10000);
    QVERIFY(m_server->portalRecord(QStringLiteral("58"), l.id).isEmpty());
    editor->findChild<QLineEdit *>(QStringLiteral("lngEdit"))->setText(QStringLiteral("117.2283"));
    editor->findChild<QLineEdit *>(QStringLiteral("latEdit"))->setText(QStringLiteral("31.8206"));
    editor->findChild<QPushButton *>(QStringLiteral("saveLocationButton"))->click();
    QVERIFY(firstFinished.count() > 0 || firstFinished.wait(20000));
    QCOMPARE(communityOf(l).lng, QStringLiteral("117.2283"));
    QCOMPARE(m_server->hits(QStringLiteral("house/xiaoqu/edit")), 1);

    m_alerts->leaveOpen();
    QScopedPointer<HouseBook58AnXuanPushObject> second(new HouseBook58AnXuanPushObject(this));
    QVERIFY2(push(second.data(), [&] { second->pushHouse(l.id); }), qPrintable(m_alerts->texts().join(QLatin1Char('|'))));
    QCOMPARE(m_server->portalRecord(QStringLiteral("58"), l.id).value(QStringLiteral("status")).toInt(), 1);
    const QVariantMap community = m_server->portalRecord(QStringLiteral("58xiaoqu"), l.mycommunityid).value(QStringLiteral("form")).toMap();
    QCOMPARE(numberOf(community.value(QStringLiteral("baiduLng"))), 117.2283);
    QCOMPARE(numberOf(community.value(QStringLiteral("baiduLat"))), 31.8206);
}

// "已售" from the list page's menu takes the listing off XinfuLi with the new status as reason.
void TestPortalEndToEnd::soldListingTakenOffXinfuLi()
{
    int row = -1;
    const QList<HouseBookListWidget::Record> rows = m_list->listings();
    for (int k = 0; k < rows.size() && row < 0; ++k) {
        const Listing l = HouseMessage_DataSqlTable(nullptr, kAllianceBook).getHouseData(rows.at(k).id);
        if (l.id > 0 && !m_used.contains(l.id) && l.types == 0 && portalReady(communityOf(l)) && xinfuLiTakes(l.id)
            && rows.at(k).newstate != QLatin1String("已售"))
            row = k;
    }
    QVERIFY(row >= 0);
    const int id = rows.at(row).id;
    m_used.insert(id);
    QString head;
    QCOMPARE(choosePromotionPhotos(id, &head).size(), 5);
    QScopedPointer<HouseBookXinfuLiPushObject> xinfuLi(new HouseBookXinfuLiPushObject(this));
    QVERIFY2(push(xinfuLi.data(), [&] { xinfuLi->pushHouse(id); }), qPrintable(m_alerts->texts().join(QLatin1Char('|'))));
    QCOMPARE(m_server->portalRecord(QStringLiteral("xinfuli"), id).value(QStringLiteral("status")).toInt(), 1);

    auto *table = m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    const QRect cell = table->visualRect(table->model()->index(row, 0));
    QMetaObject::invokeMethod(m_list, "showTableMeun", Q_ARG(QPoint, cell.center()));
    QCOMPARE(m_list->menuRow(), row);
    QAction *sold = actionNamed(m_list->tableMenu(), QStringLiteral("  已售"));
    QVERIFY(sold);
    sold->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->portalRecord(QStringLiteral("xinfuli"), id).value(QStringLiteral("status")).toInt(), 0, 30000);
    const QVariantMap record = m_server->portalRecord(QStringLiteral("xinfuli"), id);
    QCOMPARE(record.value(QStringLiteral("reason")).toString(), QStringLiteral("房源状态修改为：已售"));
    QCOMPARE(record.value(QStringLiteral("form")).toMap().value(QStringLiteral("house_id")).toInt(), id);
    for (QMenu *menu : m_list->findChildren<QMenu *>())
        menu->close();
}

QTEST_MAIN(TestPortalEndToEnd)
#include "tst_portalendtoend.moc"
