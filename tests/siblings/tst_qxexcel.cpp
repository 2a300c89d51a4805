// The spreadsheet library stand-in and the reviewer's export of recent reports: workbooks are
// read back from the archive (shared strings and the sheet) cell by cell, hostile texts
// included (unpacked by the host's unpack library, which reads archives with QuaZip; linking
// QuaZip here would hand its minizip look-alike symbols to the spreadsheet library's own
// minizip). The export asks for the place only when there is something to write and the
// library is there.
#include "alertrecorder.h"
#include "hostfixture.h"
#include "net/endpoints.h"
#include "platform/siblinglibrary.h"
#include "recordingserver.h"
#include "separation/highseperatereporthistorywidget.h"
#include "separation/reportexport.h"
#include "widgets/busyoverlay.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <QXmlStreamReader>
#include <QtMath>
#include <QtTest>

using Grid = QList<QStringList>;

namespace {

using JieYaCallback = void (*)(bool, void *);
using JieYaFile = void (*)(QString, QString, JieYaCallback, void *);

// One file of a workbook, from a copy of it unpacked next to it.
QByteArray entryOf(const QString &archive, const QString &name)
{
    static const auto unpack = SiblingLibrary::resolveAs<JieYaFile>("qx_zip.dll", "jieYaFile");
    const QString folder = archive + QStringLiteral(".unpacked");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    bool unpacked = false;
    if (unpack)
        unpack(archive, folder, [](bool ok, void *context) { *static_cast<bool *>(context) = ok; }, &unpacked);
    if (!unpacked)
        return QByteArray();
    QFile file(QDir(folder).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QLatin1String("si"))
            strings << QString();
        else if (reader.name() == QLatin1String("t") && !strings.isEmpty())
            strings.last() += reader.readElementText();
    }
    return strings;
}

int columnOf(const QString &ref)
{
    int column = 0;
    for (const QChar c : ref) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

struct Sheet
{
    Grid cells;
    QList<int> styles;  // of the first row's cells
    QMap<int, double> widths;
};

// The sheet's text cells by row and column; "" for cells not written.
Sheet readSheet(const QString &archive)
{
    const QStringList strings = sharedStrings(entryOf(archive, "xl/sharedStrings.xml"));
    Sheet sheet;
    QXmlStreamReader reader(entryOf(archive, "xl/worksheets/sheet1.xml"));
    int row = -1;
    while (!reader.atEnd()) {
        if (!reader.readNextStartElement())
            continue;
        const auto attributes = reader.attributes();
        if (reader.name() == QLatin1String("col")) {
            for (int c = attributes.value("min").toInt(); c <= attributes.value("max").toInt(); ++c)
                sheet.widths.insert(c - 1, attributes.value("width").toDouble());
        } else if (reader.name() == QLatin1String("row")) {
            row = attributes.value("r").toInt() - 1;
            while (sheet.cells.size() <= row)
                sheet.cells << QStringList();
        } else if (reader.name() == QLatin1String("c")) {
            const int column = columnOf(attributes.value("r").toString());
            if (row == 0)
                sheet.styles << attributes.value("s").toInt();
            const bool shared = attributes.value("t") == QLatin1String("s");
            reader.readNextStartElement();  // <v>
            const QString value = reader.readElementText();
            QStringList &cells = sheet.cells[row];
            while (cells.size() <= column)
                cells << QString();
            cells[column] = shared ? strings.value(value.toInt(), "<bad index>") : value;
        }
    }
    return sheet;
}

using SaveExcel = ReportExport::SaveExcelToPath;

SaveExcel library()
{
    return SiblingLibrary::resolveAs<SaveExcel>("qx_excel.dll", "saveExcelToPath");
}

QJsonObject reportRow(int id, const QString &content)
{
    return QJsonObject{{"id", id},
                       {"state", id % 2 ? 0 : 2},
                       {"days", 3},
                       {"itemid", 3000 + id},
                       {"content", content},
                       {"author", "天鹅湖店 李四"},
                       {"time", "2024-05-01 10:00"},
                       {"shenpiren", id % 2 ? "" : "王审核"},
                       {"shenpitime", id % 2 ? "" : "2024-05-02 09:30"},
                       {"fdstepname", "实勘人"},
                       {"sh", QJsonObject{{"userid", 701}, {"username", "赵五"}}}};
}

} // namespace

class TestQxExcel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void workbookReadsBack();
    void columnsFitText_data();
    void columnsFitText();
    void unwritablePlaceFails();
    void exportWritesChosenPlace();
    void exportOfNothingSaysSo();
    void exportWithoutLibrarySaysSo();
    void cancelledPlaceWritesNothing();

private:
    HighSeperateReportHistoryWidget *openList();
    void clickExport(HighSeperateReportHistoryWidget *list);

    RecordingServer m_server;
    QTemporaryDir m_dir;
    QScopedPointer<HostFixture> m_host;
    QScopedPointer<AlertRecorder> m_alerts;
    QStringList m_asked;  // caption, proposed path and filter of each place asked for
    QString m_answer;
};

void TestQxExcel::initTestCase()
{
    QVERIFY(m_server.start());
    QVERIFY(m_dir.isValid());
    qputenv("QX_HOUSEBOOK_SERVER", m_server.baseUrl().toUtf8());
    QVERIFY2(library(), "qx_excel is built next to the tests");
}

void TestQxExcel::init()
{
    m_host.reset(new HostFixture);
    m_alerts.reset(new AlertRecorder);
    m_alerts->answerWith(AlertWidget::Know);
    m_server.clearRequests();
    m_server.setDefaultReply(RecordingServer::envelope(200, QJsonObject{{"total", 0}, {"data", QJsonArray()}}));
    m_asked.clear();
    m_answer.clear();
    ReportExport::setSavePathProvider([this](QWidget *, const QString &caption, const QString &proposed,
                                             const QString &filter) {
        m_asked << caption << proposed << filter;
        return m_answer;
    });
}

void TestQxExcel::cleanup()
{
    QTRY_COMPARE(AlertRecorder::liveBoxes(), 0);
    ReportExport::setSavePathProvider({});
    m_alerts.reset();
    m_host.reset();
}

void TestQxExcel::workbookReadsBack()
{
    const QStringList headers = ReportExport::headers();
    const QString longText = QString(40000, QChar(0x4E2D));
    const Grid rows{{"3001", "实勘人：赵五", "<b>店</b> & \"李四\"", "2024-05-01", "=SUM(A1:A9)", "待处理", "", ""},
                    {"3002", "钥匙人", "a\x01" "b\x1f" "c", "2024-05-02", "第一行\n第二行\t😀", "驳回", "王审核", "x"},
                    {"3003", "]]></t><t>", "'; DROP TABLE x;--", "", longText, "", "", "&amp;"}};
    const QString path = m_dir.filePath("reports.xlsx");
    QVERIFY(library()(headers, rows, path));

    const Sheet sheet = readSheet(path);
    QCOMPARE(sheet.cells.size(), 4);
    QCOMPARE(sheet.cells.at(0), headers);
    QCOMPARE(sheet.cells.at(1), rows.at(0).mid(0, 6));  // empty cells are left unwritten
    Grid expected = rows;
    expected[1][2] = "abc";  // control characters have no place in a workbook
    expected[2][4] = longText.left(32767);
    QCOMPARE(sheet.cells.at(2), expected.at(1));
    QCOMPARE(sheet.cells.at(3).mid(0, 5), expected.at(2).mid(0, 5));
    QCOMPARE(sheet.cells.at(3).value(7), QStringLiteral("&amp;"));

    // The header row is bold: its cells share a style whose font is bold.
    QCOMPARE(sheet.styles.size(), headers.size());
    QVERIFY(sheet.styles.first() > 0);
    QVERIFY(std::all_of(sheet.styles.begin(), sheet.styles.end(), [&](int s) { return s == sheet.styles.first(); }));
    QVERIFY(entryOf(path, "xl/styles.xml").contains("<b/>"));
}

void TestQxExcel::columnsFitText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");

    QTest::newRow("latin") << "abcdefghij" << 12;
    QTest::newRow("chinese counts twice") << "房源编号房源编号房源编号" << 26;
    QTest::newRow("mixed") << "编号A12" << 9;
    QTest::newRow("longest line") << "短\n长长长长长长长长长长" << 22;
    QTest::newRow("very long is capped") << QString(300, 'x') << 80;
}

void TestQxExcel::columnsFitText()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    const QString path = m_dir.filePath("widths.xlsx");
    QVERIFY(library()({"号", "x"}, {{text, "y"}}, path));
    const Sheet sheet = readSheet(path);
    // The file holds the width plus the font's padding, under one character.
    QCOMPARE(qFloor(sheet.widths.value(0)), width);
    QCOMPARE(qFloor(sheet.widths.value(1)), 3);
}

void TestQxExcel::unwritablePlaceFails()
{
    const QString path = m_dir.filePath("no/such/folder/reports.xlsx");
    QVERIFY(!library()(ReportExport::headers(), {{"1"}}, path));
    QVERIFY(!QFile::exists(path));
}

HighSeperateReportHistoryWidget *TestQxExcel::openList()
{
    auto *list = new HighSeperateReportHistoryWidget(m_host->mainWindow(), 1);
    list->show();
    return list;
}

void TestQxExcel::clickExport(HighSeperateReportHistoryWidget *list)
{
    const QString path = QUrl(Endpoints::instance().fd_jubaoDownload).path();
    const int before = m_server.requestsTo(path).size();
    list->findChild<QPushButton *>("exportButton")->click();
    QTRY_COMPARE(m_server.requestsTo(path).size(), before + 1);
    QCOMPARE(m_server.requestsTo(path).last().form, (QMap<QString, QString>{{"lianmai", "1"}}));
    QTRY_VERIFY(!list->findChild<BusyOverlay *>()->isRunning());
}

void TestQxExcel::exportWritesChosenPlace()
{
    m_server.setReply(QUrl(Endpoints::instance().fd_jubaoDownload).path(),
                      RecordingServer::envelope(200, QJsonObject{{"data", QJsonArray{reportRow(1, "照片<不实>&"),
                                                                                        reportRow(2, "没有钥匙")}}}));
    m_answer = m_dir.filePath("最近30天举报记录.xlsx");
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList());
    clickExport(list.data());

    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("导出Excel表完成！"));
    QCOMPARE(m_asked.size(), 3);
    QCOMPARE(m_asked.at(0), QStringLiteral("选择存储位置"));
    QVERIFY(m_asked.at(1).endsWith(QStringLiteral("/最近30天举报记录.xlsx")));
    QVERIFY(QFileInfo(m_asked.at(1)).dir().exists());
    QCOMPARE(m_asked.at(2), QStringLiteral("Microsoft Office Excel (*.xlsx)"));

    const Sheet sheet = readSheet(m_answer);
    QCOMPARE(sheet.cells.size(), 3);
    QCOMPARE(sheet.cells.at(0), ReportExport::headers());
    QCOMPARE(sheet.cells.at(1), (QStringList{"3001", "实勘人：赵五", "天鹅湖店 李四", "2024-05-01 10:00", "照片<不实>&",
                                              "待处理"}));
    QCOMPARE(sheet.cells.at(2), (QStringList{"3002", "实勘人：赵五", "天鹅湖店 李四", "2024-05-01 10:00", "没有钥匙",
                                              "限期返工(3天内)", "王审核", "2024-05-02 09:30"}));
}

void TestQxExcel::exportOfNothingSaysSo()
{
    m_server.setReply(QUrl(Endpoints::instance().fd_jubaoDownload).path(),
                      RecordingServer::envelope(200, QJsonObject{{"data", QJsonArray()}}));
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList());
    clickExport(list.data());
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("当前没有可供审核的数据！"));
    QVERIFY(m_asked.isEmpty());
}

void TestQxExcel::exportWithoutLibrarySaysSo()
{
    m_server.setReply(QUrl(Endpoints::instance().fd_jubaoDownload).path(),
                      RecordingServer::envelope(200, QJsonObject{{"data", QJsonArray{reportRow(1, "x")}}}));
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList());
    list->setExcelLibrary("qx_noexcel.dll");
    clickExport(list.data());
    QTRY_COMPARE(m_alerts->count(), 1);
    QCOMPARE(m_alerts->last().text, QStringLiteral("缺少<Excel>组件！"));
    QVERIFY(m_asked.isEmpty());
}

void TestQxExcel::cancelledPlaceWritesNothing()
{
    m_server.setReply(QUrl(Endpoints::instance().fd_jubaoDownload).path(),
                      RecordingServer::envelope(200, QJsonObject{{"data", QJsonArray{reportRow(1, "x")}}}));
    QScopedPointer<HighSeperateReportHistoryWidget> list(openList());
    clickExport(list.data());
    QTRY_COMPARE(m_asked.size(), 3);
    // Neither a success nor a failure is told for a place never chosen.
    QCOMPARE(m_alerts->count(), 0);
    QCOMPARE(AlertRecorder::liveBoxes(), 0);
}

QTEST_MAIN(TestQxExcel)
#include "tst_qxexcel.moc"
