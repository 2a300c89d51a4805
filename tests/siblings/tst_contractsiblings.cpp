// The host's contract libraries as the role entry details load them by file name: the
// contract window shows what it was handed, and the electronic contract preview renders every
// page of a real PDF and survives files that are not one.
#include "platform/siblinglibrary.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

namespace {

using ShowContractDetail = QWidget *(*)(QWidget *, const QVariantMap &);
using PdfPreview = QWidget *(*)(const QString &, QWidget *);

// A contract of the given number of pages, each with a line of text.
bool writePdf(const QString &path, int pages)
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.drawText(QPointF(200, 400), QStringLiteral("合同第%1页").arg(page + 1));
    }
    return painter.end();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestContractSiblings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void contractWindowShowsWhatItWasGiven();
    void previewRendersEveryPage_data();
    void previewRendersEveryPage();
    void previewSurvivesBrokenFiles_data();
    void previewSurvivesBrokenFiles();

private:
    QTemporaryDir m_dir;
    PdfPreview m_preview = nullptr;
};

void TestContractSiblings::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_preview = SiblingLibrary::resolveAs<PdfPreview>(QStringLiteral("qx_eleContract.dll"), "pdfPreview");
    QVERIFY(m_preview);
}

void TestContractSiblings::contractWindowShowsWhatItWasGiven()
{
    auto show = SiblingLibrary::resolveAs<ShowContractDetail>(QStringLiteral("qx_jointsale_contractManager.dll"),
                                                              "showContractDetail");
    QVERIFY(show);
    QWidget owner;
    QPointer<QWidget> window = show(&owner, {{"contractId", "5"}, {"contractNo", "WT-2024-5"}, {"houseId", 41},
                                             {"houseTitle", QStringLiteral("翡翠湖花园")}});
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->findChild<QLabel *>("contractNo")->text(), QStringLiteral("WT-2024-5"));
    QCOMPARE(window->findChild<QLabel *>("houseId")->text(), QStringLiteral("41"));
    QCOMPARE(window->findChild<QLabel *>("entryId")->text(), QStringLiteral("暂无"));
}

void TestContractSiblings::previewRendersEveryPage_data()
{
    QTest::addColumn<int>("pages");
    QTest::newRow("one page") << 1;
    QTest::newRow("three pages") << 3;
}

void TestContractSiblings::previewRendersEveryPage()
{
    QFETCH(int, pages);
    const QString path = m_dir.filePath(QStringLiteral("contract-%1.pdf").arg(pages));
    QVERIFY(writePdf(path, pages));
    QWidget owner;
    QPointer<QWidget> window = m_preview(path, &owner);
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("pdfPreviewWindow"));
    QCOMPARE(window->property("pageCount").toInt(), pages);
    const auto rendered = window->findChildren<QLabel *>("pdfPage");
    QCOMPARE(rendered.size(), pages);
    for (const QLabel *page : rendered)
        QVERIFY(page->pixmap(Qt::ReturnByValue).width() > 100 && page->pixmap(Qt::ReturnByValue).height() > 100);
    QVERIFY(!window->findChild<QLabel *>("pdfPreviewMessage"));
}

void TestContractSiblings::previewSurvivesBrokenFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("exists");

    QByteArray truncated;
    {
        const QString whole = m_dir.filePath(QStringLiteral("whole.pdf"));
        if (writePdf(whole, 2)) {
            QFile file(whole);
            if (file.open(QIODevice::ReadOnly))
                truncated = file.read(file.size() / 3);
        }
    }
    QTest::newRow("garbage") << QByteArray("this is not a contract \x01\x02\x03", 26) << true;
    QTest::newRow("empty file") << QByteArray() << true;
    QTest::newRow("pdf header only") << QByteArray("%PDF-1.4\n%%EOF\n") << true;
    QTest::newRow("cut short") << truncated << true;
    QTest::newRow("missing file") << QByteArray() << false;
}

void TestContractSiblings::previewSurvivesBrokenFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, exists);
    const QString path = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
    if (exists)
        QVERIFY(writeBytes(path, bytes));
    QWidget owner;
    QPointer<QWidget> window = m_preview(path, &owner);
    QVERIFY(window);
    auto *message = window->findChild<QLabel *>("pdfPreviewMessage");
    // A file cut short may still give up its first page; anything else must say it failed.
    if (window->property("pageCount").toInt() == 0) {
        QVERIFY(message);
        QVERIFY(message->text().startsWith(QStringLiteral("无法打开该合同文件：")));
    } else {
        QCOMPARE(QTest::currentDataTag(), "cut short");
    }
}

QTEST_MAIN(TestContractSiblings)
#include "tst_contractsiblings.moc"
