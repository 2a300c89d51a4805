// The four evidence forms of a role against a recording server: the refusals of a submit in
// their order, the post of each form with its uploaded photos, the notice of a self-approved
// entry, a failed upload or post that keeps the agent's work, the commission form's
// verifiers and edit mode, the contract chooser's lines and the settings library.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "net/photocompression.h"
#include "recordingserver.h"
#include "separation/evidencechoicebutton.h"
#include "separation/evidencecontractchoosewidget.h"
#include "separation/evidencephotogroup.h"
#include "separation/evidencetexts.h"
#include "separation/houseseperate_editcompelatewidget.h"
#include "separation/houseseperate_editkeymessagewidget.h"
#include "separation/houseseperate_editvipmessagewidget.h"
#include "separation/houseseperate_editweituomessagewidget.h"
#include "widgets/busyoverlay.h"

#include <QComboBox>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QUrl>
#include <QtTest>

namespace {

enum Form { Key, DuJia, Deal, WeiTuo };
using FormMap = QMap<QString, QString>;

QString pathOf(const QString &url) { return QUrl(url).path(); }
QString uploadPath() { return pathOf(Endpoints::instance().photoUpload); }
QString promotionPath() { return pathOf(Endpoints::instance().xinfuli_getCompanyPromotion); }
QString detailPath() { return pathOf(Endpoints::instance().fd_hbfendandetail); }

QString postPath(int form)
{
    const Endpoints &e = Endpoints::instance();
    const QString urls[] = {e.fd_hbaddkey, e.fd_hbdujia, e.fd_hbchengjiao, e.fd_hbweituo};
    return pathOf(urls[form]);
}

RecordingServer::Reply promotion(int heyan, const QJsonArray &verifiers = {})
{
    return RecordingServer::envelope(200, QJsonObject{{"heyan", heyan}, {"heyanren", verifiers}});
}

const QJsonObject kOwner{{"id", 31}, {"name", "张三"}, {"type", "业主"}, {"idcard", "340104198001011234"}, {"isweituo", 1}};
const QJsonObject kAgent{{"id", "32"}, {"name", "李四"}, {"type", "代理人"}, {"idcard", ""}, {"isweituo", "0"}};

QJsonArray urls(const QString &json)
{
    QJsonArray out;
    for (const QJsonValue &v : QJsonDocument::fromJson(json.toUtf8()).array())
        out.append(v.toObject().value("url"));
    return out;
}

} // namespace

class TestSeperateEvidenceForms : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void templateFill_data();
    void templateFill();
    void verifierText_data();
    void verifierText();
    void refusalsInOrder_data();
    void refusalsInOrder();
    void postsUploadedPhotos_data();
    void postsUploadedPhotos();
    void selfApprovalNotice_data();
    void selfApprovalNotice();
    void failedUploadKeepsWork();
    void failedPostKeepsWork();
    void commissionVerifiers();
    void commissionEditFillsEntry();
    void contractChooser_data();
    void contractChooser();
    void settingsLibrary();

private:
    SeparationEvidenceForm *open(int form, bool edit = false);
    // Adds n small pictures to a group through its chooser; with wait, until they are shrunk.
    void addLocal(EvidencePhotoGroup *group, int n, bool wait = true);
    template <typename T>
    T *child(const char *name) const { return m_form->findChild<T *>(QString::fromLatin1(name)); }
    BusyOverlay *busy() const { return m_form->findChild<BusyOverlay *>(); }
    void setKeyCode(const QString &code) { child<QLineEdit>("keyCodeEdit")->setText(code); }

    RecordingServer m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QScopedPointer<SeparationEvidenceForm> m_form;
    QTemporaryDir m_files;
    int m_fileCount = 0;
};

void TestSeperateEvidenceForms::initTestCase()
{
    QVERIFY(m_server.start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY(Endpoints::instance().photoUpload.startsWith(m_server.baseUrl()));
    PhotoCompression::setCacheRoot(m_files.path());
}

void TestSeperateEvidenceForms::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_server.clearRequests();
    m_server.setReply(promotionPath(), promotion(0));
    for (int form : {Key, DuJia, Deal, WeiTuo})
        m_server.setReply(postPath(form), RecordingServer::envelope(200, QJsonObject{{"id", 7}, {"pass", 0}}));
}

void TestSeperateEvidenceForms::cleanup()
{
    m_form.reset();
    // Boxes still open or on their way belong to this test only.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<AlertWidget *>(w))
            delete w;
    m_alerts.reset();
    m_host.reset();
}

SeparationEvidenceForm *TestSeperateEvidenceForms::open(int form, bool edit)
{
    HouseMessage_DataSqlTable::HouseMessageData house;
    house.id = 4711;
    house.name = QStringLiteral("天鹅湖小区");
    house.address = QStringLiteral("蜀山区天鹅湖路1号");
    HouseBookSeperateList_Model::ItemData row;
    row.id = QStringLiteral("88");
    row.type = form == Key ? 4 : form == DuJia ? 5 : form == Deal ? 6 : 2;
    switch (form) {
    case Key: m_form.reset(new HouseSeperate_EditKeyMessageWidget(house, row, edit)); break;
    case DuJia: m_form.reset(new HouseSeperate_EditVIPMessageWidget(house, row, edit)); break;
    case Deal: m_form.reset(new HouseSeperate_EditCompelateWidget(house, row, edit)); break;
    default: m_form.reset(new HouseSeperate_EditWeiTuoMessageWidget(house, row, edit)); break;
    }
    m_form->resize(700, 700);
    m_form->show();
    return m_form.data();
}

void TestSeperateEvidenceForms::addLocal(EvidencePhotoGroup *group, int n, bool wait)
{
    QStringList paths;
    for (int k = 0; k < n; ++k) {
        QImage image(64, 48, QImage::Format_RGB32);
        image.fill(qRgb(k * 40 % 256, 90, 160));
        paths << m_files.filePath(QStringLiteral("e%1.jpg").arg(m_fileCount++));
        QVERIFY(image.save(paths.last(), "JPEG"));
    }
    const int before = group->photos().size();
    m_form->setPhotoChooser([paths](QWidget *, const QString &, const QString &, const QString &) { return paths; });
    group->choose();
    if (wait)
        QTRY_COMPARE(group->photos().size(), before + n);
}

void TestSeperateEvidenceForms::templateFill_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QVariantMap>("record");
    QTest::addColumn<QString>("expected");
    const QString ele = QString::fromUtf8(EvidenceTexts::kEleContractLine);
    QTest::newRow("electronic contract")
        << ele << QVariantMap{{"contractno", "HT-001"}, {"typename", "独家委托"}, {"qianyueren", "王五"}, {"storename", "天鹅湖店"}}
        << "合同编号：HT-001 独家委托\n签约人：王五-天鹅湖店";
    QTest::newRow("missing members and a number")
        << ele << QVariantMap{{"contractno", 1001}} << "合同编号：1001 \n签约人：-";
    QTest::newRow("a value is never read as template")
        << "[w]a[cp]/[w]b[cp]" << QVariantMap{{"a", "[w]b[cp]"}, {"b", "%1 <b>&amp;"}} << "[w]b[cp]/%1 <b>&amp;";
    QTest::newRow("unclosed marker stays text") << "x[w]a" << QVariantMap{{"a", "1"}} << "x[w]a";
    QTest::newRow("empty name") << "[w][cp]!" << QVariantMap{{"", "z"}} << "z!";
}

void TestSeperateEvidenceForms::templateFill()
{
    QFETCH(QString, pattern);
    QFETCH(QVariantMap, record);
    QFETCH(QString, expected);
    QCOMPARE(EvidenceTexts::fill(pattern, record), expected);
}

void TestSeperateEvidenceForms::verifierText_data()
{
    QTest::addColumn<QVariantMap>("verifier");
    QTest::addColumn<QString>("expected");
    QTest::newRow("commission holder, 18 digits") << kOwner.toVariantMap() << "张三(业主)(委托人) 340****1234";
    QTest::newRow("agent without number") << kAgent.toVariantMap() << "李四(代理人)";
    QTest::newRow("number of 8") << QVariantMap{{"name", "赵"}, {"type", "业主"}, {"idcard", "12345678"}, {"isweituo", "1"}}
                                 << "赵(业主)(委托人) 123****5678";
    QTest::newRow("too short to keep both ends") << QVariantMap{{"name", "钱"}, {"type", "业主"}, {"idcard", "1234567"}}
                                                 << "钱(业主) ****";
}

void TestSeperateEvidenceForms::verifierText()
{
    QFETCH(QVariantMap, verifier);
    QFETCH(QString, expected);
    QCOMPARE(EvidenceTexts::verifierText(verifier), expected);
}

void TestSeperateEvidenceForms::refusalsInOrder_data()
{
    // setup: key (key number), dept, contract, photo:<group>, required (a verifier is), verifier (one chosen)
    QTest::addColumn<int>("form");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("key: nothing") << int(Key) << QStringList{} << "请输入钥匙编号！";
    QTest::newRow("key: blanks are no number") << int(Key) << QStringList{"dept"} << "请输入钥匙编号！";
    QTest::newRow("key: no department") << int(Key) << QStringList{"key"} << "请选择钥匙所在部门！";
    QTest::newRow("key: complete") << int(Key) << QStringList{"key", "dept"} << "";
    const QString dujia = QStringLiteral("请至少选择一个合同或者上传一张合同图片或房产证或身份证图片！");
    QTest::newRow("dujia: nothing") << int(DuJia) << QStringList{} << dujia;
    QTest::newRow("dujia: contract") << int(DuJia) << QStringList{"contract"} << "";
    QTest::newRow("dujia: deed photo") << int(DuJia) << QStringList{"photo:housecernum"} << "";
    QTest::newRow("dujia: identity photo") << int(DuJia) << QStringList{"photo:hostcernum"} << "";
    QTest::newRow("dujia: contract photo") << int(DuJia) << QStringList{"photo:contract"} << "";
    const QString contract = QStringLiteral("请至少选择一个合同或者上传一张合同照片！");
    QTest::newRow("deal: nothing") << int(Deal) << QStringList{} << contract;
    QTest::newRow("deal: contract") << int(Deal) << QStringList{"contract"} << "";
    QTest::newRow("deal: contract photo") << int(Deal) << QStringList{"photo:contract"} << "";
    QTest::newRow("weituo: deed photo is no contract") << int(WeiTuo) << QStringList{"photo:fangchanzheng"} << contract;
    QTest::newRow("weituo: contract beats verifier") << int(WeiTuo) << QStringList{"required"} << contract;
    QTest::newRow("weituo: verifier required") << int(WeiTuo) << QStringList{"required", "contract"} << "请选择核验人！";
    QTest::newRow("weituo: verifier chosen") << int(WeiTuo) << QStringList{"required", "contract", "verifier"} << "";
    QTest::newRow("weituo: verifier not required") << int(WeiTuo) << QStringList{"photo:contract"} << "";
}

void TestSeperateEvidenceForms::refusalsInOrder()
{
    QFETCH(int, form);
    QFETCH(QStringList, setup);
    QFETCH(QString, refusal);
    if (setup.contains("required"))
        m_server.setReply(promotionPath(), promotion(1, {kOwner, kAgent}));
    auto *f = open(form);
    if (form == WeiTuo)
        QTRY_COMPARE(child<QComboBox>("heyanrenCombo")->count(), setup.contains("required") ? 3 : 1);
    if (form == Key)
        setKeyCode(setup.contains("key") ? "K-12" : "   ");
    if (setup.contains("dept"))
        child<EvidenceChoiceButton>("keyDeptButton")->setChoice("12", "天鹅湖店");
    if (setup.contains("contract"))
        m_form->findChild<EvidenceChoiceButton *>(form == Deal ? "dealContractButton" : "eleContractButton")->setChoice("5", "HT-5");
    for (const QString &item : setup)
        if (item.startsWith("photo:"))
            f->photoGroup(item.mid(6))->setPhotos({"http://img.test/a.jpg"});
    if (setup.contains("verifier"))
        child<QComboBox>("heyanrenCombo")->setCurrentIndex(2);

    child<QPushButton>("submitButton")->click();
    if (refusal.isEmpty()) {
        QTRY_COMPARE(m_server.requestsTo(postPath(form)).size(), 1);
        QVERIFY(m_alerts->texts().isEmpty());
    } else {
        QTRY_COMPARE(m_alerts->texts(), QStringList{refusal});
        QVERIFY(child<QPushButton>("submitButton")->isEnabled());
        QCOMPARE(m_server.requestsTo(postPath(form)).size(), 0);
    }
}

void TestSeperateEvidenceForms::postsUploadedPhotos_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("photoKey");  // where the uploaded address is posted ("a/b": key a, JSON member b)
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("key") << int(Key) << "" << ""
                         << QStringList{"itemid", "keycode", "remark", "keydeptid", "keydeptname", "userid", "shoudate", "pass", "lianmai"};
    QTest::newRow("dujia") << int(DuJia) << "hostcernum" << "picturecontent/hostcernum"
                           << QStringList{"itemid", "housecernum", "hostcernum", "contract", "picturecontent", "endtime",
                                          "remark", "contractid", "pass", "lianmai"};
    QTest::newRow("deal") << int(Deal) << "contract" << "contract"
                          << QStringList{"itemid", "contract", "picturecontent", "remark", "contractid", "pass", "lianmai"};
    QTest::newRow("weituo") << int(WeiTuo) << "contract" << "contract"
                            << QStringList{"itemid", "contract", "fangchanzheng", "shenfenzheng_zhenmian", "shenfenzheng_fanmian",
                                           "weituoshu", "picturecontent", "remark", "weituocode", "heyancode", "heyanleixing",
                                           "heyanrenid", "heyanren", "userid", "contractid", "pass", "lianmai"};
}

void TestSeperateEvidenceForms::postsUploadedPhotos()
{
    QFETCH(int, form);
    QFETCH(QString, group);
    QFETCH(QString, photoKey);
    QFETCH(QStringList, keys);
    auto *f = open(form);
    const QString uploaded = m_server.baseUrl() + "/files/evidence/1.jpg";
    m_server.setReply(uploadPath(), RecordingServer::envelope(200, QJsonObject{{"url", uploaded}}, uploaded));
    if (form == Key) {
        setKeyCode("K&7=钥匙");
        child<EvidenceChoiceButton>("keyDeptButton")->setChoice("12", "天鹅湖店");
        child<EvidenceChoiceButton>("keyPeopleButton")->setChoice("604", "王五");
    } else {
        f->photoGroup(group)->setPhotos({"https://img.test/stored.jpg"});
        addLocal(f->photoGroup(group), 1);
    }
    child<QTextEdit>("remarkEdit")->setPlainText("备注 & 100%");
    child<QPushButton>("submitButton")->click();
    QCOMPARE(busy()->text(),
             QString(form == Key ? "提交钥匙信息中..." : form == Deal ? "提交成交信息中..." : "提交独家代理信息中..."));
    QTRY_COMPARE(m_server.requestsTo(postPath(form)).size(), 1);

    const FormMap posted = m_server.requestsTo(postPath(form)).first().form;
    QStringList sent = posted.keys(), wanted = keys;
    sent.sort();
    wanted.sort();
    QCOMPARE(sent, wanted);
    QCOMPARE(posted.value("itemid"), QStringLiteral("4711"));
    QCOMPARE(posted.value("pass"), QStringLiteral("1"));
    QCOMPARE(posted.value("lianmai"), QStringLiteral("1"));
    QCOMPARE(posted.value("remark"), QStringLiteral("备注 & 100%"));
    if (form == Key) {
        QCOMPARE(posted.value("keycode"), QStringLiteral("K&7=钥匙"));
        QCOMPARE(posted.value("keydeptid"), QStringLiteral("12"));
        QCOMPARE(posted.value("keydeptname"), QStringLiteral("天鹅湖店"));
        QCOMPARE(posted.value("userid"), QStringLiteral("604"));
        QCOMPARE(posted.value("shoudate"), QDate::currentDate().toString("yyyy-M-d"));
        QCOMPARE(m_server.requestsTo(uploadPath()).size(), 0);
        return;
    }
    // The photo went up before the post and its address replaced the local path.
    QCOMPARE(m_server.requestsTo(uploadPath()).size(), 1);
    const QStringList where = photoKey.split('/');
    QString json = posted.value(where.first());
    if (where.size() == 2)
        json = QString::fromUtf8(QJsonDocument(QJsonDocument::fromJson(json.toUtf8()).object().value(where.last()).toArray()).toJson());
    QCOMPARE(urls(json), (QJsonArray{"https://img.test/stored.jpg", uploaded}));
    if (form == Deal)
        QCOMPARE(posted.value("picturecontent"), QStringLiteral("{}"));
    if (form == DuJia)
        QCOMPARE(QJsonDocument::fromJson(posted.value("picturecontent").toUtf8()).object().keys(),
                 (QStringList{"hostcernum", "housecernum"}));
}

void TestSeperateEvidenceForms::selfApprovalNotice_data()
{
    QTest::addColumn<QJsonValue>("pass");
    QTest::addColumn<bool>("notice");
    QTest::newRow("applied") << QJsonValue(1) << true;
    QTest::newRow("applied, as text") << QJsonValue("1") << true;
    QTest::newRow("awaiting review") << QJsonValue(0) << false;
    QTest::newRow("missing") << QJsonValue() << false;
}

void TestSeperateEvidenceForms::selfApprovalNotice()
{
    QFETCH(QJsonValue, pass);
    QFETCH(bool, notice);
    QJsonObject data{{"id", 7}};
    if (!pass.isUndefined() && !pass.isNull())
        data.insert("pass", pass);
    m_server.setReply(postPath(Deal), RecordingServer::envelope(200, data));
    open(Deal)->photoGroup("contract")->setPhotos({"http://img.test/c.jpg"});
    QSignalSpy success(m_form.data(), &SeparationEvidenceForm::submitSuccess);
    child<QPushButton>("submitButton")->click();
    QVERIFY(success.wait(10000));
    // A box asked for shows a moment later; none may be on its way when there is nothing to say.
    if (notice)
        QTRY_COMPARE(m_alerts->texts(), QStringList{"您拥有当前操作的审批权限，系统已为您自动审批通过。"});
    else
        QCOMPARE(AlertRecorder::liveBoxes(), 0);
}

void TestSeperateEvidenceForms::failedUploadKeepsWork()
{
    auto *f = open(WeiTuo);
    addLocal(f->photoGroup("contract"), 2);
    child<QLineEdit>("weituoCodeEdit")->setText("WT-9");
    // Submitting while a picture is still being shrunk asks to wait and sends nothing.
    addLocal(f->photoGroup("other"), 1, false);
    child<QPushButton>("submitButton")->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{"正在处理图片，请稍等！"});
    QCOMPARE(m_server.requestsTo(uploadPath()).size(), 0);
    QTRY_COMPARE(f->photoGroup("other")->photos().size(), 1);
    m_alerts->clear();

    const QString second = m_server.baseUrl() + "/files/evidence/2.jpg";
    m_server.queueReply(uploadPath(), RecordingServer::raw("broken", 500));
    m_server.queueReply(uploadPath(), RecordingServer::envelope(200, QJsonObject{}, second));
    m_server.queueReply(uploadPath(), RecordingServer::envelope(200, QJsonObject{}, m_server.baseUrl() + "/files/evidence/3.jpg"));
    QSignalSpy success(m_form.data(), &SeparationEvidenceForm::submitSuccess);
    child<QPushButton>("submitButton")->click();
    QTRY_COMPARE(m_server.requestsTo(uploadPath()).size(), 3);
    QTRY_VERIFY(child<QPushButton>("submitButton")->isEnabled());
    QTRY_COMPARE(m_alerts->texts(), QStringList{"上传文件错误！"});
    QCOMPARE(m_server.requestsTo(postPath(WeiTuo)).size(), 0);
    QVERIFY(success.isEmpty());
    const QStringList kept = f->photoGroup("contract")->photos();
    QCOMPARE(kept.size(), 2);
    QVERIFY(!kept.first().startsWith("http"));
    QCOMPARE(kept.last(), second);
    QCOMPARE(child<QLineEdit>("weituoCodeEdit")->text(), QStringLiteral("WT-9"));

    // The next try sends only the photo that did not go up.
    const QString first = m_server.baseUrl() + "/files/evidence/4.jpg";
    m_server.queueReply(uploadPath(), RecordingServer::envelope(200, QJsonObject{}, first));
    child<QPushButton>("submitButton")->click();
    QTRY_COMPARE(m_server.requestsTo(postPath(WeiTuo)).size(), 1);
    QCOMPARE(m_server.requestsTo(uploadPath()).size(), 4);
    QCOMPARE(urls(m_server.requestsTo(postPath(WeiTuo)).first().form.value("contract")), (QJsonArray{first, second}));
    QTRY_COMPARE(success.size(), 1);
}

void TestSeperateEvidenceForms::failedPostKeepsWork()
{
    auto *f = open(DuJia);
    f->photoGroup("housecernum")->setPhotos({"http://img.test/deed.jpg"});
    child<QLineEdit>("houseCerNumEdit")->setText("皖2020-001");
    m_server.queueReply(postPath(DuJia), RecordingServer::dropped());
    QSignalSpy success(m_form.data(), &SeparationEvidenceForm::submitSuccess);
    child<QPushButton>("submitButton")->click();
    QTRY_COMPARE(m_alerts->count(), 1);
    QVERIFY(m_alerts->last().text.startsWith(QStringLiteral("提交失败：")));
    QTRY_VERIFY(child<QPushButton>("submitButton")->isEnabled());
    QVERIFY(!busy()->isRunning());
    QCOMPARE(child<QLineEdit>("houseCerNumEdit")->text(), QStringLiteral("皖2020-001"));
    QCOMPARE(f->photoGroup("housecernum")->photos(), QStringList{"http://img.test/deed.jpg"});
    QVERIFY(success.isEmpty());

    child<QPushButton>("submitButton")->click();
    QTRY_COMPARE(success.size(), 1);
    QCOMPARE(m_server.requestsTo(postPath(DuJia)).last().form.value("housecernum"), QStringLiteral("皖2020-001"));
}

void TestSeperateEvidenceForms::commissionVerifiers()
{
    m_server.setReply(promotionPath(), promotion(1, {kOwner, kAgent, QJsonObject{{"id", 33}}}));
    auto *f = static_cast<HouseSeperate_EditWeiTuoMessageWidget *>(open(WeiTuo));
    auto *combo = child<QComboBox>("heyanrenCombo");
    QTRY_COMPARE(combo->count(), 3);  // a verifier without a name is left out
    QVERIFY(f->verifierRequired());
    QCOMPARE(combo->itemText(1), QStringLiteral("张三(业主)(委托人) 340****1234"));
    QCOMPARE(combo->itemText(2), QStringLiteral("李四(代理人)"));
    QCOMPARE(m_server.requestsTo(promotionPath()).first().form, (FormMap{{"lianmai", "1"}}));

    combo->setCurrentIndex(1);
    f->photoGroup("contract")->setPhotos({"http://img.test/c.jpg"});
    child<QPushButton>("submitButton")->click();
    QTRY_COMPARE(m_server.requestsTo(postPath(WeiTuo)).size(), 1);
    const FormMap posted = m_server.requestsTo(postPath(WeiTuo)).first().form;
    QCOMPARE(posted.value("heyanrenid"), QStringLiteral("31"));
    QCOMPARE(posted.value("heyanren"), QStringLiteral("张三"));
    QCOMPARE(posted.value("heyanleixing"), QStringLiteral("业主"));
    QCOMPARE(posted.value("userid"), QStringLiteral("501"));
}

void TestSeperateEvidenceForms::commissionEditFillsEntry()
{
    m_server.setReply(promotionPath(), promotion(1, {kOwner, kAgent}));
    const QJsonObject pictures{{"contract", QJsonArray{QJsonObject{{"url", "http://img.test/c1.jpg"}}}},
                               {"fangchanzheng", QJsonArray{QJsonObject{{"url", "http://img.test/f1.jpg"}}}},
                               {"weituoshu", QJsonArray{QJsonObject{{"url", "http://img.test/w1.jpg"}}}},
                               {"other", QJsonArray{QJsonObject{{"url", "http://img.test/o1.jpg"}}}}};
    const QJsonObject detail{{"id", 88}, {"type", 2}, {"remark", "旧备注"}, {"picturecontent", pictures},
                             {"contractid", 5}, {"contractNo", "HT-005"},
                             {"detailinfo", QJsonObject{{"heyancode", "HY-1"}, {"weituocode", "WT-1"},
                                                        {"heyanren", QJsonObject{{"name", "李四"}}}}}};
    RecordingServer::Reply reply = RecordingServer::envelope(200, detail);
    reply.delayMs = 300;  // the form is busy until the entry is there
    m_server.setReply(detailPath(), reply);
    auto *f = open(WeiTuo, true);
    QCOMPARE(busy()->text(), QStringLiteral("获取编辑内容中..."));
    QVERIFY(busy()->isRunning());
    QTRY_VERIFY(!busy()->isRunning());
    QCOMPARE(m_server.requestsTo(detailPath()).first().form.value("id"), QStringLiteral("88"));

    QCOMPARE(child<QLineEdit>("heyanCodeEdit")->text(), QStringLiteral("HY-1"));
    QCOMPARE(child<QLineEdit>("weituoCodeEdit")->text(), QStringLiteral("WT-1"));
    QCOMPARE(child<QTextEdit>("remarkEdit")->toPlainText(), QStringLiteral("旧备注"));
    QCOMPARE(f->photoGroup("contract")->photos(), QStringList{"http://img.test/c1.jpg"});
    QCOMPARE(f->photoGroup("fangchanzheng")->photos(), QStringList{"http://img.test/f1.jpg"});
    QCOMPARE(f->photoGroup("weituoshu")->photos(), QStringList{"http://img.test/w1.jpg"});
    QCOMPARE(f->photoGroup("other")->photos(), QStringList{"http://img.test/o1.jpg"});
    QVERIFY(f->photoGroup("shenfenzheng_zhenmian")->isEmpty());
    QCOMPARE(child<EvidenceChoiceButton>("eleContractButton")->text(), QStringLiteral("HT-005"));
    QTRY_COMPARE(child<QComboBox>("heyanrenCombo")->currentText(), QStringLiteral("李四(代理人)"));

    child<QPushButton>("submitButton")->click();
    QTRY_COMPARE(m_server.requestsTo(postPath(WeiTuo)).size(), 1);
    const FormMap posted = m_server.requestsTo(postPath(WeiTuo)).first().form;
    QCOMPARE(posted.value("contractid"), QStringLiteral("5"));
    QCOMPARE(posted.value("heyanrenid"), QStringLiteral("32"));
    QCOMPARE(urls(posted.value("picturecontent")), QJsonArray{"http://img.test/o1.jpg"});
    QCOMPARE(m_server.requestsTo(uploadPath()).size(), 0);
}

void TestSeperateEvidenceForms::contractChooser_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("searchKey");
    QTest::addColumn<QString>("line");
    QTest::newRow("deal, sale") << int(EvidenceContractChooseWidget::DealContracts)
                                << pathOf(Endpoints::instance().app_LianmaiScontractPosts) << "请输入小区名称搜索" << "xiaoqu"
                                << "天鹅湖小区 1栋101\n合同编号：HT-009 签约人：王五-天鹅湖店";
    QTest::newRow("electronic") << int(EvidenceContractChooseWidget::EleContracts)
                                << pathOf(Endpoints::instance().itcontract_LianmaiPosts) << "请输入合同编号搜索" << "htcode"
                                << "合同编号：HT-009 独家委托\n签约人：王五-天鹅湖店";
}

void TestSeperateEvidenceForms::contractChooser()
{
    QFETCH(int, kind);
    QFETCH(QString, path);
    QFETCH(QString, prompt);
    QFETCH(QString, searchKey);
    QFETCH(QString, line);
    const QJsonObject contract{{"id", 9}, {"contractno", "HT-009"}, {"typename", "独家委托"}, {"xiaoqu", "天鹅湖小区"},
                               {"houseaddress", "1栋101"}, {"qianyueren", "王五"}, {"storename", "天鹅湖店"}};
    m_server.setReply(path, RecordingServer::envelope(200, QJsonObject{{"list", QJsonArray{contract, "not a row"}}}));
    HouseMessage_DataSqlTable::HouseMessageData house;
    house.address = QStringLiteral("蜀山区天鹅湖路1号");
    EvidenceContractChooseWidget chooser(EvidenceContractChooseWidget::Kind(kind), house);
    auto *list = chooser.findChild<QListWidget *>("contractList");
    QTRY_COMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), line);
    QCOMPARE(chooser.findChild<QLineEdit *>("searchEdit")->placeholderText(), prompt);

    chooser.findChild<QLineEdit *>("searchEdit")->setText(" 天鹅 ");
    chooser.search();
    QTRY_COMPARE(m_server.requestsTo(path).size(), 2);
    QCOMPARE(m_server.requestsTo(path).last().form.value(searchKey), QStringLiteral("天鹅"));
    if (kind == EvidenceContractChooseWidget::DealContracts)
        QCOMPARE(m_server.requestsTo(path).last().form.value("houseaddress"), house.address);
    QTRY_COMPARE(list->count(), 1);
    QSignalSpy chosen(&chooser, &EvidenceContractChooseWidget::contractChosen);
    chooser.choose(0);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.first().first().toMap().value("contractno").toString(), QStringLiteral("HT-009"));
}

void TestSeperateEvidenceForms::settingsLibrary()
{
    m_server.setReply(promotionPath(), promotion(1, {kOwner}));
    auto *f = static_cast<HouseSeperate_EditWeiTuoMessageWidget *>(open(WeiTuo));
    QTRY_COMPARE(m_server.requestsTo(promotionPath()).size(), 1);
    f->setSettingsLibrary("qx_nopushhouse.dll");
    child<QPushButton>("settingButton")->click();
    QTRY_COMPARE(m_alerts->texts(), QStringList{"缺少<qx_nopushhouse>组件！"});

    // The stand-in shows the company's setting; once it is closed the verifiers are read again.
    f->setSettingsLibrary("qx_pushHouse.dll");
    child<QPushButton>("settingButton")->click();
    QDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = f->window()->findChild<QDialog *>("configXinfuLiDialog")));
    QVERIFY(dialog->findChild<QLabel *>("heyanStateLabel")->text().contains(QStringLiteral("已开启")));
    QCOMPARE(dialog->findChild<QListWidget *>("heyanrenList")->item(0)->text(), QStringLiteral("张三(业主)"));
    m_server.setReply(promotionPath(), promotion(0, {kOwner, kAgent}));
    dialog->findChild<QPushButton *>("closeButton")->click();
    QTRY_COMPARE(m_server.requestsTo(promotionPath()).size(), 2);
    QTRY_COMPARE(child<QComboBox>("heyanrenCombo")->count(), 3);
    QVERIFY(!f->verifierRequired());
}

QTEST_MAIN(TestSeperateEvidenceForms)
#include "tst_seperateevidenceforms.moc"
