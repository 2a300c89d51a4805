// The simulator's department trees, one level per request: top levels of the own company
// and of the alliance, the levels below, refusals of unknown and foreign departments, and
// staff counts that agree with the people found walking down.
#include "alliancestore.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

class TestDepartmentTrees : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void levels_data();
    void levels();
    void countsMatchStaffBelow();

private:
    // As the manager of company 101 asks; the trees need no listings, so the store stays closed.
    Alliance::Answer ask(const QString &path, const QString &deptId = QString())
    {
        Alliance::Form form;
        if (!deptId.isNull())
            form.insert(QStringLiteral("dept_id"), deptId);
        return m_store->handle(path, form, QStringLiteral("13800000001"));
    }
    int staffBelow(int deptId);

    QTemporaryDir m_dir;
    QScopedPointer<Alliance::Store> m_store;
};

void TestDepartmentTrees::initTestCase()
{
    AllianceServer::Options options;
    options.dbPath = m_dir.filePath(QStringLiteral("alliance.db"));
    m_store.reset(new Alliance::Store(options));
}

void TestDepartmentTrees::levels_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("deptId");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QList<int>>("depts");
    QTest::addColumn<int>("people");

    QTest::newRow("own top") << "omp/lwpV2" << QString() << 200 << "安家房产" << QList<int>{10101, 10102} << 1;
    QTest::newRow("alliance top") << "lmai/lwpV2" << QString() << 200 << "合肥房产联卖联盟"
                                  << QList<int>{10100, 10200, 10300, 10400} << 0;
    QTest::newRow("own region") << "omp/dept/lwpSub" << "10101" << 200 << "蜀山大区" << QList<int>{10111, 10112} << 1;
    QTest::newRow("own store") << "omp/dept/lwpSub" << "10111" << 200 << "天鹅湖店" << QList<int>{} << 4;
    QTest::newRow("foreign store") << "omp/dept/lwpSub" << "10211" << 405 << "" << QList<int>{} << 0;
    QTest::newRow("alliance store") << "lmai/dept/lwpSub" << "10211" << 200 << "天鹅湖店" << QList<int>{} << 4;
    QTest::newRow("unknown") << "lmai/dept/lwpSub" << "99999" << 405 << "" << QList<int>{} << 0;
    QTest::newRow("no number") << "lmai/dept/lwpSub" << "abc" << 405 << "" << QList<int>{} << 0;
}

void TestDepartmentTrees::levels()
{
    QFETCH(QString, path);
    QFETCH(QString, deptId);
    QFETCH(int, code);
    QFETCH(QString, name);
    QFETCH(QList<int>, depts);
    QFETCH(int, people);
    const Alliance::Answer answer = ask(path, deptId);
    QCOMPARE(answer.code, code);
    if (code != 200) {
        QCOMPARE(answer.message, QStringLiteral("部门不存在"));
        return;
    }
    const QJsonObject level = answer.data.toObject();
    QCOMPARE(level.value("dept_name").toString(), name);
    QList<int> ids;
    for (const QJsonValue &d : level.value("depts").toArray())
        ids << d.toObject().value("dept_id").toInt();
    QCOMPARE(ids, depts);
    const QJsonArray users = level.value("users").toArray();
    QCOMPARE(users.size(), people);
    for (const QJsonValue &u : users) {
        for (const char *key : {"id", "name", "phone", "storename", "companyid", "companyname"})
            QVERIFY2(u.toObject().contains(QLatin1String(key)), key);
    }
    QCOMPARE(ask(path, deptId).data, answer.data);  // deterministic
}

int TestDepartmentTrees::staffBelow(int deptId)
{
    const QJsonObject level = ask(QStringLiteral("lmai/dept/lwpSub"), QString::number(deptId)).data.toObject();
    int staff = level.value("users").toArray().size();
    for (const QJsonValue &d : level.value("depts").toArray())
        staff += staffBelow(d.toObject().value("dept_id").toInt());
    return staff;
}

void TestDepartmentTrees::countsMatchStaffBelow()
{
    int total = 0;
    for (const QJsonValue &company : ask(QStringLiteral("lmai/lwpV2")).data.toObject().value("depts").toArray()) {
        const QJsonObject c = company.toObject();
        const int below = staffBelow(c.value("dept_id").toInt());
        QCOMPARE(c.value("count").toInt(), below);
        total += below;
    }
    QCOMPARE(total, m_store->userPhones().size());
}

QTEST_MAIN(TestDepartmentTrees)
#include "tst_departmenttrees.moc"
