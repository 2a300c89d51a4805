// Writing follow-ups and handling call recordings against a recording server: the exact
// forms that reach the server (tags, reminders, hostile text), the refusals that keep a
// request from leaving, the confirmations before a deletion or a hiding, and the player
// window a recording opens in.
#include "alertrecorder.h"
#include "detail/follow/customeraddfollowwidget.h"
#include "detail/follow/followlistwidget.h"
#include "detail/follow/housebookdetailfollowhistorywidget.h"
#include "detail/follow/housebookdetailrecordingaddfollowwidget.h"
#include "detail/follow/housebookdetailrecordingitemview.h"
#include "detail/follow/recordingplayer.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "platform/siblinglibrary.h"
#include "recordingserver.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/datetimechoosewidget.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>
#include <QtTest>

using FormMap = QMap<QString, QString>;

namespace {

constexpr int kHouse = 42;

QString pathOf(const QString &url)
{
    return QUrl(url).path();
}

QString postsPath() { return pathOf(Endpoints::instance().app_followposts); }
QString addPath() { return pathOf(Endpoints::instance().app_followadd); }

RecordingServer::Reply page(const QJsonArray &rows, int total)
{
    return RecordingServer::envelope(200, QJsonObject{{"list", rows}, {"total", total}, {"pagesize", 10}});
}

QJsonObject recording(int id, int recordId, bool hidden)
{
    return {{"id", id}, {"username", "张三"}, {"time", "2024-03-01 10:00"}, {"content", "通话 35 秒"},
            {"own", 1}, {"recordhidden", hidden ? 1 : 0}, {"recordid", recordId}};
}

// A text an agent might paste: quotes, ampersands, percent signs, emoji, and 5,000 characters.
QString hostileText()
{
    QString text = QStringLiteral("他说\"先看看\" & 'ok' 100% a=b&c=d+e 🏠👍🏽\n第二行");
    while (text.size() < 5000)
        text += QStringLiteral("长文本%&");
    return text.left(5000);
}

template <typename T>
T *child(QObject *parent, const QString &name = QString())
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qWarning() << "missing child" << name;
    return found;
}

// Calls the test player library's record of what it was asked to show.
int playerCalls(QString *url, QString *title)
{
    using Last = int (*)(QString *, QString *, int *, int *);
    auto last = reinterpret_cast<Last>(QLibrary(SiblingLibrary::filePath("qx_testplayer.dll")).resolve("lastPlayerCall"));
    int width = 0, height = 0;
    return last ? last(url, title, &width, &height) : -1;
}

} // namespace

class TestFollow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addFollowSendsTextAndTags_data();
    void addFollowSendsTextAndTags();
    void emptyTextIsRefused_data();
    void emptyTextIsRefused();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void tagNames_data();
    void tagNames();
    void removingTagPostsIt();
    void reminderForm_data();
    void reminderForm();
    void hideAndUnhide_data();
    void hideAndUnhide();
    void play_data();
    void play();
    void recordingFollowUpGoesIntoRow();

private:
    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
};

void TestFollow::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().app_followadd.startsWith(m_server.baseUrl()));
}

void TestFollow::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject()));
    m_server.setReply(postsPath(), page({}, 0));
    m_server.setReply(pathOf(Endpoints::instance().app_gettag),
                      RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray{"学区", "满五"}}}));
    m_server.setReply(addPath(), RecordingServer::envelope(200, QJsonObject{{"id", 9}}));
}

void TestFollow::cleanup()
{
    // A box asked for shows a moment later: it belongs to this test, not the next.
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    m_alerts.reset();
    m_host.reset();
}

void TestFollow::addFollowSendsTextAndTags_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("pick");
    QTest::addColumn<bool>("urgent");
    QTest::addColumn<bool>("important");
    QTest::addColumn<QString>("tag");

    QTest::newRow("urgent and important") << "业主同意降价" << "" << true << true << "加急,重要";
    QTest::newRow("listed tag before the marks") << "带看两组" << "满五" << true << false << "满五,加急";
    QTest::newRow("no tags") << "电话未接" << "" << false << false << "";
    QTest::newRow("hostile text arrives unchanged") << hostileText() << "" << false << true << "重要";
}

void TestFollow::addFollowSendsTextAndTags()
{
    QFETCH(QString, content);
    QFETCH(QString, pick);
    QFETCH(bool, urgent);
    QFETCH(bool, important);
    QFETCH(QString, tag);

    HouseBookDetailFollowHistoryWidget w;
    QSignalSpy saved(&w, &FollowListWidget::followSuccess);
    w.showHouse(kHouse, false);
    QTRY_VERIFY(w.findChild<QWidget *>("tag_满五"));
    if (!pick.isEmpty())
        child<QPushButton>(child<QWidget>(&w, "tag_" + pick), "pickTagButton")->click();
    child<QCheckBox>(&w, "urgentBox")->setChecked(urgent);
    child<QCheckBox>(&w, "importantBox")->setChecked(important);
    child<QPlainTextEdit>(&w, "followEdit")->setPlainText(content);
    child<QPushButton>(&w, "followButton")->click();

    QTRY_COMPARE(m_server.requestsTo(addPath()).size(), 1);
    const FormMap expected{{"type", "1"}, {"id", "42"}, {"content", content}, {"tag", tag}, {"lianmai", "1"}};
    QCOMPARE(m_server.requestsTo(addPath()).first().form, expected);
    // Saved: the list starts again from its first page and the first page hears of it.
    QTRY_COMPARE(saved.count(), 1);
    QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 2);
    QCOMPARE(m_server.requestsTo(postsPath()).last().form.value("pageindex"), QString("1"));
    QCOMPARE(child<QPlainTextEdit>(&w, "followEdit")->toPlainText(), QString());
    QCOMPARE(m_alerts->count(), 0);
}

void TestFollow::emptyTextIsRefused_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("content");

    enum { Simple, Dialog, Recording };
    QTest::newRow("listing tab, nothing typed") << int(Simple) << "";
    QTest::newRow("listing tab, blanks only") << int(Simple) << " \n\t ";
    QTest::newRow("entry dialog, nothing typed") << int(Dialog) << "";
    QTest::newRow("recording follow-up, blanks only") << int(Recording) << "   ";
}

void TestFollow::emptyTextIsRefused()
{
    QFETCH(int, form);
    QFETCH(QString, content);

    QScopedPointer<QWidget> w;
    if (form == 0) {
        auto *list = new HouseBookDetailFollowHistoryWidget;
        list->showHouse(kHouse, false);
        w.reset(list);
        child<QPlainTextEdit>(list, "followEdit")->setPlainText(content);
        child<QPushButton>(list, "followButton")->click();
    } else if (form == 1) {
        auto *dialog = new CustomerAddFollowWidget(kHouse, false);
        w.reset(dialog);
        child<QPlainTextEdit>(dialog, "contentEdit")->setPlainText(content);
        dialog->submitData();
    } else {
        auto *dialog = new HouseBookDetailRecordingAddFollowWidget(5);
        w.reset(dialog);
        child<QPlainTextEdit>(dialog, "contentEdit")->setPlainText(content);
        dialog->submitData();
    }
    QTRY_COMPARE(m_alerts->texts(), QStringList{"请填入跟进内容后再提交！"});
    QCOMPARE(m_server.requestsTo(addPath()).size(), 0);
    QCOMPARE(m_server.requestsTo(pathOf(Endpoints::instance().call_followcall)).size(), 0);
}

void TestFollow::deleteAsksFirst_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("deletes");

    QTest::newRow("confirmed") << int(AlertWidget::Sure) << 1;
    QTest::newRow("cancelled") << int(AlertWidget::Cancle) << 0;
}

void TestFollow::deleteAsksFirst()
{
    QFETCH(int, answer);
    QFETCH(int, deletes);
    const QString delPath = pathOf(Endpoints::instance().app_followdel);
    m_server.setReply(postsPath(), page({QJsonObject{{"id", 7}, {"username", "我"}, {"content", "旧的"}, {"own", 1}},
                                         QJsonObject{{"id", 8}, {"username", "别人"}, {"content", "别人的"}, {"own", 0}}},
                                        2));
    m_alerts->answerWith(AlertWidget::Answer(answer));

    HouseBookDetailFollowHistoryWidget w;
    w.showHouse(kHouse, false);
    QTRY_COMPARE(w.rows().size(), 2);
    // Only one's own follow-up offers deletion.
    QTRY_COMPARE(w.findChildren<QPushButton *>("deleteButton").size(), 1);
    w.findChildren<QPushButton *>("deleteButton").first()->click();

    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QString("您确定要删除该项吗？"));
    QVERIFY(m_alerts->last().buttons.contains("删除"));
    QTRY_COMPARE(m_server.requestsTo(delPath).size(), deletes);
    if (deletes) {
        QCOMPARE(m_server.requestsTo(delPath).first().form, (FormMap{{"id", "7"}, {"lianmai", "1"}}));
        QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 2);
    } else {
        QCOMPARE(m_server.requestsTo(postsPath()).size(), 1);
    }
}

void TestFollow::tagNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("refusal");

    QTest::newRow("six characters") << "六个字的标签" << "";
    QTest::newRow("seven characters") << "七个字的标签名" << "标签名最多6个字符！";
    // Six emoji with skin tones are 24 UTF-16 units but six characters to the agent.
    QTest::newRow("six emoji") << "👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽" << "";
    QTest::newRow("seven emoji") << "👍🏽👍🏽👍🏽👍🏽👍🏽👍🏽🏠" << "标签名最多6个字符！";
    QTest::newRow("empty") << "" << "请填入标签名后再提交！";
    QTest::newRow("blanks") << "   " << "请填入标签名后再提交！";
}

void TestFollow::tagNames()
{
    QFETCH(QString, name);
    QFETCH(QString, refusal);
    const QString addTagPath = pathOf(Endpoints::instance().app_addtag);
    const QString getTagPath = pathOf(Endpoints::instance().app_gettag);

    HouseBookDetailFollowHistoryWidget w;
    w.showHouse(kHouse, true);
    QTRY_COMPARE(m_server.requestsTo(getTagPath).size(), 1);
    QCOMPARE(m_server.requestsTo(getTagPath).first().form, (FormMap{{"type", "2"}, {"lianmai", "1"}}));
    child<QPushButton>(&w, "addTagButton")->click();
    QTRY_VERIFY(w.findChild<QLineEdit *>("tagEdit"));
    child<QLineEdit>(&w, "tagEdit")->setText(name);
    child<QPushButton>(&w, "submitTagButton")->click();

    if (!refusal.isEmpty()) {
        QTRY_COMPARE(m_alerts->texts(), QStringList{refusal});
        QCOMPARE(m_server.requestsTo(addTagPath).size(), 0);
        QCOMPARE(child<QLineEdit>(&w, "tagEdit")->text(), name);
        return;
    }
    QTRY_COMPARE(m_server.requestsTo(addTagPath).size(), 1);
    QCOMPARE(m_server.requestsTo(addTagPath).first().form, (FormMap{{"type", "2"}, {"tag", name}, {"lianmai", "1"}}));
    QTRY_COMPARE(m_server.requestsTo(getTagPath).size(), 2);
    QTRY_VERIFY(!w.findChild<QLineEdit *>("tagEdit"));
    QCOMPARE(m_alerts->count(), 0);
}

void TestFollow::removingTagPostsIt()
{
    const QString delTagPath = pathOf(Endpoints::instance().app_deltag);
    CustomerAddFollowWidget dialog(kHouse, false);
    QTRY_VERIFY(dialog.findChild<QWidget *>("tag_学区"));
    child<QPushButton>(child<QWidget>(&dialog, "tag_学区"), "removeTagButton")->click();
    QTRY_COMPARE(m_server.requestsTo(delTagPath).size(), 1);
    QCOMPARE(m_server.requestsTo(delTagPath).first().form, (FormMap{{"type", "1"}, {"tag", "学区"}, {"lianmai", "1"}}));
    QTRY_COMPARE(m_server.requestsTo(pathOf(Endpoints::instance().app_gettag)).size(), 2);
}

void TestFollow::reminderForm_data()
{
    QTest::addColumn<bool>("remind");
    QTest::addColumn<FormMap>("form");

    const FormMap base{{"type", "2"}, {"id", "42"}, {"content", "约周六看房"}, {"tag", "加急,重要"}, {"lianmai", "1"}};
    FormMap withReminder = base;
    withReminder.insert({{"tixing", "1"}, {"startdate", "2030-05-06"}, {"starthour", "9"}, {"startminute", "05"},
                         {"tixinguserid", "77"}, {"contents", "带钥匙 & 合同"}});
    QTest::newRow("reminder for a colleague") << true << withReminder;
    QTest::newRow("reminder left off") << false << base;
}

void TestFollow::reminderForm()
{
    QFETCH(bool, remind);
    QFETCH(FormMap, form);

    CustomerAddFollowWidget dialog(kHouse, true);
    QSignalSpy saved(&dialog, &CustomerAddFollowWidget::followSuccess);
    QSignalSpy closed(&dialog, &CustomerAddFollowWidget::closeWidget);
    // The chosen moment and person come through the two choosers, open while reminding is on.
    child<QCheckBox>(&dialog, "remindBox")->setChecked(true);
    child<QPushButton>(&dialog, "chooseDateButton")->click();
    auto *date = child<DateTimeChooseWidget>(&dialog);
    QVERIFY(date);
    QCOMPARE(date->format(), QString("yyyy-MM-dd H:mm"));
    date->setText("2030-05-06 9:05");
    date->sure();
    child<QPushButton>(&dialog, "choosePersonButton")->click();
    auto *people = child<PersonOrDepartmentChooseWidget>(&dialog);
    QVERIFY(people);
    emit people->backSingleChoose({{"id", 77}, {"name", "王五"}, {"nodeType", "person"}});
    QCOMPARE(child<QPushButton>(&dialog, "choosePersonButton")->text(), QString("王五"));

    child<QCheckBox>(&dialog, "remindBox")->setChecked(remind);
    child<QCheckBox>(&dialog, "urgentBox")->setChecked(true);
    child<QCheckBox>(&dialog, "importantBox")->setChecked(true);
    child<QPlainTextEdit>(&dialog, "contentEdit")->setPlainText("约周六看房");
    child<QLineEdit>(&dialog, "remindContentEdit")->setText("带钥匙 & 合同");
    child<QPushButton>(&dialog, "submitButton")->click();

    QTRY_COMPARE(m_server.requestsTo(addPath()).size(), 1);
    QCOMPARE(m_server.requestsTo(addPath()).first().form, form);
    QTRY_COMPARE(saved.count(), 1);
    QCOMPARE(closed.count(), 1);
}

void TestFollow::hideAndUnhide_data()
{
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("state");

    QTest::newRow("hide") << false << HouseBookDetailRecordingItemView::hideQuestion() << "隐藏" << "1";
    QTest::newRow("unhide") << true << HouseBookDetailRecordingItemView::unhideQuestion() << "取消隐藏" << "2";
}

void TestFollow::hideAndUnhide()
{
    QFETCH(bool, hidden);
    QFETCH(QString, question);
    QFETCH(QString, button);
    QFETCH(QString, state);
    const QString hidePath = pathOf(Endpoints::instance().call_recordhidden);
    m_server.setReply(postsPath(), page({recording(3, 555, hidden)}, 1));
    m_alerts->answerWith(AlertWidget::Sure);

    HouseBookDetailFollowHistoryWidget w;
    w.showHouse(kHouse, false);
    QTRY_VERIFY(w.findChild<HouseBookDetailRecordingItemView *>());
    QCOMPARE(bool(w.findChild<QLabel *>("hiddenLabel")), hidden);
    if (hidden)
        QCOMPARE(child<QLabel>(&w, "hiddenLabel")->text(), QString("已隐藏"));
    auto *hide = child<QPushButton>(&w, "hideButton");
    QCOMPARE(hide->text(), button);
    hide->click();

    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, question);
    QVERIFY(m_alerts->last().buttons.contains(button));
    QTRY_COMPARE(m_server.requestsTo(hidePath).size(), 1);
    QCOMPARE(m_server.requestsTo(hidePath).first().form,
             (FormMap{{"type", "1"}, {"id", "555"}, {"state", state}, {"lianmai", "1"}}));
    QTRY_COMPARE(m_server.requestsTo(postsPath()).size(), 2);
}

void TestFollow::play_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("alert");

    QTest::newRow("still converting") << "" << "qx_testplayer.dll" << "录音内容正在转码处理中，请稍后再进行访问！";
    QTest::newRow("ready") << "http://media.test/rec 1.mp3?a=1&b=2" << "qx_testplayer.dll" << "";
    QTest::newRow("browser library missing") << "http://media.test/rec.mp3" << "qx_absentplayer.dll"
                                             << "缺少<qx_absentplayer>组件！";
}

void TestFollow::play()
{
    QFETCH(QString, url);
    QFETCH(QString, library);
    QFETCH(QString, alert);
    const QString filePath = pathOf(Endpoints::instance().call_getrecordfileX);
    m_server.setReply(filePath, RecordingServer::envelope(200, QJsonObject{{"url", url}},
                                                          url.isEmpty() ? "录音内容正在转码处理中，请稍后再进行访问！" : ""));
    QString shownUrl, title;
    const int before = playerCalls(&shownUrl, &title);
    QVERIFY(before >= 0);

    HouseBookDetailRecordingItemView row(HouseBookFollowData_Model::ListData::fromJson(recording(3, 555, false)));
    row.setPlayerLibrary(library);
    child<QPushButton>(&row, "playButton")->click();
    QCOMPARE(child<BusyOverlay>(&row)->text(), QString("获取录音中..."));
    QTRY_COMPARE(m_server.requestsTo(filePath).size(), 1);
    QCOMPARE(m_server.requestsTo(filePath).first().form, (FormMap{{"id", "555"}}));

    if (!alert.isEmpty()) {
        QTRY_COMPARE(m_alerts->texts(), QStringList{alert});
        QCOMPARE(playerCalls(&shownUrl, &title), before);
        return;
    }
    QTRY_COMPARE(playerCalls(&shownUrl, &title), before + 1);
    QCOMPARE(title, QString("录音播放"));
    QCOMPARE(QUrl(shownUrl).path(), pathOf(Endpoints::instance().call_player_html));
    QCOMPARE(QUrlQuery(QUrl(shownUrl)).queryItemValue("url", QUrl::FullyDecoded), url);
    QCOMPARE(m_alerts->count(), 0);
}

void TestFollow::recordingFollowUpGoesIntoRow()
{
    const QString callPath = pathOf(Endpoints::instance().call_followcall);
    HouseBookDetailRecordingItemView row(HouseBookFollowData_Model::ListData::fromJson(recording(3, 555, false)));
    child<QPushButton>(&row, "addFollowButton")->click();
    auto *dialog = child<HouseBookDetailRecordingAddFollowWidget>(&row);
    QVERIFY(dialog);
    auto *popup = qobject_cast<CommonAddWidget *>(dialog->window());
    QVERIFY(popup);
    QCOMPARE(popup->title(), QString("录音跟进"));
    child<QPlainTextEdit>(dialog, "contentEdit")->setPlainText("客户要再考虑 & 回电");
    child<QPushButton>(dialog, "submitButton")->click();
    QCOMPARE(child<BusyOverlay>(dialog)->text(), QString("提交跟进内容中..."));

    QTRY_COMPARE(m_server.requestsTo(callPath).size(), 1);
    QCOMPARE(m_server.requestsTo(callPath).first().form, (FormMap{{"id", "555"}, {"content", "客户要再考虑 & 回电"}}));
    QTRY_COMPARE(child<QLabel>(&row, "contentLabel")->text(), QString("通话 35 秒\n客户要再考虑 & 回电"));
    QTRY_VERIFY(!row.findChild<HouseBookDetailRecordingAddFollowWidget *>());
}

QTEST_MAIN(TestFollow)
#include "tst_follow.moc"
