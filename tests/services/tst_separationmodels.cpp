// Readers of the separation replies: any shape a server may send is read without losing
// what is there and without inventing what is not.
#include "services/separationmodels.h"

#include <QJsonDocument>
#include <QtTest>

namespace {
QJsonValue json(const char *text)
{
    // Replies are written with single quotes to keep them readable.
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray(text).replace('\'', '"'));
    return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
}
} // namespace

class TestSeparationModels : public QObject
{
    Q_OBJECT
private slots:
    void roleRowsFromAnyShape_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("firstId");
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<bool>("firstOwn");
        QTest::newRow("list in object") << "{'list':[{'id':7,'type':3,'info':{'name':'张三'},'own':1}]}" << 1 << "7" << "张三" << true;
        QTest::newRow("bare array, text numbers") << "[{'id':'8','type':'4','own':'0'},{'id':9}]" << 2 << "8" << "" << false;
        // An info object sent as JSON text, and a holder id too big for an int.
        QTest::newRow("info as text") << "[{'id':1e12,'info':'{\\'name\\':\\'李四\\'}','own':true}]" << 1 << "1000000000000" << "李四" << true;
        QTest::newRow("rows that are not objects") << "{'list':[1,'x',null]}" << 0 << "" << "" << false;
        QTest::newRow("no list at all") << "{'total':3}" << 0 << "" << "" << false;
    }
    void roleRowsFromAnyShape()
    {
        QFETCH(QString, reply);
        const auto rows = HouseBookSeperateList_Model::listFromJson(json(reply.toUtf8().constData()));
        QFETCH(int, count);
        QCOMPARE(rows.size(), count);
        if (rows.isEmpty())
            return;
        QTEST(rows.first().id, "firstId");
        QTEST(rows.first().info.name, "firstName");
        QTEST(rows.first().own, "firstOwn");
    }

    void officeApprovalAndEntryFlags()
    {
        auto row = HouseBookSeperateList_Model::fromJson(json("{'id':0,'detailinfo':{'sp_id':'0'}}").toObject());
        QVERIFY(!row.hasEntry());
        QVERIFY(!row.inOfficeApproval());
        QVERIFY(!row.hasHolder());
        row = HouseBookSeperateList_Model::fromJson(json("{'id':5,'phone':'138','detailinfo':{'sp_id':12}}").toObject());
        QVERIFY(row.hasEntry());
        QVERIFY(row.inOfficeApproval());
        QVERIFY(row.hasHolder());
        QCOMPARE(HouseBookSeperateList_Model::roleName(5), QStringLiteral("独家代理人"));
        QCOMPARE(HouseBookSeperateList_Model::roleName(7), QString());
    }

    void detailPhotoGroupsAndVerifier()
    {
        const auto d = HouseBookSeperateDetail_Model::fromJson(json("{"
            "            'id':3,'picturecontent':{'contract':[{'url':'a'},{'url':''},{'x':1}],"
            "                                     'fangchanzheng':'b, c','weituoshu':'[{\\'url\\':\\'d\\'}]','other':[]},"
            "            'pdf':[{'name':'合同','url':'p'},{'name':'无地址'}],"
            "            'detailinfo':{'heyanren':{'name':'王五'},'keycode':123}}"));
        QCOMPARE(d.picturecontent.value("contract"), QStringList{"a"});
        QCOMPARE(d.picturecontent.value("fangchanzheng"), (QStringList{"b", "c"}));
        QCOMPARE(d.picturecontent.value("weituoshu"), QStringList{"d"});
        QVERIFY(!d.picturecontent.contains("other"));
        QCOMPARE(d.pdf.size(), 1);
        QCOMPARE(d.detailinfo.heyanren, QStringLiteral("王五"));
        QCOMPARE(d.detailinfo.keycode, QStringLiteral("123"));
        QVERIFY(!d.isEmpty());
        QVERIFY(HouseBookSeperateDetail_Model::fromJson(json("[]")).isEmpty());
    }

    void reportPageAndStateTexts()
    {
        const auto page = HighSeperateReportList_Model::pageFromJson(json("{'total':'41','data':["
            "            {'id':1,'state':0},{'id':2,'state':2,'days':'3'},{'id':3,'state':2},{'id':4,'state':3,'sh':{'userid':9}}]}"));
        QCOMPARE(page.total, 41);
        QCOMPARE(page.items.size(), 4);
        QCOMPARE(page.items.at(0).stateText(), QStringLiteral("待处理"));
        QCOMPARE(page.items.at(1).stateText(), QStringLiteral("限期返工(3天内)"));
        QCOMPARE(page.items.at(2).stateText(), QStringLiteral("限期返工"));
        QCOMPARE(page.items.at(3).sh.userid, QStringLiteral("9"));
        QCOMPARE(HighSeperateReportList_Model::pageFromJson(json("{'total':-5}")).total, 0);
    }
};

QTEST_GUILESS_MAIN(TestSeparationModels)
#include "tst_separationmodels.moc"
