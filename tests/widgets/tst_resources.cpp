#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

// Every icon path the plug-in's sources name must be compiled into the binary and load as an
// image; a missing or misspelt icon otherwise only shows up as an empty label at run time.
class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void knownIconsLoad_data();
    void knownIconsLoad();
    void iconPathsInSourcesResolve();
};

namespace {

struct IconUse
{
    QString path;
    QString file;
    int line = 0;
};

// Role icons are written as templates: "%1" is "_my" for the current user's roles, empty otherwise.
QStringList expandTemplate(const QString &path)
{
    if (!path.contains(QLatin1String("%1")))
        return {path};
    QString mine = path;
    QString theirs = path;
    return {theirs.replace(QLatin1String("%1"), QString()), mine.replace(QLatin1String("%1"), QLatin1String("_my"))};
}

QString loadProblem(const QString &path)
{
    if (!QFile::exists(path))
        return QStringLiteral("missing");
    const QImage image(path);
    if (image.isNull())
        return QStringLiteral("not a loadable image");
    return QString();
}

QVector<IconUse> scanSources(const QString &root)
{
    // ":/res/..." or "://res/..." up to the end of the literal, a closing bracket or a separator.
    static const QRegularExpression iconPath(QStringLiteral(":/{1,2}res/[^\"'\\s)\\\\,;<>]+"));
    QVector<IconUse> uses;
    QDirIterator it(root, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString fileName = it.next();
        QFile file(fileName);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(file.readAll());
        auto matches = iconPath.globalMatch(text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            const int line = text.leftRef(match.capturedStart()).count(QLatin1Char('\n')) + 1;
            for (const QString &path : expandTemplate(match.captured()))
                uses.append({path, QDir(root).relativeFilePath(fileName), line});
        }
    }
    return uses;
}

} // namespace

void TestResources::knownIconsLoad_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("close") << QStringLiteral(":/res/icon_close.png");
    QTest::newRow("back") << QStringLiteral(":/res/icon_back.png");
    QTest::newRow("read mark") << QStringLiteral(":/res/hasread.png");
    QTest::newRow("default logo, double slash") << QStringLiteral("://res/icon_logo.png");
    QTest::newRow("sort down, double slash") << QStringLiteral("://res/icon_sort_down.png");
    QTest::newRow("panorama tutorial jpeg") << QStringLiteral("://res/vr_tutorial.jpg");
    QTest::newRow("own role, review pending") << QStringLiteral(":/res/xiezuo_my_weituo_review.png");
    QTest::newRow("own role") << QStringLiteral(":/res/xiezuo_my_add.png");
    QTest::newRow("role nobody holds") << QStringLiteral(":/res/xiezuo_complete_null.png");
    QTest::newRow("verified entrustment") << QStringLiteral(":/res/xiezuo_weituo_heyan_my_review.png");
}

void TestResources::knownIconsLoad()
{
    QFETCH(QString, path);
    const QString problem = loadProblem(path);
    QVERIFY2(problem.isEmpty(), qPrintable(path + QStringLiteral(": ") + problem));
    const QImage image(path);
    // Icons sit in labels, buttons and table cells: anything large is a mistake.
    QVERIFY2(image.width() <= 256 && image.height() <= 256, qPrintable(path));
}

void TestResources::iconPathsInSourcesResolve()
{
    const QString root = QStringLiteral(HOUSEBOOK_SOURCE_DIR "/src/housebook");
    QVERIFY2(QDir(root).exists(), qPrintable(root));

    // The scanner must find paths inside style sheets, both spellings, and expand role templates;
    // otherwise the check below would pass vacuously.
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QVERIFY(QDir(scratch.path()).mkpath(QStringLiteral("cells")));
        QFile probe(scratch.filePath(QStringLiteral("cells/probe.cpp")));
        QVERIFY(probe.open(QIODevice::WriteOnly));
        probe.write("label->setStyleSheet(\"border-image:url(://res/hasread.png);\");\n"
                    "const QString icon = QString(\":/res/xiezuo%1_key.png\").arg(mine);\n"
                    "const QString prefix = \":/res/\";\n");
        probe.close();
        QStringList found;
        for (const IconUse &use : scanSources(scratch.path())) {
            found << use.path;
            QCOMPARE(use.file, QStringLiteral("cells/probe.cpp"));
        }
        QCOMPARE(found, QStringList({QStringLiteral("://res/hasread.png"), QStringLiteral(":/res/xiezuo_key.png"),
                                     QStringLiteral(":/res/xiezuo_my_key.png")}));
    }

    const QVector<IconUse> uses = scanSources(root);
    QStringList failures;
    for (const IconUse &use : uses) {
        const QString problem = loadProblem(use.path);
        if (!problem.isEmpty())
            failures << QStringLiteral("%1 (%2:%3): %4").arg(use.path, use.file).arg(use.line).arg(problem);
    }
    failures.removeDuplicates();
    qInfo("%d icon references checked", int(uses.size()));
    QVERIFY2(failures.isEmpty(), qPrintable(QStringLiteral("unresolved icons:\n  ") + failures.join(QStringLiteral("\n  "))));
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
