// The job permission editor: filling from stored entries and reading them back (entries of
// permissions it does not show included), the changes it reports, limits that take digits
// only, sub-options and the "必跟进" rights, and the range's department chooser against a
// recording server, chosen or cancelled.
#include "hostfixture.h"
#include "net/endpoints.h"
#include "recordingserver.h"
#include "settings/permissionhousebookwidget.h"
#include "settings/permissionrangechoosewidget.h"
#include "widgets/choosers/personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

namespace {

using Entries = QList<QVariantMap>;

QVariantMap dept(int id, const QString &name, bool withDown)
{
    return {{"dept_id", id}, {"dept_name", name}, {"with_down", withDown}};
}

QVariantMap entryOf(const Entries &list, int id)
{
    for (const QVariantMap &entry : list) {
        if (entry.value("id").toInt() == id)
            return entry;
    }
    return {};
}

template <typename T>
T *child(QWidget *w, const QString &name)
{
    return w->findChild<T *>(name);
}

QComboBox *rangeCombo(QWidget *page, int id)
{
    return child<QWidget>(page, QStringLiteral("permRange_%1").arg(id))->findChild<QComboBox *>("comboBox_range");
}

QString rangeLabel(QWidget *page, int id)
{
    return child<QWidget>(page, QStringLiteral("permRange_%1").arg(id))->findChild<QLabel *>("label_bumens")->text();
}

// Picks a range entry as the agent does.
void pickRange(QWidget *page, int id, const QString &text)
{
    QComboBox *combo = rangeCombo(page, id);
    combo->setCurrentIndex(combo->findText(text));
    emit combo->activated(combo->currentIndex());
}

const Entries &storedEntries()
{
    static const Entries entries{
        {{"id", 36}, {"selected", true}, {"range", 5},
         {"bumens", QVariantList{dept(10101, "蜀山大区", true), dept(10111, "天鹅湖店", false)}}},
        {{"id", 114}, {"selected", true}, {"range", 2}, {"sons", QStringList{"已售", "暂不售"}}},
        {{"id", 59}, {"selected", true}, {"range", 1},
         {"sons", QVariantList{QVariantMap{{"name", "已租"}}, QVariantMap{{"name", "暂不租"}}}}},
        {{"id", 29}, {"selected", true}, {"count", 50}},
        {{"id", 132}, {"selected", true}, {"count", 0}},
        {{"id", 999}, {"selected", true}, {"note", "another client's right"}},
    };
    return entries;
}

} // namespace

class TestPermissionPage : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void fillsFromEntriesAndReadsBack();
    void changesReportEntries_data();
    void changesReportEntries();
    void limitsTakeDigitsOnly_data();
    void limitsTakeDigitsOnly();
    void untickingClosesAndClearsSubOptions();
    void followRightsFollowTheirViewRights();
    void chosenDepartmentsBecomeTheRange_data();
    void chosenDepartmentsBecomeTheRange();
    void cancelledChooserRestoresRange();

private:
    CommonAddWidget *popupOf(QWidget *owner) const { return owner->window()->findChild<CommonAddWidget *>(); }

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QPointer<PermissionHouseBookWidget> m_page;
};

void TestPermissionPage::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
}

void TestPermissionPage::init()
{
    delete m_page;
    m_host.reset(new HostFixture);
    m_server.clearRequests();
    const QJsonArray depts{QJsonObject{{"dept_id", 10101}, {"dept_name", "蜀山大区"}},
                           QJsonObject{{"dept_id", 10102}, {"dept_name", "包河大区"}}};
    const auto top = RecordingServer::envelope(200, QJsonObject{{"dept_name", "安家房产"}, {"depts", depts}, {"users", QJsonArray()}});
    m_server.setReply(QUrl(Endpoints::instance().omp_lwpV2).path(), top);
    m_server.setReply(QUrl(Endpoints::instance().lmai_lwpV2).path(), top);
    m_page = new PermissionHouseBookWidget(m_host->mainWindow());
    m_page->show();
}

void TestPermissionPage::fillsFromEntriesAndReadsBack()
{
    QSignalSpy changes(m_page.data(), &PermissionHouseBookWidget::valueChange);
    m_page->setPermissionList(storedEntries());
    QCOMPARE(changes.count(), 0);

    QVERIFY(child<QCheckBox>(m_page, "permCheck_36")->isChecked() && !child<QCheckBox>(m_page, "permCheck_8")->isChecked());
    QCOMPARE(rangeCombo(m_page, 36)->currentText(), QStringLiteral("指定部门"));
    QCOMPARE(rangeLabel(m_page, 36), QStringLiteral("蜀山大区(含以下)、天鹅湖店"));
    QCOMPARE(rangeCombo(m_page, 9)->currentText(), QStringLiteral("默认范围"));
    QCOMPARE(child<QLineEdit>(m_page, "permCount_29")->text(), QStringLiteral("50"));
    QCOMPARE(child<QLineEdit>(m_page, "permCount_132")->text(), QString());  // shows "不限"
    QVERIFY(child<QCheckBox>(m_page, "permSon_114_1")->isChecked() && !child<QCheckBox>(m_page, "permSon_114_0")->isChecked());
    QVERIFY(child<QCheckBox>(m_page, "permSon_59_5")->isChecked());  // 暂不租, given as an object

    const Entries list = m_page->permissionList();
    QCOMPARE(list.size(), 43);
    QCOMPARE(list.first().value("id").toInt(), 200);
    QCOMPARE(list.last(), storedEntries().last());
    const QVariantMap e36 = entryOf(list, 36);
    QCOMPARE(e36.value("range").toInt(), 5);
    QCOMPARE(e36.value("bumens").toList(), (QVariantList{dept(10101, "蜀山大区", true), dept(10111, "天鹅湖店", false)}));
    QCOMPARE(entryOf(list, 114).value("sons").toStringList(), (QStringList{"已售", "暂不售"}));
    QCOMPARE(entryOf(list, 59).value("sons").toStringList(), (QStringList{"已租", "暂不租"}));
    QCOMPARE(entryOf(list, 29).value("count").toInt(), 50);
    QCOMPARE(entryOf(list, 132).value("count").toInt(), 0);
    QCOMPARE(entryOf(list, 9).value("range").toInt(), 0);

    // The team page fills the same editor for one job after another: nothing of the last stays.
    m_page->setPermissionList({{{"id", 29}, {"selected", false}, {"count", 7}}});
    const Entries next = m_page->permissionList();
    QCOMPARE(next.size(), 42);
    QVERIFY(!entryOf(next, 36).value("selected").toBool() && entryOf(next, 36).value("bumens").toList().isEmpty());
    QCOMPARE(rangeLabel(m_page, 36), QString());
    QVERIFY(entryOf(next, 114).value("sons").toList().isEmpty());
    QCOMPARE(entryOf(next, 29).value("count").toInt(), 7);
    QVERIFY(!child<QLineEdit>(m_page, "permCount_29")->isEnabled());
}

void TestPermissionPage::changesReportEntries_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("tick") << "click permCheck_7" << 7 << "selected" << QVariant(true);
    QTest::newRow("range") << "range 全公司" << 36 << "range" << QVariant(1);
    QTest::newRow("limit") << "type 8" << 29 << "count" << QVariant(508);
    QTest::newRow("sub-option") << "click permSon_114_0" << 114 << "sons" << QVariant(QStringList{"无效", "已售", "暂不售"});
    QTest::newRow("all sub-options") << "click permSonAll_59" << 59 << "sons"
                                     << QVariant(QStringList{"无效", "已租", "成交", "已定", "电话无效", "暂不租"});
}

void TestPermissionPage::changesReportEntries()
{
    QFETCH(QString, action);
    QFETCH(int, id);
    QFETCH(QString, key);
    QFETCH(QVariant, expected);

    m_page->setPermissionList(storedEntries());
    QSignalSpy changes(m_page.data(), &PermissionHouseBookWidget::valueChange);
    const QString arg = action.section(' ', 1);
    if (action.startsWith("click"))
        child<QAbstractButton>(m_page, arg)->click();
    else if (action.startsWith("range"))
        pickRange(m_page, id, arg);
    else
        QTest::keyClicks(child<QLineEdit>(m_page, "permCount_29"), arg);

    QCOMPARE(changes.count(), 1);
    const Entries reported = changes.first().first().value<Entries>();
    QCOMPARE(reported, m_page->permissionList());
    const QVariant value = entryOf(reported, id).value(key);
    if (expected.type() == QVariant::StringList)
        QCOMPARE(value.toStringList(), expected.toStringList());
    else
        QCOMPARE(value.toString(), expected.toString());
    // The range left "指定部门": its departments no longer apply.
    if (key == "range")
        QVERIFY(entryOf(reported, id).value("bumens").toList().isEmpty() && rangeLabel(m_page, id).isEmpty());
}

void TestPermissionPage::limitsTakeDigitsOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("count");

    QTest::newRow("letters dropped") << "1a2b" << "12" << 12;
    QTest::newRow("no sign") << "-30" << "30" << 30;
    // A longer number would not fit the stored integer and read back as 0 ("不限").
    QTest::newRow("nine digits at most") << "12345678901" << "123456789" << 123456789;
}

void TestPermissionPage::limitsTakeDigitsOnly()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(int, count);

    m_page->setPermissionList({{{"id", 132}, {"selected", true}}});
    QLineEdit *edit = child<QLineEdit>(m_page, "permCount_132");
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);
    QCOMPARE(entryOf(m_page->permissionList(), 132).value("count").toInt(), count);
}

void TestPermissionPage::untickingClosesAndClearsSubOptions()
{
    m_page->setPermissionList(storedEntries());
    QCheckBox *all = child<QCheckBox>(m_page, "permSonAll_114");
    QVERIFY(!all->isChecked());
    // Ticking every sub-option one by one ticks "全部"; unticking one takes it off.
    for (int n : {0, 2, 3, 4})
        child<QCheckBox>(m_page, QStringLiteral("permSon_114_%1").arg(n))->click();
    QVERIFY(all->isChecked());
    child<QCheckBox>(m_page, "permSon_114_3")->click();
    QVERIFY(!all->isChecked());

    child<QCheckBox>(m_page, "permCheck_114")->click();
    const QVariantMap unticked = entryOf(m_page->permissionList(), 114);
    QVERIFY(unticked.value("sons").toList().isEmpty());
    QCOMPARE(unticked.value("range").toInt(), 2);  // kept for when it is ticked again
    QVERIFY(!child<QCheckBox>(m_page, "permSon_114_1")->isEnabled() && !all->isEnabled());
    QVERIFY(!rangeCombo(m_page, 114)->isEnabled());
    child<QCheckBox>(m_page, "permCheck_114")->click();
    QVERIFY(child<QCheckBox>(m_page, "permSon_114_1")->isEnabled() && rangeCombo(m_page, 114)->isEnabled());
}

void TestPermissionPage::followRightsFollowTheirViewRights()
{
    // Stored ticks show as stored, even without a view right.
    m_page->setPermissionList({{{"id", 33}, {"selected", true}}});
    QCheckBox *privateFollow = child<QCheckBox>(m_page, "permCheck_33");
    QVERIFY(privateFollow->isChecked() && privateFollow->isEnabled());

    QCheckBox *follow = child<QCheckBox>(m_page, "permCheck_30");
    QVERIFY(!follow->isEnabled());
    child<QCheckBox>(m_page, "permCheck_153")->click();
    child<QCheckBox>(m_page, "permCheck_154")->click();
    QVERIFY(follow->isEnabled());
    follow->click();
    child<QCheckBox>(m_page, "permCheck_153")->click();
    QVERIFY(follow->isChecked());  // 154 still viewable

    child<QCheckBox>(m_page, "permCheck_154")->click();
    QVERIFY(!follow->isChecked() && !follow->isEnabled());
    QVERIFY(!entryOf(m_page->permissionList(), 30).value("selected").toBool());
    QVERIFY(entryOf(m_page->permissionList(), 33).value("selected").toBool());
}

void TestPermissionPage::chosenDepartmentsBecomeTheRange_data()
{
    QTest::addColumn<bool>("alliance");
    QTest::newRow("own company") << false;
    QTest::newRow("alliance") << true;
}

void TestPermissionPage::chosenDepartmentsBecomeTheRange()
{
    QFETCH(bool, alliance);
    m_page->setAllianceScope(alliance);
    m_page->setPermissionList({{{"id", 48}, {"selected", true}, {"range", 5}, {"bumens", QVariantList{dept(10102, "包河大区", false)}}}});
    auto *range = child<PermissionRangeChooseWidget>(m_page, "permRange_48");
    QSignalSpy chosen(range, &PermissionRangeChooseWidget::backChoose);
    QSignalSpy changes(m_page.data(), &PermissionHouseBookWidget::valueChange);

    pickRange(m_page, 48, "指定部门");
    QPointer<CommonAddWidget> popup = popupOf(m_page);
    QVERIFY(popup);
    QCOMPARE(popup->title(), QStringLiteral("选择指定部门"));
    auto *chooser = qobject_cast<PersonOrDepartmentChooseWidget *>(popup->contentWidget());
    QVERIFY(chooser && chooser->isMultiple() && chooser->chooseKind() == PersonOrDepartmentChooseWidget::Departments);
    QCOMPARE(chooser->chosen().size(), 1);  // starts on the stored departments
    QTRY_VERIFY(child<QCheckBox>(chooser, "choose_dept_10101"));
    const QString asked = QUrl(alliance ? Endpoints::instance().lmai_lwpV2 : Endpoints::instance().omp_lwpV2).path();
    QCOMPARE(m_server.requestsTo(asked).size(), 1);
    child<QCheckBox>(chooser, "choose_dept_10101")->click();
    child<QCheckBox>(chooser, "withDown_dept_10101")->click();
    child<QAbstractButton>(chooser, "pushButton_sure")->click();

    QTRY_VERIFY(popup.isNull());
    QCOMPARE(chosen.count(), 1);
    QCOMPARE(chosen.first().at(0).toInt(), 5);
    const Entries expected{dept(10102, "包河大区", false), dept(10101, "蜀山大区", true)};
    QCOMPARE(chosen.first().at(1).value<Entries>(), expected);
    QCOMPARE(rangeLabel(m_page, 48), QStringLiteral("包河大区、蜀山大区(含以下)"));
    QCOMPARE(changes.count(), 1);
    QCOMPARE(entryOf(changes.first().first().value<Entries>(), 48).value("bumens").toList(),
             (QVariantList{expected.at(0), expected.at(1)}));
}

void TestPermissionPage::cancelledChooserRestoresRange()
{
    m_page->setPermissionList({{{"id", 36}, {"selected", true}, {"range", 2}}});
    QSignalSpy changes(m_page.data(), &PermissionHouseBookWidget::valueChange);
    pickRange(m_page, 36, "指定部门");
    QPointer<CommonAddWidget> popup = popupOf(m_page);
    QVERIFY(popup);
    // A second pick while the chooser is open does not open another.
    pickRange(m_page, 36, "指定部门");
    QCOMPARE(m_page->window()->findChildren<CommonAddWidget *>().size(), 1);

    child<QAbstractButton>(popup, "closeButton")->click();
    QTRY_VERIFY(popup.isNull());
    QCOMPARE(rangeCombo(m_page, 36)->currentText(), QStringLiteral("仅自己"));
    QCOMPARE(entryOf(m_page->permissionList(), 36).value("range").toInt(), 2);
    QCOMPARE(changes.count(), 0);
}

QTEST_MAIN(TestPermissionPage)
#include "tst_permissionpage.moc"
