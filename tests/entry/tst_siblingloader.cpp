// Sibling libraries: found by the host's file name, failures reported and harmless.
#include "alertrecorder.h"
#include "platform/siblinglibrary.h"
#include "hostfixture.h"

#include <QCoreApplication>
#include <QtTest>

class TestSiblingLoader : public QObject
{
    Q_OBJECT
private slots:
    void mapsHostFileNames();
    void resolvesPresentFunction();
    void missingLibraryOrFunctionReports_data();
    void missingLibraryOrFunctionReports();
};

void TestSiblingLoader::mapsHostFileNames()
{
    const QString dir = QCoreApplication::applicationDirPath();
#if defined(Q_OS_WIN)
    QCOMPARE(SiblingLibrary::filePath(QStringLiteral("qx_zip.dll")), dir + QStringLiteral("/qx_zip.dll"));
#else
    QCOMPARE(SiblingLibrary::filePath(QStringLiteral("qx_zip.dll")), dir + QStringLiteral("/libqx_zip.so"));
    QCOMPARE(SiblingLibrary::filePath(QStringLiteral("qx_callBaby")), dir + QStringLiteral("/libqx_callBaby.so"));
#endif
}

void TestSiblingLoader::resolvesPresentFunction()
{
    HostFixture host;
    AlertRecorder recorder;
    using Answer = int (*)(int);
    auto fn = SiblingLibrary::resolveAs<Answer>(QStringLiteral("qx_testsibling.dll"), "siblingAnswer");
    QVERIFY(fn);
    QCOMPARE(fn(21), 42);
    QCOMPARE(AlertRecorder::liveBoxes(), 0);
}

void TestSiblingLoader::missingLibraryOrFunctionReports_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("function");
    QTest::addColumn<QString>("libraryText");
    QTest::addColumn<QString>("functionText");
    QTest::addColumn<QString>("expected");
    QTest::newRow("missing library, default text")
        << "qx_noSuchSibling.dll" << "loadReviewDetail" << QString() << QString() << QStringLiteral("缺少<qx_noSuchSibling>组件！");
    QTest::newRow("missing library, caller's text")
        << "qx_appcenter.dll" << "enterApp" << QStringLiteral("缺少<应用中心>组件！") << QStringLiteral("enterApp 导出失败！")
        << QStringLiteral("缺少<应用中心>组件！");
    QTest::newRow("missing function, caller's text")
        << "qx_testsibling.dll" << "enterApp" << QStringLiteral("缺少<应用中心>组件！") << QStringLiteral("enterApp 导出失败！")
        << QStringLiteral("enterApp 导出失败！");
    QTest::newRow("missing function, default text")
        << "qx_testsibling.dll" << "jieYaFile" << QString() << QString() << QStringLiteral("jieYaFile 导出失败！");
}

void TestSiblingLoader::missingLibraryOrFunctionReports()
{
    QFETCH(QString, library);
    QFETCH(QString, function);
    QFETCH(QString, libraryText);
    QFETCH(QString, functionText);
    QFETCH(QString, expected);
    HostFixture host;
    AlertRecorder recorder;
    void *fn = SiblingLibrary::resolve(library, function.toLatin1().constData(), libraryText, functionText);
    QVERIFY(fn == nullptr);
    QTRY_COMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, expected);
    QCOMPARE(recorder.last().title, QStringLiteral("警告"));
}

QTEST_MAIN(TestSiblingLoader)
#include "tst_siblingloader.moc"
