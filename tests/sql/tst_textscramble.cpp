// The reversible scrambling of stored texts: fixed vectors worked out from the algorithm
// (Base64, XOR 8, Base64, rearrangement), round trips across the rearrangement's length
// classes, and the item-by-item form of comma lists.
#include "sql/textscramble.h"

#include <QtTest>

class TestTextScramble : public QObject
{
    Q_OBJECT
private slots:
    void knownVectors_data();
    void knownVectors();
    void roundTrips_data();
    void roundTrips();
    void foreignTextUnscramblesToNothing_data();
    void foreignTextUnscramblesToNothing();
    void listsAreScrambledItemByItem();
};

void TestTextScramble::knownVectors_data()
{
    QTest::addColumn<QString>("clear");
    QTest::addColumn<QString>("scrambled");
    // "a": YQ== -> XOR 8 -> QY55 -> UVk1NQ== (8 characters: first, last three, the rest).
    QTest::newRow("one letter") << QStringLiteral("a") << QStringLiteral("UQ==Vk1N");
    QTest::newRow("two letters") << QStringLiteral("ab") << QStringLiteral("UQ==V9BN");
    // 24 characters: first three, last two, then the rest.
    QTest::newRow("phone") << QStringLiteral("13800000001") << QStringLiteral("RVx==FPEVMSX9FTEl/RUxNNQ");
    QTest::newRow("chinese") << QStringLiteral("有效") << QStringLiteral("PXhE=xQj14X0");
    QTest::newRow("empty") << QString() << QString();
}

void TestTextScramble::knownVectors()
{
    QFETCH(QString, clear);
    QFETCH(QString, scrambled);
    QCOMPARE(TextScramble::scramble(clear), scrambled);
    QCOMPARE(TextScramble::unscramble(scrambled), clear);
}

void TestTextScramble::roundTrips_data()
{
    QTest::addColumn<QString>("clear");
    QTest::newRow("1 character") << QStringLiteral("x");
    QTest::newRow("4 characters") << QStringLiteral("abcd");
    QTest::newRow("5 characters") << QStringLiteral("abcde");
    QTest::newRow("9 characters") << QStringLiteral("abcdefghi");
    QTest::newRow("10 characters") << QStringLiteral("abcdefghij");
    QTest::newRow("long") << QString(300, QLatin1Char('q'));
    QTest::newRow("chinese") << QStringLiteral("阳光花园小区3栋2单元");
    QTest::newRow("emoji") << QStringLiteral("🏠钥匙🔑");
    QTest::newRow("quote percent ampersand") << QStringLiteral("&%'");
    QTest::newRow("json") << QStringLiteral("{\"name\":\"张三\",\"review\":false}");
    QTest::newRow("separator word") << QStringLiteral("qxwcp");
}

void TestTextScramble::roundTrips()
{
    QFETCH(QString, clear);
    const QString scrambled = TextScramble::scramble(clear);
    QVERIFY(scrambled != clear);
    QCOMPARE(TextScramble::scramble(clear), scrambled);  // the same text always scrambles alike
    QCOMPARE(TextScramble::unscramble(scrambled), clear);
}

void TestTextScramble::foreignTextUnscramblesToNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("plain words") << QStringLiteral("not scrambled at all");
    QTest::newRow("short") << QStringLiteral("abc");
    QTest::newRow("chinese") << QStringLiteral("阳光花园");
    QTest::newRow("base64 once only") << QStringLiteral("YWJjZGVmZ2g=");
}

void TestTextScramble::foreignTextUnscramblesToNothing()
{
    QFETCH(QString, text);
    QCOMPARE(TextScramble::unscramble(text), QString());
}

void TestTextScramble::listsAreScrambledItemByItem()
{
    const QString stored = TextScramble::scrambleList(QStringLiteral("水,电梯,,暖气"));
    QCOMPARE(stored, TextScramble::scramble(QStringLiteral("水")) + QStringLiteral("qxwcp")
                         + TextScramble::scramble(QStringLiteral("电梯")) + QStringLiteral("qxwcp")
                         + TextScramble::scramble(QStringLiteral("暖气")));
    QCOMPARE(TextScramble::unscrambleList(stored), QStringLiteral("水,电梯,暖气"));
    QCOMPARE(TextScramble::scrambleList(QString()), QString());
}

QTEST_GUILESS_MAIN(TestTextScramble)
#include "tst_textscramble.moc"
