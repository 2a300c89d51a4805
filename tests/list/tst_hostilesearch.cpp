// Hostile search texts posted through the list page's search bar on a small seeded book: no
// statement fails, each page holds exactly the listings a plain filter of the seeded records
// finds, and the store is left as it was. Then the single faults: texts of which nothing
// storable is left, texts and lists beyond the search bounds, scrambled texts whose letter case
// differs, and a query that fails.
#include "datacenter.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "list/housesearchview.h"
#include "list/houselisttablewidget.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "sql/basesqlobject.h"
#include "sql/communitymessage_datasqltable.h"
#include "sql/housemessage_datasqltable.h"
#include "sql/housequerybuilder.h"
#include "sql/textscramble.h"
#include "widgets/busyoverlay.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>
#include <QVBoxLayout>
#include <QMutex>
#include <QtTest>

#include <algorithm>

namespace {

constexpr int kMaxText = 100;  // the search bounds the page announces
constexpr int kMaxItems = 50;
constexpr int kPlainCommunity = 1;
const QString kPlainName = QStringLiteral("阳光花园");
const QString kPlainPhone = QStringLiteral("13900000009");
const QString kPlainTag = QStringLiteral("地铁");

// ---- the search texts -------------------------------------------------------------------

QString repeated(const QString &unit, int times)
{
    return unit.repeated(times);
}

QStringList punctuationTexts()
{
    QStringList out;
    for (const char c : QByteArray("'\"`\\%_;-/*()[]{}<>=!|&^~+,.?:#@$")) {
        out << QString(QLatin1Char(c)) << QStringLiteral("a%1b").arg(QLatin1Char(c)) << repeated(QString(QLatin1Char(c)), 3);
    }
    return out;
}

QStringList sqlTexts()
{
    return {"'", "''", "'''", "O'Brien", "' or '1'='1", "' or 1=1 --", "'; drop table house; --", "\") or 1=1 --",
            "')) or 1=1 --", "' union select * from community --", "select", "SELECT * FROM house", "drop table house",
            "delete from house", "update house set isdel=1", "insert into house(id) values(1)", "union", "or 1=1",
            "and 0", "null", "NULL", "true", "like", "escape '\\'", "glob", "pragma table_info(house)",
            "attach database 'x' as y", "vacuum", "--", "/*", "*/", ";", "begin; commit;", "rollback", "%1", "%2 %L1",
            "%", "%%", "_", "__", "<%>", "<%", "%>", "<<%>>", "a<%>b", "\\%", "\\_", "\\", "\\\\", "[%]", "*", "?",
            "<%>'<%>", "%' escape '%", "x' escape 'x", "case when 1 then 1 end", "char(39)", "0x27", "1e999", "-1",
            "9223372036854775808", "1", "2", "001", " 3 ", "3.0"};
}

QStringList unstorableTexts()
{
    const QString nul(QChar(0));
    return {nul, nul + nul + nul, QStringLiteral("a") + nul + QStringLiteral("b"), nul + QStringLiteral("'"),
            QStringLiteral("'") + nul, nul + QStringLiteral("') or 1=1 --"), QString(QChar(0xD800)),
            QString(QChar(0xDC00)), QString(QChar(0xDC00)) + QChar(0xD800), QStringLiteral("a") + QChar(0xD800) + "'",
            QString(QChar(0xD83D)), QStringLiteral("'") + QChar(0xDBFF), QString(QChar(0xFDD0)),
            QString(QChar(0xFFFE)), QString(QChar(0xFFFF)), QStringLiteral("a") + QChar(0xFDD0) + "%>",
            QStringLiteral("<") + QChar(0xFDD0) + "%>", QString::fromUcs4(U"\U0001FFFF"), QString::fromUcs4(U"\U0010FFFE"),
            nul + QStringLiteral(",") + nul, QStringLiteral(" ") + nul + QStringLiteral(" ")};
}

QStringList controlTexts()
{
    QStringList out;
    for (int c = 1; c < 32; ++c)
        out << QString(QChar(c));
    out << QString(QChar(127)) << QStringLiteral("a\tb") << QStringLiteral("a\nb") << QStringLiteral("\r\n");
    return out;
}

QStringList unicodeTexts()
{
    return {QStringLiteral("😀"), QStringLiteral("🏠阳光"), QStringLiteral("👨‍👩‍👧‍👦"), QStringLiteral("🇨🇳"),
            QStringLiteral("👍🏽"), QStringLiteral("\u200F"), QStringLiteral("\u202E'abc"), QStringLiteral("\u200E阳光"),
            QStringLiteral("\u2066x\u2069"), QStringLiteral("\uFEFF"), QStringLiteral("\u200B"), QStringLiteral("\u00A0"),
            QStringLiteral("\u3000阳光\u3000"), QStringLiteral("阳光，花园"), QStringLiteral("ＳＥＬＥＣＴ"),
            QStringLiteral("İı"), QStringLiteral("ß"), QStringLiteral("Ω"), QStringLiteral("e\u0301"),
            QStringLiteral("\uFFFD"), QStringLiteral("阳光"), QStringLiteral("花园 阳光"), QStringLiteral("阳光 花园"),
            kPlainName, QStringLiteral("YANGGUANG"), QStringLiteral("yangguang")};
}

QStringList longTexts()
{
    return {repeated("a", 10240), repeated("%", 10240), repeated("'", 10240), repeated("<%>", 3414),
            repeated(QStringLiteral("阳"), 10240), repeated("a,", 5120), repeated(QStringLiteral("😀"), 5120),
            repeated("_\\", 5120), repeated(" ", 99) + "xy", repeated("b", 99) + QStringLiteral("😀"),
            repeated("c", 1024 * 1024), repeated("<%>", 350000)};
}

// Texts of the scrambled form: its alphabet, its item separator, stored forms searched as
// clear text, and clear texts whose stored form differs from a seeded one in letter case only.
QStringList scrambleTexts()
{
    QStringList out{"qxwcp",  "=",  "==", "+/", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "abcdefghijklmnopqrstuvwxyz",
                    "0123456789+/=", "qxwcpqxwcp", "a,qxwcp,b"};
    for (const QString &seeded : {kPlainName, kPlainPhone, kPlainTag}) {
        const QString stored = TextScramble::scramble(seeded);
        out << stored << stored.toLower() << stored.toUpper();
        for (int i = 0; i < stored.size(); ++i) {
            QString flipped = stored;
            const QChar c = flipped.at(i);
            flipped[i] = c.isUpper() ? c.toLower() : c.toUpper();
            const QString clear = TextScramble::unscramble(flipped);
            if (flipped != stored && !clear.isEmpty() && clear != seeded && TextScramble::scramble(clear) == flipped)
                out << clear;
        }
    }
    return out;
}

QStringList hostileTexts()
{
    return punctuationTexts() + sqlTexts() + unstorableTexts() + controlTexts() + unicodeTexts() + longTexts()
           + scrambleTexts();
}

// ---- a plain model of the search ---------------------------------------------------------

bool isUnstorable(uint c)
{
    return c == 0 || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0xFDD0 && c <= 0xFDEF) || (c & 0xFFFE) == 0xFFFE;
}

QString withoutUnstorable(const QString &text)
{
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            if (!isUnstorable(QChar::surrogateToUcs4(c, text.at(i + 1))))
                out.append(c).append(text.at(i + 1));
            ++i;
        } else if (!isUnstorable(c.unicode())) {
            out += c;
        }
    }
    return out;
}

// What the store searches for: storable, trimmed, at most kMaxText units without splitting a
// character.
QString searched(const QString &typed)
{
    QString t = withoutUnstorable(typed).trimmed();
    if (t.size() > kMaxText)
        t = t.left(t.at(kMaxText - 1).isHighSurrogate() ? kMaxText - 1 : kMaxText).trimmed();
    return t;
}

QStringList searchedItems(const QString &typed)
{
    QStringList out;
    for (const QString &part : typed.split(QRegularExpression(QStringLiteral("[,，]")))) {
        if (!searched(part).isEmpty() && out.size() < kMaxItems)
            out << searched(part);
    }
    return out;
}

bool unmatchable(const QString &typed)
{
    return withoutUnstorable(typed) != typed && searchedItems(typed).isEmpty();
}

bool isCut(const QString &typed, bool asItems)
{
    if (!asItems)
        return withoutUnstorable(typed).trimmed().size() > kMaxText;
    int count = 0;
    for (const QString &part : typed.split(QRegularExpression(QStringLiteral("[,，]")))) {
        const QString t = withoutUnstorable(part).trimmed();
        if (t.size() > kMaxText || (!t.isEmpty() && ++count > kMaxItems))
            return true;
    }
    return false;
}

// SQLite's like folds the case of ASCII letters only.
QString asciiFolded(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c.unicode() < 128)
            c = c.toLower();
    }
    return out;
}

bool containsFolded(const QString &haystack, const QString &needle)
{
    return asciiFolded(haystack).contains(asciiFolded(needle));
}

struct Condition
{
    int itemId;
    const char *key;
    const char *column;
    enum Kind { Keyword, Name, Equal, Items, OneOf } kind;
};

const Condition kConditions[] = {
    {23, "keyWord", "name", Condition::Keyword},   {1, "name", "name", Condition::Name},
    {5, "tel", "contacts", Condition::Equal},      {6, "houseType", "housetype", Condition::Equal},
    {8, "renovation", "renovation", Condition::Equal}, {9, "chaoXiang", "toward", Condition::Equal},
    {14, "seetime", "seetime", Condition::Equal},  {15, "ruZhuTime", "ruzhutime", Condition::Equal},
    {16, "rentWay", "rentway", Condition::Equal},  {17, "payWay", "payway", Condition::Equal},
    {18, "source", "source", Condition::Equal},    {31, "chanQuan", "propertyquan", Condition::Equal},
    {32, "chanZhen", "property", Condition::Equal}, {75, "hutype", "hutype", Condition::Equal},
    {12, "peitao", "peitao", Condition::Items},    {13, "traffic", "traffic", Condition::Items},
    {19, "tag", "tags", Condition::Items},         {20, "state", "newstate", Condition::OneOf}};

const QStringList kTagWords{"待处理", "封盘", "锁盘", "独家", "视频", "安选", "VR", "vr", "Vr", "vR", "待审核房源",
                            "联卖", "全景", "待审核", "待审核录入人", "待审核维护人", "待审核委托人", "待审核实勘人",
                            "待审核钥匙人", "待审核独家代理人", "待审核独家人", "待审核成交人"};

QStringList keywordWords(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("[,，\\s]+")), Qt::SkipEmptyParts);
}

class Book
{
public:
    QList<QVariantMap> listings;
    QHash<int, QVariantMap> communities;

    // The ids of the listings a search finds, newest first.
    QList<int> matching(const Condition &c, const QString &typed) const
    {
        QList<int> ids;
        if (unmatchable(typed))
            return ids;
        const Search search{searched(typed), searchedItems(typed)};
        for (const QVariantMap &l : listings) {
            if (matches(c, search, l))
                ids << l.value("id").toInt();
        }
        std::sort(ids.begin(), ids.end(), std::greater<int>());
        return ids;
    }

private:
    struct Search
    {
        QString text;
        QStringList items;
    };

    bool communityHas(const QVariantMap &l, const QString &text) const
    {
        const QVariantMap community = communities.value(l.value("mycommunityid").toInt());
        for (const char *column : {"name", "othrename", "pinyin"}) {
            if (containsFolded(community.value(column).toString(), text))
                return true;
        }
        return false;
    }

    bool matches(const Condition &c, const Search &search, const QVariantMap &l) const
    {
        const QString &text = search.text;
        const QStringList &wanted = search.items;
        if (text.isEmpty() && c.kind != Condition::Items && c.kind != Condition::OneOf)
            return true;
        const QString value = l.value(c.column).toString();
        switch (c.kind) {
        case Condition::Keyword: {
            const QString phrase = keywordWords(text).join(' ');
            bool isNumber = false;
            const qlonglong number = phrase.toLongLong(&isNumber);
            return phrase.isEmpty() || communityHas(l, phrase) || value == phrase
                   || (isNumber && number == l.value("id").toLongLong());
        }
        case Condition::Name:
            return value == text || communityHas(l, text);
        case Condition::Equal:
            return value == text;
        case Condition::Items: {
            const QStringList stored = value.split(',', Qt::SkipEmptyParts);
            return std::all_of(wanted.cbegin(), wanted.cend(), [&](const QString &w) { return stored.contains(w); });
        }
        case Condition::OneOf:
            return wanted.isEmpty() || wanted.contains(value);
        }
        return false;
    }
};

// ---- the book ------------------------------------------------------------------------------

QVariantMap listing(int id, const QVariantMap &texts)
{
    QVariantMap m{{"id", id},           {"types", 0},          {"userphone", "13900000002"}, {"mycommunityid", kPlainCommunity},
                  {"name", kPlainName}, {"cityid", 340100},    {"companyid", 9001},          {"isdel", 0},
                  {"sf", 0},            {"stype", 0},          {"housestatus", 1},           {"deptid", 11},
                  {"contacts", kPlainPhone}, {"tags", kPlainTag + ",学区"}, {"peitao", kPlainTag},
                  {"traffic", kPlainTag}, {"newstate", "有效"}, {"lasttime", "2024/03/01 10:00:00"}};
    m.insert(texts);
    return m;
}

bool isJsonContainer(const QString &text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    return doc.isArray() || doc.isObject();
}

// Five plain listings, then for each distinct searched form of the hostile texts a listing
// holding it in every text column it is searched in, in a community named after it.
Book seededBook(const QStringList &texts)
{
    Book book;
    book.communities.insert(kPlainCommunity, {{"id", kPlainCommunity}, {"name", kPlainName}, {"pinyin", "yangguang"}});
    for (int id = 1; id <= 5; ++id)
        book.listings << listing(id, {});
    QSet<QString> seen;
    for (const QString &typed : texts) {
        const QString text = searched(typed);
        if (text.isEmpty() || seen.contains(text))
            continue;
        seen.insert(text);
        const int id = 100 + book.listings.size();
        book.communities.insert(id, {{"id", id}, {"name", text}, {"othrename", ""}, {"pinyin", ""}});
        QVariantMap texts{{"mycommunityid", id}, {"name", text}, {"contacts", isJsonContainer(text) ? QString() : text}};
        for (const Condition &c : kConditions) {
            if (c.kind == Condition::Equal && QLatin1String(c.column) != QLatin1String("contacts"))
                texts.insert(c.column, text);
        }
        for (const char *column : {"tags", "peitao", "traffic", "newstate"})
            texts.insert(column, text);
        book.listings << listing(id, texts);
    }
    return book;
}

void store(const Book &book)
{
    QList<QVariantMap> communities;
    for (QVariantMap c : book.communities) {
        c.insert("cityid", 340100);
        communities << c;
    }
    QCOMPARE(CommunityMessage_DataSqlTable(nullptr, true).insertOrReplaceCommunities(communities, false),
             communities.size());
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses(book.listings, false), book.listings.size());
}

// Row count and a digest of every table of the joint-sale book's database.
QString storeDigest()
{
    BaseSqlObject probe(nullptr, true);
    QSqlDatabase db = QSqlDatabase::database(probe.connectionName(BaseSqlObject::CompanyDB));
    QCryptographicHash hash(QCryptographicHash::Sha1);
    int rows = 0;
    QStringList tables = db.tables();
    tables.sort();
    for (const QString &table : tables) {
        QSqlQuery query(db);
        query.exec(QStringLiteral("select * from %1 order by rowid").arg(table));
        while (query.next()) {
            ++rows;
            for (int i = 0; i < query.record().count(); ++i)
                hash.addData(query.value(i).toString().toUtf8().append('\x1f'));
        }
    }
    return QStringLiteral("%1 rows, %2").arg(rows).arg(QString::fromLatin1(hash.result().toHex()));
}

// ---- warnings of failed statements ---------------------------------------------------------

// Counts log from their worker thread; the tests read the list once the count has arrived.
QStringList g_sqlWarnings;
QMutex g_sqlWarningsLock;
QtMessageHandler g_previousHandler = nullptr;

void countingHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg
        && (message.contains(QLatin1String("statement failed")) || message.contains(QLatin1String("QSql")))) {
        QMutexLocker locker(&g_sqlWarningsLock);
        g_sqlWarnings << message.left(200);
    }
    g_previousHandler(type, context, message);
}

QString shown(const QString &text)
{
    return text.size() > 40 ? text.left(40) + QStringLiteral("…(%1)").arg(text.size()) : text;
}

} // namespace

class TestHostileSearch : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void hostileTextsThroughTheSearchBar();
    void nulInKeywordMatchesNothingNotError_data();
    void nulInKeywordMatchesNothingNotError();
    void megabyteKeywordIsShortened();
    void likePatternWithManyWildcards_data();
    void likePatternWithManyWildcards();
    void thousandsOfItemsAreCut();
    void scrambledTextsKeepTheirLetterCase_data();
    void scrambledTextsKeepTheirLetterCase();
    void communityStoreSearchesBoundedTexts_data();
    void communityStoreSearchesBoundedTexts();
    void failedQueryIsReportedNotEmpty();

private:
    void openPage();
    void search(const Condition &condition, const QString &text);
    QList<int> shownIds() const;
    QLabel *notice() const { return m_page->findChild<QLabel *>(QStringLiteral("searchNoticeLabel")); }
    QWidget *noticeBar() const { return m_page->findChild<QWidget *>(QStringLiteral("searchNoticeBar")); }

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    HouseBookListWidget *m_page = nullptr;
    HouseSearchView *m_view = nullptr;
    Book m_book;
};

void TestHostileSearch::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_houseshuxing.startsWith(m_server.baseUrl()));
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    g_previousHandler = qInstallMessageHandler(countingHandler);
}

void TestHostileSearch::init()
{
    m_host.reset(new HostFixture);
    DataCenter::isJointSaleManger = true;
    g_sqlWarnings.clear();
}

void TestHostileSearch::cleanup()
{
    m_page = nullptr;  // a child of the host window
    m_host.reset();
}

// The listing page of all sale listings with a search bar of the text conditions, loading
// without the page's deferral.
void TestHostileSearch::openPage()
{
    m_page = new HouseBookListWidget(m_host->mainWindow());
    m_host->mainWindow()->setLayout(new QVBoxLayout);
    m_host->mainWindow()->layout()->addWidget(m_page);
    m_page->findChild<QTimer *>(QStringLiteral("loadTimer"))->setInterval(0);
    m_page->setMode(5, 0);
    m_page->show();
    m_view = m_page->findChild<HouseSearchView *>(QStringLiteral("houseSearchView"));
    QList<QVariantMap> items;
    for (const Condition &c : kConditions)
        items << QVariantMap{{"type", 0}, {"id", c.itemId}, {"title", QString::fromLatin1(c.key)}, {"SingleLine", false}};
    m_view->setItems(items);
    QTRY_VERIFY(!m_page->findChild<BusyOverlay *>()->isRunning());
}

void TestHostileSearch::search(const Condition &condition, const QString &text)
{
    m_view->clearData();
    QVERIFY(m_view->setItemValue(condition.itemId, text));
    QSignalSpy loaded(m_page->findChild<QTimer *>(QStringLiteral("loadTimer")), &QTimer::timeout);
    m_view->searchClick();
    QVERIFY(loaded.wait(10000));
    QVERIFY(!m_page->findChild<BusyOverlay *>()->isRunning());
    QTRY_VERIFY(!m_page->counting());
}

QList<int> TestHostileSearch::shownIds() const
{
    QList<int> ids;
    for (const HouseMessage_DataSqlTable::HouseMessageData &r : m_page->listings())
        ids << r.id;
    return ids;
}

// Every hostile text in the keyword and the community name, and in two of the other text
// conditions in turn: the page shows the model's first page and total, says when it searched
// a shortened text, never fails; no statement fails and the store is unchanged.
void TestHostileSearch::hostileTextsThroughTheSearchBar()
{
    const QStringList texts = hostileTexts();
    QVERIFY2(texts.size() >= 200, qPrintable(QString::number(texts.size())));
    for (const QString &text : texts) {
        for (const QString &word : keywordWords(searched(text)))
            QVERIFY2(!kTagWords.contains(word), qPrintable(word));
    }
    m_book = seededBook(texts);
    store(m_book);
    openPage();
    const QString before = storeDigest();
    const int others = int(std::size(kConditions)) - 2;
    for (int i = 0; i < texts.size(); ++i) {
        const QString &text = texts.at(i);
        for (const Condition *c : {&kConditions[0], &kConditions[1], &kConditions[2 + i % others],
                                   &kConditions[2 + (i + others / 2) % others]}) {
            search(*c, text);
            const QList<int> expected = m_book.matching(*c, text);
            const QString where = QStringLiteral("%1 = \"%2\"").arg(QLatin1String(c->key), shown(text));
            QVERIFY2(m_page->total() == expected.size(),
                     qPrintable(QStringLiteral("%1: %2 found, %3 expected").arg(where).arg(m_page->total()).arg(expected.size())));
            QVERIFY2(shownIds() == expected.mid(0, m_page->pageSize()), qPrintable(where));
            const bool cut = isCut(text, c->kind == Condition::Items || c->kind == Condition::OneOf);
            QVERIFY2(noticeBar()->isVisibleTo(m_page) == cut, qPrintable(where));
            QVERIFY2(g_sqlWarnings.isEmpty(), qPrintable(where + QLatin1String(": ") + g_sqlWarnings.value(0)));
        }
    }
    QCOMPARE(storeDigest(), before);
}

void TestHostileSearch::nulInKeywordMatchesNothingNotError_data()
{
    QTest::addColumn<int>("condition");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("found");
    const QString nul(QChar(0));
    QTest::newRow("NUL keyword") << 0 << nul << QList<int>{};
    QTest::newRow("lone surrogate keyword") << 0 << QString(QChar(0xDC00)) << QList<int>{};
    QTest::newRow("non-characters keyword") << 0 << QString(QChar(0xFFFF)) + QChar(0xFDD0) << QList<int>{};
    QTest::newRow("NUL among commas") << 0 << nul + ",，" + nul << QList<int>{};
    QTest::newRow("NUL house type") << 3 << nul << QList<int>{};
    QTest::newRow("NUL tag") << 16 << nul << QList<int>{};
    QTest::newRow("NUL state") << 17 << nul << QList<int>{};
    QTest::newRow("NUL inside a name") << 1 << QStringLiteral("阳光") + nul + QStringLiteral("花园") << QList<int>{2, 1};
    QTest::newRow("surrogate inside a tag") << 16 << QStringLiteral("地") + QChar(0xD800) + QStringLiteral("铁")
                                            << QList<int>{2, 1};
    QTest::newRow("white space is no condition") << 0 << QStringLiteral(" \u3000 ") << QList<int>{2, 1};
}

// A text of which nothing storable is left matches no listing (not all of them, and no
// statement error); one that keeps something searches what is left.
void TestHostileSearch::nulInKeywordMatchesNothingNotError()
{
    QFETCH(int, condition);
    QFETCH(QString, text);
    QFETCH(QList<int>, found);
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses({listing(1, {}), listing(2, {})}, false), 2);
    openPage();
    search(kConditions[condition], text);
    QCOMPARE(shownIds(), found);
    QCOMPARE(m_page->total(), found.size());
    QVERIFY(!noticeBar()->isVisibleTo(m_page));
    QVERIFY2(g_sqlWarnings.isEmpty(), qPrintable(g_sqlWarnings.join('\n')));
}

// A megabyte keyword searches its first hundred characters, and the page says so.
void TestHostileSearch::megabyteKeywordIsShortened()
{
    const QString kept = repeated(QStringLiteral("阳"), kMaxText);
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true)
                 .insertOrReplaceHouses({listing(1, {{"name", kept}}), listing(2, {{"name", kept + "x"}})}, false),
             2);
    openPage();
    search(kConditions[0], kept + repeated("x", 1024 * 1024));
    QCOMPARE(shownIds(), QList<int>{1});
    QVERIFY(noticeBar()->isVisibleTo(m_page));
    QCOMPARE(notice()->text(), QStringLiteral("搜索内容过长，已截短后搜索（每项最多100个字、50个选项）。"));
    QVERIFY(!m_page->findChild<QPushButton *>(QStringLiteral("searchRetryButton"))->isVisibleTo(m_page));
    QVERIFY(g_sqlWarnings.isEmpty());

    search(kConditions[0], kept);
    QCOMPARE(shownIds(), QList<int>{1});
    QVERIFY(!noticeBar()->isVisibleTo(m_page));
}

void TestHostileSearch::likePatternWithManyWildcards_data()
{
    QTest::addColumn<int>("condition");
    QTest::addColumn<QString>("unit");
    for (int c : {0, 1, 3})
        for (const char *unit : {"<%>", "%", "_", "\\"})
            QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(kConditions[c].key), QLatin1String(unit))))
                << c << QString::fromLatin1(unit);
}

// Thousands of wildcards in a text: no statement nests an expression per wildcard or exceeds
// SQLite's pattern length, and the text's wildcards match only themselves.
void TestHostileSearch::likePatternWithManyWildcards()
{
    QFETCH(int, condition);
    QFETCH(QString, unit);
    const Condition &c = kConditions[condition];
    const QString text = repeated(unit, 20000);
    const QString stored = searched(text);
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true)
                 .insertOrReplaceHouses({listing(1, {{c.column, stored}}), listing(2, {{c.column, stored.mid(1) + "a"}})}, false),
             2);
    openPage();
    search(c, text);
    QVERIFY2(g_sqlWarnings.isEmpty(), qPrintable(g_sqlWarnings.join('\n')));
    QCOMPARE(shownIds(), QList<int>{1});
    QVERIFY(noticeBar()->isVisibleTo(m_page));
}

// Thousands of chosen items: the first fifty are searched, within the expression depth.
void TestHostileSearch::thousandsOfItemsAreCut()
{
    QStringList items;
    for (int i = 0; i < 5000; ++i)
        items << QStringLiteral("项%1").arg(i);
    const QString first = items.mid(0, kMaxItems).join(',');
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true)
                 .insertOrReplaceHouses({listing(1, {{"peitao", first}}), listing(2, {{"peitao", items.mid(1).join(',')}})},
                                        false),
             2);
    openPage();
    search(kConditions[14], items.join(','));
    QVERIFY2(g_sqlWarnings.isEmpty(), qPrintable(g_sqlWarnings.join('\n')));
    QCOMPARE(shownIds(), QList<int>{1});
    QVERIFY(noticeBar()->isVisibleTo(m_page));
}

void TestHostileSearch::scrambledTextsKeepTheirLetterCase_data()
{
    QTest::addColumn<int>("condition");
    QTest::addColumn<QString>("seeded");
    QTest::addColumn<QString>("text");
    int rows = 0;
    for (const auto &pair : {qMakePair(1, kPlainName), qMakePair(2, kPlainPhone), qMakePair(16, kPlainTag)}) {
        const QString stored = TextScramble::scramble(pair.second);
        for (int i = 0; i < stored.size(); ++i) {
            QString flipped = stored;
            flipped[i] = flipped.at(i).isUpper() ? flipped.at(i).toLower() : flipped.at(i).toUpper();
            const QString clear = TextScramble::unscramble(flipped);
            if (flipped != stored && !clear.isEmpty() && TextScramble::scramble(clear) == flipped)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(pair.second, clear))) << pair.first << pair.second << clear;
            rows += flipped != stored && !clear.isEmpty() && TextScramble::scramble(clear) == flipped;
        }
    }
    QVERIFY(rows > 0);
}

// A text whose stored form differs from a listing's only in letter case does not find it.
void TestHostileSearch::scrambledTextsKeepTheirLetterCase()
{
    QFETCH(int, condition);
    QFETCH(QString, seeded);
    QFETCH(QString, text);
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses({listing(1, {})}, false), 1);
    openPage();
    search(kConditions[condition], seeded);
    QCOMPARE(shownIds(), QList<int>{1});
    search(kConditions[condition], text);
    QCOMPARE(shownIds(), QList<int>{});
}

void TestHostileSearch::communityStoreSearchesBoundedTexts_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("found");
    const QString nul(QChar(0));
    for (const char *key : {"keyWord", "name", "districtname", "primaryschool"}) {
        QTest::newRow(qPrintable(QStringLiteral("%1 NUL").arg(QLatin1String(key)))) << key << nul << QList<int>{};
        QTest::newRow(qPrintable(QStringLiteral("%1 megabyte").arg(QLatin1String(key))))
            << key << repeated("<%>", 400000) << QList<int>{2};
    }
    QTest::newRow("keyWord with NUL") << "keyWord" << QStringLiteral("阳光") + nul << QList<int>{1, 2};
}

// The community choosers' searches: the same bounds, no failed statement.
void TestHostileSearch::communityStoreSearchesBoundedTexts()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QList<int>, found);
    const QString column = key == QLatin1String("keyWord") ? QStringLiteral("name") : key;
    CommunityMessage_DataSqlTable table(nullptr, true);
    QCOMPARE(table.insertOrReplaceCommunities({{{"id", 1}, {"name", kPlainName}, {"cityid", 340100}},
                                               {{"id", 2}, {column, searched(text)}, {"cityid", 340100}}},
                                              false),
             2);
    QList<int> ids;
    for (const CommunityMessage_DataSqlTable::ListData &d : table.getCommunityList({{key, text}}, 1, 0))
        ids << d.id;
    std::sort(ids.begin(), ids.end());
    QCOMPARE(ids, found);
    QCOMPARE(table.getCommunityCount({{key, text}}), found.size());
    QVERIFY(!table.queryFailed());
    QVERIFY2(g_sqlWarnings.isEmpty(), qPrintable(g_sqlWarnings.join('\n')));
}

// A statement that fails shows "查询失败" with a retry, not "nothing found"; the retry
// queries again. The log names the query, not the agent's text.
void TestHostileSearch::failedQueryIsReportedNotEmpty()
{
    QCOMPARE(HouseMessage_DataSqlTable(nullptr, true).insertOrReplaceHouses({listing(1, {})}, false), 1);
    openPage();
    // A community table of another shape: the keyword's community clause names missing columns.
    BaseSqlObject probe(nullptr, true);
    QSqlDatabase db = QSqlDatabase::database(probe.connectionName(BaseSqlObject::CompanyDB));
    QVERIFY(QSqlQuery(db).exec(QStringLiteral("drop table if exists community")));
    QVERIFY(QSqlQuery(db).exec(QStringLiteral("create table community(id int)")));
    search(kConditions[0], kPlainName);
    QVERIFY(!g_sqlWarnings.isEmpty());
    QVERIFY2(std::any_of(g_sqlWarnings.cbegin(), g_sqlWarnings.cend(),
                         [](const QString &w) { return w.startsWith(QLatin1String("listing page: statement failed")); }),
             qPrintable(g_sqlWarnings.join('\n')));
    QVERIFY(!g_sqlWarnings.join('\n').contains(kPlainName));
    QVERIFY(noticeBar()->isVisibleTo(m_page));
    QVERIFY(notice()->text().startsWith(QStringLiteral("查询失败")));
    auto *emptyHint = m_page->findChild<QLabel *>(QStringLiteral("emptyHint"));
    QVERIFY(emptyHint->text().contains(QStringLiteral("查询失败")));
    QVERIFY(!emptyHint->text().contains(QStringLiteral("木有找到")));

    QVERIFY(QSqlQuery(db).exec(QStringLiteral("drop table community")));
    QVERIFY(QSqlQuery(db).exec(CommunityMessage_DataSqlTable::createSql()));
    g_sqlWarnings.clear();
    QTest::mouseClick(m_page->findChild<QPushButton *>(QStringLiteral("searchRetryButton")), Qt::LeftButton);
    QTRY_COMPARE(shownIds(), QList<int>{1});
    QVERIFY(!noticeBar()->isVisibleTo(m_page));
    QVERIFY(g_sqlWarnings.isEmpty());
}

QTEST_MAIN(TestHostileSearch)
#include "tst_hostilesearch.moc"
