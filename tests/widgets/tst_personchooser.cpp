// The people and department chooser against a recording server: two levels down and back
// through the trail (own company and alliance), single and multiple choice and the signal
// each emits, preselection, unreadable and failed levels with their retry, and a level that
// arrives after the user went back.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "net/netrequestobjecet.h"
#include "recordingserver.h"
#include "widgets/choosers/jointsale_personordepartmentchoosewidget.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using Chooser = PersonOrDepartmentChooseWidget;
using Reply = RecordingServer::Reply;
Q_DECLARE_METATYPE(RecordingServer::Reply)

namespace {

QJsonObject dept(int id, const QString &name)
{
    return {{"dept_id", id}, {"dept_name", name}, {"count", 3}};
}

QJsonObject person(int id, const QString &name, const QString &store)
{
    return {{"id", id}, {"name", name}, {"phone", QStringLiteral("1380000%1").arg(id)}, {"storename", store},
            {"companyname", QStringLiteral("合肥安家房产经纪有限公司")}};
}

Reply level(const QString &name, const QJsonArray &depts, const QJsonArray &users)
{
    return RecordingServer::envelope(200, QJsonObject{{"dept_name", name}, {"depts", depts}, {"users", users}});
}

Reply top()
{
    return level("安家房产", {dept(10101, "蜀山大区"), dept(10102, "包河大区")}, {person(5001, "张伟", "安家房产")});
}

Reply region()
{
    return level("蜀山大区", {dept(10111, "天鹅湖店")}, {person(5003, "王强", "蜀山大区")});
}

Reply store()
{
    return level("天鹅湖店", {}, {person(5002, "李娜", "天鹅湖店"), person(5006, "赵敏", "天鹅湖店")});
}

template <typename T = QAbstractButton>
T *child(QWidget *w, const QString &name)
{
    return w->findChild<T *>(name);
}

bool click(QWidget *w, const QString &name)
{
    QAbstractButton *button = child(w, name);
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

QStringList keysOf(const QList<QVariantMap> &entries)
{
    QStringList keys;
    for (const QVariantMap &entry : entries)
        keys << DepartmentLevel::entryKey(entry) + (entry.value("with_down").toBool() ? "+" : "");
    return keys;
}

} // namespace

class TestPersonChooser : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void walksDownAndBackThroughTrail_data();
    void walksDownAndBackThroughTrail();
    void singleChoiceReplacesAndEmitsOneMap();
    void multipleChoiceCollectsAcrossLevels();
    void preselectionShowsTicked();
    void unreadableTopLevel_data();
    void unreadableTopLevel();
    void failedSubLevelOffersRetry();
    void lateLevelAfterGoingBackIsIgnored();

private:
    QString sub() const { return QUrl(Endpoints::instance().omp_dept_lwpSub).path(); }
    // Waits for the top level and opens 蜀山大区.
    bool openRegion(Chooser *w)
    {
        m_server.queueReply(sub(), region());
        return QTest::qWaitFor([w] { return w->trail().size() == 1; }) && click(w, "enter_dept_10101")
               && QTest::qWaitFor([w] { return w->trail().size() == 2; });
    }

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestPersonChooser::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestPersonChooser::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setReply(QUrl(Endpoints::instance().omp_lwpV2).path(), top());
}

void TestPersonChooser::walksDownAndBackThroughTrail_data()
{
    QTest::addColumn<bool>("alliance");
    QTest::newRow("own company") << false;
    QTest::newRow("alliance") << true;
}

void TestPersonChooser::walksDownAndBackThroughTrail()
{
    QFETCH(bool, alliance);
    const Endpoints &e = Endpoints::instance();
    const QString subPath = QUrl(alliance ? e.lmai_dept_lwpSub : e.omp_dept_lwpSub).path();
    m_server.setReply(QUrl(alliance ? e.lmai_lwpV2 : e.omp_lwpV2).path(), top());
    m_server.queueReply(subPath, region());
    m_server.queueReply(subPath, store());
    QScopedPointer<Chooser> w(alliance ? new JointSale_PersonOrDepartmentChooseWidget : new Chooser);

    QTRY_COMPARE(w->trail(), QStringList{"安家房产"});
    QVERIFY(click(w.data(), "enter_dept_10101"));
    QTRY_COMPARE(w->trail(), (QStringList{"安家房产", "蜀山大区"}));
    QVERIFY(click(w.data(), "enter_dept_10111"));
    QTRY_COMPARE(w->trail(), (QStringList{"安家房产", "蜀山大区", "天鹅湖店"}));
    QVERIFY(child(w.data(), "choose_person_5002") && !child(w.data(), "enter_dept_10101"));
    const auto asked = m_server.requestsTo(subPath);
    QCOMPARE(asked.size(), 2);
    QCOMPARE(asked.at(0).form.value("dept_id"), QStringLiteral("10101"));
    QCOMPARE(asked.at(1).form.value("dept_id"), QStringLiteral("10111"));

    // Back through the crumbs: the levels come from the trail, not from the server again.
    QVERIFY(click(w.data(), "crumb_1"));
    QVERIFY(child(w.data(), "choose_person_5003"));
    QVERIFY(click(w.data(), "crumb_0"));
    QCOMPARE(w->trail(), QStringList{"安家房产"});
    QVERIFY(child(w.data(), "enter_dept_10102") && !child(w.data(), "crumb_1"));
    QVERIFY(!click(w.data(), "crumb_0"));  // the current level is no link
    QCOMPARE(m_server.requestCount(), 3);
}

void TestPersonChooser::singleChoiceReplacesAndEmitsOneMap()
{
    Chooser w(nullptr, Chooser::People, false);
    QSignalSpy single(&w, &Chooser::backSingleChoose);
    QSignalSpy several(&w, &Chooser::backChoose);
    QVERIFY(openRegion(&w));
    QVERIFY(!click(&w, "pushButton_sure"));
    QVERIFY(!child(&w, "choose_dept_10111"));  // people only: departments are entered, never ticked
    QVERIFY(click(&w, "choose_person_5003"));
    m_server.queueReply(sub(), store());
    QVERIFY(click(&w, "enter_dept_10111"));
    QTRY_COMPARE(w.trail().size(), 3);
    QVERIFY(click(&w, "choose_person_5002"));
    QVERIFY(click(&w, "crumb_1"));
    QVERIFY(!child(&w, "choose_person_5003")->isChecked());

    QVERIFY(click(&w, "pushButton_sure"));
    QCOMPARE(several.count(), 0);
    QCOMPARE(single.count(), 1);
    const QVariantMap chosen = single.at(0).at(0).toMap();
    QCOMPARE(chosen.value("id").toInt(), 5002);
    QCOMPARE(chosen.value("name").toString(), QStringLiteral("李娜"));
    QCOMPARE(chosen.value("storename").toString(), QStringLiteral("天鹅湖店"));
    QCOMPARE(chosen.value("companyname").toString(), QStringLiteral("合肥安家房产经纪有限公司"));
}

void TestPersonChooser::multipleChoiceCollectsAcrossLevels()
{
    Chooser w(nullptr, Chooser::PeopleAndDepartments, true);
    QSignalSpy single(&w, &Chooser::backSingleChoose);
    QSignalSpy several(&w, &Chooser::backChoose);
    QVERIFY(openRegion(&w));
    QVERIFY(click(&w, "choose_person_5003"));
    QVERIFY(click(&w, "choose_dept_10111"));
    QVERIFY(click(&w, "withDown_dept_10111"));
    QVERIFY(click(&w, "crumb_0"));
    QVERIFY(click(&w, "choose_dept_10102"));
    QVERIFY(click(&w, "choose_person_5001"));
    // Removed in the chosen column: its box in the list follows.
    QVERIFY(click(&w, "remove_person_5001"));
    QVERIFY(!child(&w, "choose_person_5001")->isChecked());

    QVERIFY(click(&w, "pushButton_sure"));
    QCOMPARE(single.count(), 0);
    QCOMPARE(several.count(), 1);
    const auto list = several.at(0).at(0).value<QList<QVariantMap>>();
    QCOMPARE(keysOf(list), (QStringList{"person_5003", "dept_10111+", "dept_10102"}));
    QCOMPARE(list.at(2).value("dept_name").toString(), QStringLiteral("包河大区"));
}

void TestPersonChooser::preselectionShowsTicked()
{
    Chooser people(nullptr, Chooser::People, false);
    people.setChosen({{{"id", 5001}, {"name", "张伟"}}, {{"id", 5003}, {"name", "王强"}}});
    QCOMPARE(keysOf(people.chosen()), QStringList{"person_5001"});
    QTRY_VERIFY(child(&people, "choose_person_5001"));
    QVERIFY(child(&people, "choose_person_5001")->isChecked());

    // A stored range: departments without the tag, one including its sub-departments.
    Chooser depts(nullptr, Chooser::Departments, true);
    depts.setChosen({{{"dept_id", 10102}, {"dept_name", "包河大区"}, {"with_down", true}},
                     {{"dept_id", 10121}, {"dept_name", "滨湖店"}}});
    QTRY_VERIFY(child(&depts, "choose_dept_10102"));
    QVERIFY(child(&depts, "choose_dept_10102")->isChecked() && !child(&depts, "choose_dept_10101")->isChecked());
    QVERIFY(child(&depts, "withDown_dept_10102")->isChecked() && !child(&depts, "withDown_dept_10121")->isChecked());
    QVERIFY(!child(&depts, "choose_person_5001"));  // departments only: nobody listed
    QCOMPARE(keysOf(depts.chosen()), (QStringList{"dept_10102+", "dept_10121"}));
}

void TestPersonChooser::unreadableTopLevel_data()
{
    QTest::addColumn<Reply>("reply");
    QTest::addColumn<QString>("error");
    QTest::addColumn<bool>("retry");

    const QString shape = QStringLiteral("部门数据无法识别，请重试");
    QTest::newRow("data is a list") << RecordingServer::envelope(200, QJsonArray{dept(1, "A")}) << shape << true;
    QTest::newRow("depts is text") << RecordingServer::envelope(200, QJsonObject{{"depts", "1"}, {"users", QJsonArray()}})
                                   << shape << true;
    QTest::newRow("body not JSON") << RecordingServer::raw("{\"code\":200,\"da", 200, "application/json")
                                   << QStringLiteral("加载失败：服务器返回的数据无法识别") << true;
    QTest::newRow("server error") << RecordingServer::raw("oops", 500) << QStringLiteral("加载失败：服务器错误(500)")
                                  << true;
    // Entries without id or name, or no objects at all, are left out; the rest is shown.
    QTest::newRow("some entries broken")
        << level("安家房产", {QJsonObject{{"dept_name", "A"}}, QJsonObject{{"dept_id", ""}, {"dept_name", "B"}}, "7",
                              dept(10101, "蜀山大区")},
                 {QJsonObject{{"id", 7}}, QJsonValue(), person(5001, "张伟", "x")})
        << QStringLiteral("有5项数据无法识别，已略过") << false;
}

void TestPersonChooser::unreadableTopLevel()
{
    QFETCH(Reply, reply);
    QFETCH(QString, error);
    QFETCH(bool, retry);
    m_server.setReply(QUrl(Endpoints::instance().omp_lwpV2).path(), reply);
    Chooser w(nullptr, Chooser::PeopleAndDepartments, true);
    w.show();
    auto *label = child<QLabel>(&w, "label_error");
    QTRY_VERIFY(label->isVisible());
    QCOMPARE(label->text(), error);
    QCOMPARE(child(&w, "pushButton_retry")->isVisible(), retry);
    QCOMPARE(!!child(&w, "enter_dept_10101"), !retry);
    QCOMPARE(!!child(&w, "choose_person_5001"), !retry);
    if (!retry)
        return;
    m_server.setReply(QUrl(Endpoints::instance().omp_lwpV2).path(), top());
    QVERIFY(click(&w, "pushButton_retry"));
    QTRY_COMPARE(w.trail().size(), 1);
    QVERIFY(!label->isVisible());
}

void TestPersonChooser::failedSubLevelOffersRetry()
{
    Chooser w;
    w.show();
    QTRY_COMPARE(w.trail().size(), 1);
    m_server.queueReply(sub(), RecordingServer::dropped());
    QVERIFY(click(&w, "enter_dept_10101"));
    auto *label = child<QLabel>(&w, "label_error");
    QTRY_VERIFY(label->isVisible());
    QVERIFY2(label->text().startsWith(QStringLiteral("“蜀山大区”加载失败：")), qPrintable(label->text()));
    QCOMPARE(w.trail().size(), 1);  // the level the user was on stays usable
    QVERIFY(child(&w, "enter_dept_10102"));

    m_server.queueReply(sub(), region());
    QVERIFY(click(&w, "pushButton_retry"));
    QTRY_COMPARE(w.trail().size(), 2);
    QVERIFY(!label->isVisible());
    QCOMPARE(m_server.requestsTo(sub()).last().form.value("dept_id"), QStringLiteral("10101"));
}

void TestPersonChooser::lateLevelAfterGoingBackIsIgnored()
{
    Chooser w;
    QVERIFY(openRegion(&w));
    Reply slow = store();
    slow.delayMs = 300;
    m_server.queueReply(sub(), slow);
    QVERIFY(click(&w, "enter_dept_10111"));
    QVERIFY(click(&w, "crumb_0"));
    QTRY_VERIFY(w.findChildren<NetRequestObjecet *>().isEmpty());
    QCOMPARE(m_server.requestsTo(sub()).size(), 2);
    QCOMPARE(w.trail(), QStringList{"安家房产"});
    QVERIFY(!child(&w, "choose_person_5002"));
}

QTEST_MAIN(TestPersonChooser)
#include "tst_personchooser.moc"
