// An agent's round through the detail window against the simulator: she opens the last
// listing of the sale book's first page, writes a follow-up that the server keeps as typed,
// and steps on into the first listing of the next page.
#include "alertrecorder.h"
#include "allianceserver.h"
#include "customtabwidget.h"
#include "datacenter.h"
#include "detail/follow/housebookdetailfollowhistorywidget.h"
#include "detail/housebookmessagedetailwidget.h"
#include "detail/housedetailfirstpagewidget.h"
#include "detail/mysalehousedetailwidget.h"
#include "entry/exports.h"
#include "hostfixture.h"
#include "list/housebooklistwidget.h"
#include "net/endpoints.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"
#include "widgets/hovertablewidget.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QUrlQuery>
#include <QtTest>

class TestDetailEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void openFollowUpAndStepToTheNextPage();

private:
    // The follow-up contents the server keeps for a listing, newest first.
    QStringList serverFollowUps(int id);

    QScopedPointer<AllianceServer> m_server;
};

void TestDetailEndToEnd::initTestCase()
{
    m_server.reset(new AllianceServer(AllianceServer::Options()));
    QVERIFY(m_server->start());
    qputenv("QX_HOUSEBOOK_SERVER", m_server->baseUrl().toUtf8());
}

QStringList TestDetailEndToEnd::serverFollowUps(int id)
{
    QNetworkAccessManager net;
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("type"), QStringLiteral("1"));
    form.addQueryItem(QStringLiteral("id"), QString::number(id));
    form.addQueryItem(QStringLiteral("pageindex"), QStringLiteral("1"));
    QNetworkRequest request(QUrl(Endpoints::instance().app_followposts));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply *reply = net.post(request, form.toString(QUrl::FullyEncoded).toUtf8());
    QSignalSpy done(reply, &QNetworkReply::finished);
    if (!done.wait(10000))
        return {};
    const QJsonArray list = QJsonDocument::fromJson(reply->readAll()).object().value("data").toObject().value("list").toArray();
    reply->deleteLater();
    QStringList contents;
    for (const QJsonValue &row : list)
        contents << row.toObject().value("content").toString();
    return contents;
}

void TestDetailEndToEnd::openFollowUpAndStepToTheNextPage()
{
    HostFixture host;
    AlertRecorder alerts;
    alerts.answerWith(AlertWidget::Know);
    host.signInAs(TestUser().company(101));
    DataCenter::CookieVar = QStringLiteral("qxphone=13800000001");
    QVERIFY(FirstBookDownload::startIfNeeded(true));
    QTRY_COMPARE_WITH_TIMEOUT(BookSyncStatus::instance()->state(true), BookSyncStatus::Succeeded, 60000);

    auto *tabs = new CustomTabWidget(host.mainWindow());
    QPointer<HouseBookListWidget> page;
    loadHouseListWidget(host.mainWindow(), &tabs, &page, 0, 0);
    QVERIFY(page);
    QTRY_VERIFY_WITH_TIMEOUT(page->total() > page->listings().size(), 10000);
    const QList<HouseBookListWidget::Record> firstPage = page->listings();

    // The last row of the first page, as a click opens it (a listing under review would open
    // its review form instead).
    int row = firstPage.size() - 1;
    while (row > 0 && (firstPage.at(row).shenhestatus == 1 || firstPage.at(row).housestatus == 0))
        --row;
    QVERIFY(row > 0);
    const int id = firstPage.at(row).id;
    auto *table = page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    emit table->clickRowIndex(row);
    auto *shell = page->findChild<HouseBookMessageDetailWidget *>();
    QVERIFY(shell);
    QTRY_VERIFY_WITH_TIMEOUT(shell->detailWindow() && shell->detailWindow()->firstPage(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(shell->detailWindow()->firstPage()->record().id, id, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(m_server->hits(QStringLiteral("app/addviews")) >= 1, 10000);

    // A follow-up with the characters forms like to break on, written through the page.
    const QString text = QStringLiteral("业主说\"可以谈\" & 再降5%，周末看房 👍 a=1&b=2");
    auto *follows = shell->findChild<HouseBookDetailFollowHistoryWidget *>();
    QVERIFY(follows);
    follows->findChild<QPushButton *>(QStringLiteral("addFollowButton"))->click();
    follows->findChild<QPlainTextEdit *>(QStringLiteral("followEdit"))->setPlainText(text);
    follows->findChild<QPushButton *>(QStringLiteral("followButton"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(m_server->hits(QStringLiteral("app/followadd")) >= 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(shell->detailWindow()->firstPage()->followed(), 10000);
    QCOMPARE(serverFollowUps(id).value(0), text);

    // Stepping past the last row of the page brings the first listing of the next one.
    auto *next = shell->detailWindow()->firstPage()->findChild<QPushButton *>(QStringLiteral("nextPushButton"));
    QVERIFY(next);
    for (int at = row + 1; at < firstPage.size(); ++at) {
        next->click();
        QTRY_COMPARE_WITH_TIMEOUT(shell->index(), at, 20000);
    }
    next->click();
    QTRY_COMPARE_WITH_TIMEOUT(page->page(), 2, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(shell->index(), 0, 20000);
    QCOMPARE(shell->ids().value(0), page->listings().value(0).id);
    QTRY_COMPARE_WITH_TIMEOUT(shell->detailWindow()->firstPage()->record().id, page->listings().value(0).id, 20000);
    QVERIFY2(alerts.texts().isEmpty(), qPrintable(alerts.texts().join(QLatin1Char('|'))));
    // The follow-up started a sync of changed listings; it ends before the book is closed.
    QTRY_COMPARE_WITH_TIMEOUT(int(DataCenter::refreshStateOfDB.at(1)), 0, 20000);
}

QTEST_MAIN(TestDetailEndToEnd)
#include "tst_detailendtoend.moc"
