// An agent's photos against the simulator: from a listing's detail window she opens the
// survey tab, adds pictures through the submission window, tags them with the quick-select
// buttons and submits; the tab shows her record with its groups and real pictures, and the
// listing's photo count follows. An upload that fails keeps her work, and the next submit
// sends only the pictures still missing.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "customtabwidget.h"
#include "datacenter.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/housedetailfirstpagewidget.h"
#include "detail/mysalehousedetailwidget.h"
#include "detail/photos/housebookphotoedititemview.h"
#include "detail/photos/housebookphotosaddwidget.h"
#include "detail/photos/housebookphotosonitemview.h"
#include "detail/photos/housebookphotostackwidget.h"
#include "detail/photos/housedetailsecondpagewidget.h"
#include "entry/exports.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "net/photocompression.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"
#include "widgets/hovertablewidget.h"
#include "widgets/thumbnailview.h"

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QtTest>

#include <algorithm>

using namespace HouseBookPhotos_Model;

namespace {

const QString kManager = QStringLiteral("13800000001");
const QString kNotice = QStringLiteral("选中标签后单击下方图片，给图片添加标签，添加完成后点击提交完成添加。");
const QString kUpload = QStringLiteral("app/upphoto");

QPushButton *button(QWidget *w, const QString &name)
{
    auto *b = w->findChild<QPushButton *>(name);
    if (!b)
        qWarning("no button %s", qPrintable(name));
    return b;
}

// The photo number of the first page's "图片（n）视频（m）".
int shownPhotoCount(HouseDetailFirstPageWidget *page)
{
    const QString text = QTextDocumentFragment::fromHtml(page->findChild<QLabel *>("label_photoVideo")->text()).toPlainText();
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("图片（(\\d+)）")).match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The survey page's photo groups that hold a picture, with their counts.
QStringList filledPhotoGroups(HouseDetailSecondPageWidget *page)
{
    QStringList filled;
    for (const QString &title : page->groupTitles().mid(2)) {  // after the videos and VR views
        if (!title.endsWith(QLatin1String("(0)")))
            filled << title;
    }
    return filled;
}

// Whether the page shows that many thumbnails, each with its picture loaded. Asked anew each
// time: the listing's refresh fills the page again with new thumbnails.
bool picturesShown(HouseDetailSecondPageWidget *page, int count)
{
    const QList<HouseBookPhotoSonItemView *> thumbnails = page->findChildren<HouseBookPhotoSonItemView *>();
    return thumbnails.size() == count && std::all_of(thumbnails.cbegin(), thumbnails.cend(), [](HouseBookPhotoSonItemView *t) {
               return t->findChild<ThumbnailView *>()->hasPicture();
           });
}

} // namespace

class TestPhotoEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void addTagAndSubmitPhotos();
    void failedUploadKeepsWorkAndSendsOnlyWhatIsMissing();

private:
    // Opens the listing from the list page as a click does; the survey tab, once its records
    // have arrived.
    HouseBookPhotoStackWidget *openSurveyTab(int id);
    // "编辑/添加图片" on the shown record; the submission window once its loads have arrived.
    HouseBookPhotosAddWidget *openEditor(HouseBookPhotoStackWidget *stack);
    // Chooses n generated pictures through the window's file chooser.
    void choosePictures(HouseBookPhotosAddWidget *editor, int n);
    // Selects the category's quick-select button and clicks the pictures at the given places.
    void tag(HouseBookPhotosAddWidget *editor, int type, const QList<int> &places);
    QList<HouseBookPhotoEditItemView *> pictures(HouseBookPhotosAddWidget *editor) const;
    // A listing of the first page with seeded survey records (or without), openable by a click.
    int listingRow(bool withRecords) const;

    QScopedPointer<AllianceServer> m_server;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QPointer<HouseBookListWidget> m_list;
    QPointer<HouseBookMessageDetailWidget> m_shell;  // the detail window a case opened
    QTemporaryDir m_files;
    int m_fileCount = 0;
};

void TestPhotoEndToEnd::initTestCase()
{
    AllianceServer::Options options;
    options.listings = 400;
    options.communities = 40;
    m_server.reset(new AllianceServer(options));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
    PhotoCompression::setCacheRoot(m_files.path());

    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_host->signInAs(TestUser().company(101));
    DataCenter::CookieVar = QStringLiteral("qxphone=") + kManager;
    QCOMPARE(DataCenter::UserPhoneNumber, kManager);
    QVERIFY(FirstBookDownload::startIfNeeded(true));
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded, 60000);

    auto *tabs = new CustomTabWidget(m_host->mainWindow());
    loadHouseListWidget(m_host->mainWindow(), &tabs, &m_list, 0, 0);
    QVERIFY(m_list);
    QTRY_VERIFY_WITH_TIMEOUT(!m_list->listings().isEmpty(), 10000);
}

void TestPhotoEndToEnd::cleanupTestCase()
{
    delete m_list;
    m_alerts.reset();
    m_host.reset();
}

// The detail window goes as its close does; every click on a row opens one of its own.
void TestPhotoEndToEnd::cleanup()
{
    if (m_shell)
        emit m_shell->closeWidget();
    QTRY_VERIFY(!m_shell);
}

int TestPhotoEndToEnd::listingRow(bool withRecords) const
{
    const QList<HouseBookListWidget::Record> rows = m_list->listings();
    for (int row = 0; row < rows.size(); ++row) {
        const HouseBookListWidget::Record &r = rows.at(row);
        // Listings 3, 23, 43, … carry seeded records; a listing under review opens its form.
        if (r.shenhestatus != 1 && r.housestatus != 0 && (r.id % 20 == 3) == withRecords)
            return row;
    }
    return -1;
}

HouseBookPhotoStackWidget *TestPhotoEndToEnd::openSurveyTab(int row)
{
    const int id = m_list->listings().at(row).id;
    emit m_list->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"))->clickRowIndex(row);
    HouseBookMessageDetailWidget *shell = m_list->findChild<HouseBookMessageDetailWidget *>();
    m_shell = shell;
    if (!shell || !QTest::qWaitFor([&] { return shell->detailWindow() && shell->detailWindow()->firstPage()
                                                 && shell->detailWindow()->firstPage()->record().id == id; }, 20000))
        return nullptr;
    button(shell->detailWindow(), QStringLiteral("secondPagePushButton"))->click();
    auto *stack = shell->detailWindow()->findChild<HouseBookPhotoStackWidget *>();
    if (!stack || !QTest::qWaitFor([&] { return stack->listing().id == id && m_server->hits("fd/HousePhotoNavigation") > 0; }, 10000))
        return nullptr;
    return stack;
}

HouseBookPhotosAddWidget *TestPhotoEndToEnd::openEditor(HouseBookPhotoStackWidget *stack)
{
    button(stack->getPhotoShowView(), QStringLiteral("pushButton_editPhotos"))->click();
    HouseBookPhotosAddWidget *editor = nullptr;
    const bool ready = QTest::qWaitFor([&] {
        editor = stack->findChild<HouseBookPhotosAddWidget *>();
        return editor && editor->findChild<QLabel *>("shikancontentLabel")->isVisibleTo(editor);
    }, 10000);
    return ready ? editor : nullptr;
}

void TestPhotoEndToEnd::choosePictures(HouseBookPhotosAddWidget *editor, int n)
{
    QStringList paths;
    for (int k = 0; k < n; ++k) {
        QImage image(320, 240, QImage::Format_RGB32);
        image.fill(QColor::fromHsv((m_fileCount * 47) % 360, 200, 220));
        paths << m_files.filePath(QStringLiteral("room%1.jpg").arg(m_fileCount++));
        QVERIFY(image.save(paths.last(), "JPEG", 85));
    }
    const int before = editor->photos().size();
    editor->setFileChooser([paths](QWidget *, const QString &, const QString &, const QString &) { return paths; });
    button(editor, QStringLiteral("chooseButton"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(editor->photos().size(), before + n, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(editor->runningCompressions(), 0, 10000);
}

QList<HouseBookPhotoEditItemView *> TestPhotoEndToEnd::pictures(HouseBookPhotosAddWidget *editor) const
{
    // In display order: the grid's order is the window's photo order.
    QList<HouseBookPhotoEditItemView *> views;
    const QVariantList photos = editor->photos();
    const QList<HouseBookPhotoEditItemView *> all = editor->findChildren<HouseBookPhotoEditItemView *>();
    for (const QVariant &p : photos) {
        for (HouseBookPhotoEditItemView *v : all) {
            if (v->isVisibleTo(editor) && v->picture()->source() == p.toMap().value("url").toString() && !views.contains(v)) {
                views << v;
                break;
            }
        }
    }
    return views;
}

void TestPhotoEndToEnd::tag(HouseBookPhotosAddWidget *editor, int type, const QList<int> &places)
{
    button(editor, QStringLiteral("categoryButton_%1").arg(type))->click();
    QCOMPARE(editor->currentType(), type);
    const QList<HouseBookPhotoEditItemView *> views = pictures(editor);
    for (int place : places)
        QTest::mouseClick(views.at(place)->picture(), Qt::LeftButton);
    // A right click ends tagging.
    QTest::mouseClick(views.at(places.first())->picture(), Qt::RightButton);
    QCOMPARE(editor->currentType(), -1);
}

void TestPhotoEndToEnd::addTagAndSubmitPhotos()
{
    const int row = listingRow(true);
    QVERIFY(row >= 0);
    const int id = m_list->listings().at(row).id;
    HouseBookPhotoStackWidget *stack = openSurveyTab(row);
    QVERIFY(stack);
    QTRY_VERIFY_WITH_TIMEOUT(!stack->records().isEmpty(), 10000);
    const int seededRecords = stack->records().size();
    HouseDetailFirstPageWidget *first = m_shell->detailWindow()->firstPage();
    QTRY_VERIFY_WITH_TIMEOUT(shownPhotoCount(first) > 0, 10000);
    const int photosBefore = shownPhotoCount(first);

    m_alerts->clear();
    HouseBookPhotosAddWidget *editor = openEditor(stack);
    QVERIFY(editor);
    // The first use explains tagging; the agent has understood.
    QTRY_VERIFY(m_alerts->openBox());
    QCOMPARE(m_alerts->last().text, kNotice);
    m_alerts->openBox()->answer(AlertWidget::Sure);
    QVERIFY(editor->photos().isEmpty());  // the manager has no record of her own here yet

    choosePictures(editor, 3);
    tag(editor, Bedroom, {1, 2});
    tag(editor, FloorPlan, {0});
    QCOMPARE(button(editor, "categoryButton_1")->text(), QStringLiteral("户型图(1)"));
    QCOMPARE(button(editor, "categoryButton_4")->text(), QStringLiteral("卧室图(2)"));
    // The company's standard also wants a living room: refused before anything is sent.
    button(editor, QStringLiteral("submitButton"))->click();
    QTRY_COMPARE(m_alerts->last().text, QStringLiteral("客厅图:至少选择1张"));
    QCOMPARE(m_server->hits(kUpload), 0);
    choosePictures(editor, 1);
    tag(editor, LivingRoom, {3});
    button(editor, QStringLiteral("submitButton"))->click();

    // The set is the manager's own and approved at once; the window goes and the tab reloads.
    QTRY_VERIFY_WITH_TIMEOUT(!stack->findChild<HouseBookPhotosAddWidget *>(), 20000);
    QCOMPARE(m_server->hits(kUpload), 4);
    QTRY_COMPARE_WITH_TIMEOUT(stack->records().size(), seededRecords + 1, 10000);
    HouseDetailSecondPageWidget *page = stack->getPhotoShowView();
    QTRY_COMPARE_WITH_TIMEOUT(page->record().userphone, kManager, 10000);
    QCOMPARE(page->record().state, 1);
    QCOMPARE(filledPhotoGroups(page), (QStringList{"户型图(1)", "客厅图(1)", "卧室图(2)"}));
    QTRY_VERIFY_WITH_TIMEOUT(picturesShown(page, 4), 10000);
    for (const Photo &photo : page->record().photos)
        QVERIFY2(photo.url.startsWith(m_server->baseUrl() + "/files/photos/"), qPrintable(photo.url));
    // The seeded records are as they were.
    QCOMPARE(stack->records().size(), seededRecords + 1);
    for (const DataItem &record : stack->records()) {
        if (record.userphone != kManager)
            QVERIFY2(!record.photos.isEmpty(), qPrintable(record.id));
    }

    // Back on the first page the listing counts the new pictures.
    button(m_shell->detailWindow(), QStringLiteral("firstPagePushButton"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(shownPhotoCount(first), photosBefore + 4, 10000);
    QCOMPARE(first->record().id, id);
}

void TestPhotoEndToEnd::failedUploadKeepsWorkAndSendsOnlyWhatIsMissing()
{
    const int row = listingRow(false);
    QVERIFY(row >= 0);
    HouseBookPhotoStackWidget *stack = openSurveyTab(row);
    QVERIFY(stack);

    // A first set of three, what the company's standard asks for, stored on the server.
    HouseBookPhotosAddWidget *editor = openEditor(stack);
    QVERIFY(editor);
    choosePictures(editor, 3);
    tag(editor, FloorPlan, {0});
    tag(editor, LivingRoom, {1});
    tag(editor, Bedroom, {2});
    button(editor, QStringLiteral("submitButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!stack->findChild<HouseBookPhotosAddWidget *>(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(stack->getPhotoShowView()->record().photos.size(), 3, 10000);

    // Two more while uploads fail: the stored three come back, the new two keep their place
    // and tags and carry the failure mark.
    editor = openEditor(stack);
    QVERIFY(editor);
    QTRY_COMPARE_WITH_TIMEOUT(editor->photos().size(), 3, 10000);
    choosePictures(editor, 2);
    tag(editor, Bedroom, {3, 4});
    const QVariantList tagged = editor->photos();
    AllianceServer::Fault fault;
    fault.status500 = true;
    m_server->setFault(kUpload, fault);
    const int uploadsBefore = m_server->hits(kUpload);
    const int postsBefore = m_server->hits(QStringLiteral("fd/hbpictureadd"));
    button(editor, QStringLiteral("submitButton"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->hits(kUpload), uploadsBefore + 2, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(button(editor, QStringLiteral("submitButton"))->isEnabled(), 10000);
    QCOMPARE(editor->photos(), tagged);
    QCOMPARE(m_server->hits(QStringLiteral("fd/hbpictureadd")), postsBefore);
    const QList<HouseBookPhotoEditItemView *> views = pictures(editor);
    QCOMPARE(views.size(), 5);
    for (int k = 0; k < views.size(); ++k)
        QCOMPARE(views.at(k)->isUploadFailed(), k >= 3);
    QCOMPARE(button(editor, "categoryButton_4")->text(), QStringLiteral("卧室图(3)"));

    // With the server well again only the two missing pictures go up, and the set is whole.
    m_server->clearFaults();
    button(editor, QStringLiteral("submitButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(!stack->findChild<HouseBookPhotosAddWidget *>(), 20000);
    QCOMPARE(m_server->hits(kUpload), uploadsBefore + 4);
    QTRY_COMPARE_WITH_TIMEOUT(stack->getPhotoShowView()->record().photos.size(), 5, 10000);
    HouseDetailSecondPageWidget *page = stack->getPhotoShowView();
    QCOMPARE(filledPhotoGroups(page), (QStringList{"户型图(1)", "客厅图(1)", "卧室图(3)"}));
    for (const Photo &photo : page->record().photos)
        QVERIFY2(photo.url.startsWith(m_server->baseUrl() + "/files/photos/"), qPrintable(photo.url));
}

QTEST_MAIN(TestPhotoEndToEnd)
#include "tst_photoendtoend.moc"
