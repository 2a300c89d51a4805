#include "net/endpoints.h"
#include "net/serverconfig.h"

#include <QFile>
#include <QHash>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QUrl>
#include <QVector>
#include <QtTest>

namespace {

// Roots that share no prefix, so an endpoint built on the wrong root shows.
ServerConfig distinctiveConfig()
{
    ServerConfig c;
    c.appRoot = QStringLiteral("http://app-server.test:8101/");
    c.softRoot = QStringLiteral("http://soft-server.test:8102/");
    c.webRoot = QStringLiteral("https://web-server.test:8103/");
    c.unitRoot = QStringLiteral("http://unit-server.test:8104/");
    c.helpRoot = QStringLiteral("http://help-server.test:8105/");
    c.gatherRoot = QStringLiteral("https://gather-server.test:8106/");
    return c;
}

QStringList rootsOf(const ServerConfig &c)
{
    return {c.appRoot, c.softRoot, c.webRoot, c.unitRoot, c.helpRoot, c.gatherRoot};
}

QStringList rootsOf(const Endpoints &e)
{
    return {e.appRoot, e.softRoot, e.webRoot, e.unitRoot, e.helpRoot, e.gatherRoot};
}

// Which configured root a table row is meant to sit on, by the row's root member.
QString configuredRoot(const ServerConfig &c, const QString Endpoints::*root, QString *name)
{
    if (root == &Endpoints::appRoot) { *name = QStringLiteral("app"); return c.appRoot; }
    if (root == &Endpoints::softRoot) { *name = QStringLiteral("soft"); return c.softRoot; }
    if (root == &Endpoints::webRoot) { *name = QStringLiteral("web"); return c.webRoot; }
    if (root == &Endpoints::unitRoot) { *name = QStringLiteral("unit"); return c.unitRoot; }
    if (root == &Endpoints::helpRoot) { *name = QStringLiteral("help"); return c.helpRoot; }
    if (root == &Endpoints::gatherRoot) { *name = QStringLiteral("gather"); return c.gatherRoot; }
    *name = QStringLiteral("?");
    return QString();
}

QProcessEnvironment makeEnv(const QStringList &assignments)
{
    QProcessEnvironment env;
    for (const QString &a : assignments) {
        const int eq = a.indexOf(QLatin1Char('='));
        env.insert(a.left(eq), a.mid(eq + 1));
    }
    return env;
}

} // namespace

class TestEndpoints : public QObject
{
    Q_OBJECT

private slots:
    // The table and the built addresses.
    void everyEntryIsItsRootPlusPath();
    void tableIsWellFormed();
    void tableCoversEveryRoot();
    void rootsAreDistinctAndEndInSlash();
    void photoUploadSitsOnAppRoot();
    void spelling_data();
    void spelling();
    void buildAddsMissingSlash();
    void instanceIsBuiltOnceFromTheProcessConfig();

    // Configuration.
    void defaultsArePlaceholdersPerRole();
    void precedence_data();
    void precedence();
    void loopbackServerSeparatesRoles();
    void selfSigned_data();
    void selfSigned();
    void imageHosts();
};

void TestEndpoints::everyEntryIsItsRootPlusPath()
{
    const ServerConfig cfg = distinctiveConfig();
    const Endpoints e = Endpoints::build(cfg);
    QCOMPARE(rootsOf(e), rootsOf(cfg));

    for (const Endpoints::Entry &entry : Endpoints::entries()) {
        QString rootName;
        const QString root = configuredRoot(cfg, entry.root, &rootName);
        QVERIFY2(!root.isEmpty(), entry.name);
        const QString expected = root + QLatin1String(entry.path);
        QVERIFY2(e.*entry.member == expected,
                 qPrintable(QStringLiteral("%1 (%2 root): got %3, want %4")
                                .arg(QLatin1String(entry.name), rootName, e.*entry.member, expected)));
    }
}

void TestEndpoints::tableIsWellFormed()
{
    const Endpoints e = Endpoints::build(distinctiveConfig());
    const QRegularExpression shape(QStringLiteral("^[A-Za-z0-9_]+(/[A-Za-z0-9_]+)*(\\.html)?$"));

    QSet<QString> paths, names, addresses;
    for (const Endpoints::Entry &entry : Endpoints::entries()) {
        const QString path = QLatin1String(entry.path);
        const QString name = QLatin1String(entry.name);

        // A relative path with no leading, trailing or doubled "/" and no blanks.
        QVERIFY2(shape.match(path).hasMatch(), entry.path);

        // The member is named after its path, so a typo in either shows here.
        QString derived = path;
        derived.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('.'), QLatin1Char('_'));
        QCOMPARE(name, derived);

        QVERIFY2(!paths.contains(path), qPrintable(QStringLiteral("duplicate path ") + path));
        QVERIFY2(!names.contains(name), qPrintable(QStringLiteral("duplicate member ") + name));
        const QString address = e.*entry.member;
        QVERIFY2(!addresses.contains(address), qPrintable(QStringLiteral("duplicate address ") + address));
        paths.insert(path);
        names.insert(name);
        addresses.insert(address);

        // Every address is usable as a URL on its configured server.
        const QUrl url(address);
        QVERIFY2(url.isValid() && !url.host().isEmpty(), qPrintable(address));
    }
}

void TestEndpoints::tableCoversEveryRoot()
{
    // How many endpoints each server serves; a dropped or misplaced row changes these.
    QHash<QString, int> perRoot;
    const ServerConfig cfg = distinctiveConfig();
    for (const Endpoints::Entry &entry : Endpoints::entries()) {
        QString rootName;
        configuredRoot(cfg, entry.root, &rootName);
        ++perRoot[rootName];
    }
    QCOMPARE(perRoot.value(QStringLiteral("app")), 109);
    QCOMPARE(perRoot.value(QStringLiteral("soft")), 22);
    QCOMPARE(perRoot.value(QStringLiteral("web")), 9);
    QCOMPARE(perRoot.value(QStringLiteral("unit")), 2);
    QCOMPARE(perRoot.value(QStringLiteral("help")), 2);
    QCOMPARE(perRoot.value(QStringLiteral("gather")), 2);
    QCOMPARE(perRoot.size(), 6);
    QCOMPARE(Endpoints::entries().size(), 146);
}

void TestEndpoints::rootsAreDistinctAndEndInSlash()
{
    const QVector<ServerConfig> configs = {
        ServerConfig(),
        ServerConfig::fromSettings(QString(), QProcessEnvironment()),
        ServerConfig::fromSettings(QString(), makeEnv({QStringLiteral("QX_HOUSEBOOK_SERVER=http://127.0.0.1:1")})),
        Endpoints::config(),
    };
    for (const ServerConfig &cfg : configs) {
        const QStringList roots = rootsOf(Endpoints::build(cfg));
        QCOMPARE(roots.size(), 6);
        QCOMPARE(QSet<QString>(roots.cbegin(), roots.cend()).size(), 6);
        for (const QString &root : roots)
            QVERIFY2(root.endsWith(QLatin1Char('/')) && !root.endsWith(QLatin1String("//")), qPrintable(root));
    }
}

void TestEndpoints::photoUploadSitsOnAppRoot()
{
    const Endpoints e = Endpoints::build(distinctiveConfig());
    QCOMPARE(e.photoUpload, QStringLiteral("http://app-server.test:8101/app/upphoto"));
    QCOMPARE(e.photoUpload, e.appRoot + QStringLiteral("app/upphoto"));
    QCOMPARE(QUrl(e.photoUpload).host(), QUrl(e.appRoot).host());
    QCOMPARE(QUrl(e.photoUpload).port(), QUrl(e.appRoot).port());

    ServerConfig moved = distinctiveConfig();
    moved.appRoot = QStringLiteral("http://10.1.2.3:9000/app/");
    QCOMPARE(Endpoints::build(moved).photoUpload, QStringLiteral("http://10.1.2.3:9000/app/app/upphoto"));
}

void TestEndpoints::spelling_data()
{
    const Endpoints e = Endpoints::build(distinctiveConfig());
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    QTest::newRow("app/addviews") << e.app_addviews << "http://app-server.test:8101/app/addviews";
    QTest::newRow("app/housebooknewstate")
        << e.app_housebooknewstate << "http://app-server.test:8101/app/housebooknewstate";
    QTest::newRow("app/LianmaiSyncHousebook")
        << e.app_LianmaiSyncHousebook << "http://app-server.test:8101/app/LianmaiSyncHousebook";
    QTest::newRow("fd/HouseEidt") << e.fd_HouseEidt << "http://app-server.test:8101/fd/HouseEidt";
    QTest::newRow("fd/LianmaiPosts") << e.fd_LianmaiPosts << "http://app-server.test:8101/fd/LianmaiPosts";
    QTest::newRow("itcontract/LianmaiPosts")
        << e.itcontract_LianmaiPosts << "http://app-server.test:8101/itcontract/LianmaiPosts";
    QTest::newRow("fd/getfendanguize") << e.fd_getfendanguize << "http://app-server.test:8101/fd/getfendanguize";
    QTest::newRow("fd/fendanguize") << e.fd_fendanguize << "http://app-server.test:8101/fd/fendanguize";
    QTest::newRow("fd/HousePhotoNavigation")
        << e.fd_HousePhotoNavigation << "http://app-server.test:8101/fd/HousePhotoNavigation";
    QTest::newRow("call/getrecordfileX")
        << e.call_getrecordfileX << "http://app-server.test:8101/call/getrecordfileX";
    QTest::newRow("map/residence.html")
        << e.map_residence_html << "http://app-server.test:8101/map/residence.html";
    QTest::newRow("zb/excelAddfile") << e.zb_excelAddfile << "http://app-server.test:8101/zb/excelAddfile";

    QTest::newRow("lmai/lwpV2") << e.lmai_lwpV2 << "http://soft-server.test:8102/lmai/lwpV2";
    QTest::newRow("omp/lwpV2") << e.omp_lwpV2 << "http://soft-server.test:8102/omp/lwpV2";
    QTest::newRow("omp/emp/dept_staff_info")
        << e.omp_emp_dept_staff_info << "http://soft-server.test:8102/omp/emp/dept_staff_info";
    QTest::newRow("house/jinggeng/loudongInfo")
        << e.house_jinggeng_loudongInfo << "http://soft-server.test:8102/house/jinggeng/loudongInfo";
    QTest::newRow("client/house_daikan_posts")
        << e.client_house_daikan_posts << "http://soft-server.test:8102/client/house_daikan_posts";
    QTest::newRow("Propaganda/WatermarkDetail")
        << e.Propaganda_WatermarkDetail << "http://soft-server.test:8102/Propaganda/WatermarkDetail";

    QTest::newRow("Wubapush/datahouse") << e.Wubapush_datahouse << "https://web-server.test:8103/Wubapush/datahouse";
    QTest::newRow("VtApp/houseremove") << e.VtApp_houseremove << "https://web-server.test:8103/VtApp/houseremove";

    QTest::newRow("intensiveFarming/getUnitList")
        << e.intensiveFarming_getUnitList << "http://unit-server.test:8104/intensiveFarming/getUnitList";

    QTest::newRow("apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime")
        << e.apiv3_0_2_ArCheckApplyRecordCtr_isSetPrime
        << "http://help-server.test:8105/apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime";
    QTest::newRow("apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck")
        << e.apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck
        << "http://help-server.test:8105/apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck";

    QTest::newRow("black/cityList") << e.black_cityList << "https://gather-server.test:8106/black/cityList";
    QTest::newRow("gather/community") << e.gather_community << "https://gather-server.test:8106/gather/community";
}

void TestEndpoints::spelling()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void TestEndpoints::buildAddsMissingSlash()
{
    // A hand-made configuration without the "/" must not glue host and path together.
    ServerConfig cfg = distinctiveConfig();
    cfg.softRoot = QStringLiteral("http://soft-server.test:8102");
    cfg.helpRoot = QStringLiteral("http://help-server.test:8105/help");
    const Endpoints e = Endpoints::build(cfg);
    QCOMPARE(e.softRoot, QStringLiteral("http://soft-server.test:8102/"));
    QCOMPARE(e.lmai_lwpV2, QStringLiteral("http://soft-server.test:8102/lmai/lwpV2"));
    QCOMPARE(e.apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck,
             QStringLiteral("http://help-server.test:8105/help/apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck"));
}

void TestEndpoints::instanceIsBuiltOnceFromTheProcessConfig()
{
    const Endpoints &first = Endpoints::instance();
    QCOMPARE(&Endpoints::instance(), &first);
    QCOMPARE(&Endpoints::config(), &Endpoints::config());

    // The process configuration is what load() reads, and instance() follows it.
    QVERIFY(Endpoints::config() == ServerConfig::load());
    const Endpoints fromConfig = Endpoints::build(Endpoints::config());
    QCOMPARE(rootsOf(first), rootsOf(fromConfig));
    QCOMPARE(first.photoUpload, fromConfig.photoUpload);
    for (const Endpoints::Entry &entry : Endpoints::entries())
        QCOMPARE(first.*entry.member, fromConfig.*entry.member);
}

void TestEndpoints::defaultsArePlaceholdersPerRole()
{
    const ServerConfig c = ServerConfig::fromSettings(QString(), QProcessEnvironment());
    QVERIFY(c == ServerConfig());
    QVERIFY(!c.allowSelfSigned);

    // Each role keeps its scheme; the portal exchange and gathering servers are TLS.
    const QStringList schemes = {QStringLiteral("http"), QStringLiteral("http"), QStringLiteral("https"),
                                 QStringLiteral("http"), QStringLiteral("http"), QStringLiteral("https")};
    const QStringList roots = rootsOf(c);
    for (int i = 0; i < roots.size(); ++i) {
        const QUrl url(roots.at(i));
        QVERIFY2(url.isValid() && !url.host().isEmpty(), qPrintable(roots.at(i)));
        QCOMPARE(url.scheme(), schemes.at(i));
        QVERIFY(roots.at(i).endsWith(QLatin1Char('/')));
    }
    QCOMPARE(QSet<QString>(roots.cbegin(), roots.cend()).size(), 6);
}

void TestEndpoints::precedence_data()
{
    QTest::addColumn<QString>("ini");       // contents; null: no file at all
    QTest::addColumn<QStringList>("env");   // NAME=value
    QTest::addColumn<QStringList>("roots"); // app, soft, web, unit, help, gather; "" keeps the default

    const QString none;
    const QStringList defaults = {QString(), QString(), QString(), QString(), QString(), QString()};
    const QStringList loopback = {
        QStringLiteral("http://127.0.0.1:8080/app/"),  QStringLiteral("http://127.0.0.1:8080/soft/"),
        QStringLiteral("http://127.0.0.1:8080/web/"),  QStringLiteral("http://127.0.0.1:8080/unit/"),
        QStringLiteral("http://127.0.0.1:8080/help/"), QStringLiteral("http://127.0.0.1:8080/gather/")};
    const QString allSixIni = QStringLiteral("[server]\n"
                                             "appRoot=http://ini-app.lan/\n"
                                             "softRoot=http://ini-soft.lan/\n"
                                             "webRoot=https://ini-web.lan/\n"
                                             "unitRoot=http://ini-unit.lan/\n"
                                             "helpRoot=http://ini-help.lan/\n"
                                             "gatherRoot=https://ini-gather.lan/\n");
    const QStringList allSix = {QStringLiteral("http://ini-app.lan/"),  QStringLiteral("http://ini-soft.lan/"),
                                QStringLiteral("https://ini-web.lan/"), QStringLiteral("http://ini-unit.lan/"),
                                QStringLiteral("http://ini-help.lan/"), QStringLiteral("https://ini-gather.lan/")};
    const QString base = QStringLiteral("QX_HOUSEBOOK_SERVER=http://127.0.0.1:8080");

    QTest::newRow("nothing configured") << none << QStringList() << defaults;
    QTest::newRow("empty ini") << QString(QLatin1String("")) << QStringList() << defaults;
    QTest::newRow("ini overrides some roots")
        << QStringLiteral("[server]\nappRoot=http://10.0.0.1:81/\nwebRoot=https://portal.lan/x/\n") << QStringList()
        << QStringList{QStringLiteral("http://10.0.0.1:81/"), QString(), QStringLiteral("https://portal.lan/x/"),
                       QString(), QString(), QString()};
    QTest::newRow("ini overrides all roots") << allSixIni << QStringList() << allSix;
    QTest::newRow("ini root without slash")
        << QStringLiteral("[server]\ngatherRoot=https://g.lan:8443\nunitRoot = http://u.lan/base \n")
        << QStringList()
        << QStringList{QString(), QString(), QString(), QStringLiteral("http://u.lan/base/"), QString(),
                       QStringLiteral("https://g.lan:8443/")};
    QTest::newRow("ini keys outside [server] ignored")
        << QStringLiteral("appRoot=http://top.lan/\n[other]\nsoftRoot=http://other.lan/\n") << QStringList()
        << defaults;
    QTest::newRow("ini empty value keeps default")
        << QStringLiteral("[server]\nappRoot=\nhelpRoot=http://h.lan/\n") << QStringList()
        << QStringList{QString(), QString(), QString(), QString(), QStringLiteral("http://h.lan/"), QString()};
    QTest::newRow("ini value with a comma stays whole")
        << QStringLiteral("[server]\nappRoot=http://a.lan/x,y/\n") << QStringList()
        << QStringList{QStringLiteral("http://a.lan/x,y/"), QString(), QString(), QString(), QString(), QString()};

    QTest::newRow("base sets all six") << none << QStringList{base} << loopback;
    QTest::newRow("base with trailing slash")
        << none << QStringList{QStringLiteral("QX_HOUSEBOOK_SERVER=http://127.0.0.1:8080/")} << loopback;
    QTest::newRow("base beats ini") << allSixIni << QStringList{base} << loopback;
    QTest::newRow("empty base ignored")
        << allSixIni << QStringList{QStringLiteral("QX_HOUSEBOOK_SERVER=")} << allSix;

    QStringList webOverride = loopback;
    webOverride[2] = QStringLiteral("https://127.0.0.1:9443/portal/");
    QTest::newRow("per-root beats base")
        << none << QStringList{base, QStringLiteral("QX_HOUSEBOOK_WEB_ROOT=https://127.0.0.1:9443/portal")}
        << webOverride;
    QTest::newRow("per-root beats base and ini")
        << allSixIni << QStringList{QStringLiteral("QX_HOUSEBOOK_WEB_ROOT=https://127.0.0.1:9443/portal"), base}
        << webOverride;

    QStringList appOverride = allSix;
    appOverride[0] = QStringLiteral("http://env-app.lan/");
    QTest::newRow("per-root beats ini")
        << allSixIni << QStringList{QStringLiteral("QX_HOUSEBOOK_APP_ROOT=http://env-app.lan")} << appOverride;
    QTest::newRow("empty per-root ignored")
        << allSixIni << QStringList{QStringLiteral("QX_HOUSEBOOK_APP_ROOT=")} << allSix;

    QTest::newRow("every per-root variable")
        << allSixIni
        << QStringList{QStringLiteral("QX_HOUSEBOOK_APP_ROOT=http://e1/"),
                       QStringLiteral("QX_HOUSEBOOK_SOFT_ROOT=http://e2/"),
                       QStringLiteral("QX_HOUSEBOOK_WEB_ROOT=https://e3/"),
                       QStringLiteral("QX_HOUSEBOOK_UNIT_ROOT=http://e4/"),
                       QStringLiteral("QX_HOUSEBOOK_HELP_ROOT=http://e5/"),
                       QStringLiteral("QX_HOUSEBOOK_GATHER_ROOT=https://e6/"), base}
        << QStringList{QStringLiteral("http://e1/"),  QStringLiteral("http://e2/"), QStringLiteral("https://e3/"),
                       QStringLiteral("http://e4/"),  QStringLiteral("http://e5/"), QStringLiteral("https://e6/")};
}

void TestEndpoints::precedence()
{
    QFETCH(QString, ini);
    QFETCH(QStringList, env);
    QFETCH(QStringList, roots);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString iniPath = dir.filePath(ServerConfig::iniFileName());
    if (!ini.isNull()) {
        QFile f(iniPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(ini.toUtf8());
    }

    const ServerConfig c = ServerConfig::fromSettings(iniPath, makeEnv(env));
    QStringList expected = roots;
    const QStringList defaults = rootsOf(ServerConfig());
    for (int i = 0; i < expected.size(); ++i) {
        if (expected.at(i).isEmpty())
            expected[i] = defaults.at(i);
    }
    QCOMPARE(rootsOf(c), expected);
    QVERIFY(!c.allowSelfSigned);
}

void TestEndpoints::loopbackServerSeparatesRoles()
{
    // One loopback server behind all roots tells them apart by the first path segment.
    const ServerConfig cfg = ServerConfig::fromSettings(
        QString(), makeEnv({QStringLiteral("QX_HOUSEBOOK_SERVER=http://127.0.0.1:8080")}));
    const Endpoints e = Endpoints::build(cfg);
    QCOMPARE(e.app_addviews, QStringLiteral("http://127.0.0.1:8080/app/app/addviews"));
    QCOMPARE(e.photoUpload, QStringLiteral("http://127.0.0.1:8080/app/app/upphoto"));
    QCOMPARE(e.omp_lwpV2, QStringLiteral("http://127.0.0.1:8080/soft/omp/lwpV2"));
    QCOMPARE(e.VtApp_houseimport, QStringLiteral("http://127.0.0.1:8080/web/VtApp/houseimport"));
    QCOMPARE(e.intensiveFarming_getHouseList,
             QStringLiteral("http://127.0.0.1:8080/unit/intensiveFarming/getHouseList"));
    QCOMPARE(e.apiv3_0_2_ArCheckApplyRecordCtr_isSetPrime,
             QStringLiteral("http://127.0.0.1:8080/help/apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime"));
    QCOMPARE(e.black_cityList, QStringLiteral("http://127.0.0.1:8080/gather/black/cityList"));
}

void TestEndpoints::selfSigned_data()
{
    QTest::addColumn<QString>("iniValue"); // null: key absent
    QTest::addColumn<QString>("envValue"); // null: variable absent
    QTest::addColumn<bool>("expected");

    const QString none;
    QTest::newRow("not configured") << none << none << false;
    QTest::newRow("ini true") << QStringLiteral("true") << none << true;
    QTest::newRow("ini 1") << QStringLiteral("1") << none << true;
    QTest::newRow("ini false") << QStringLiteral("false") << none << false;
    QTest::newRow("ini 0") << QStringLiteral("0") << none << false;
    QTest::newRow("ini unrecognised") << QStringLiteral("maybe") << none << false;
    QTest::newRow("ini empty") << QString(QLatin1String("")) << none << false;
    QTest::newRow("env 1") << none << QStringLiteral("1") << true;
    QTest::newRow("env true") << none << QStringLiteral("true") << true;
    QTest::newRow("env TRUE") << none << QStringLiteral("TRUE") << true;
    QTest::newRow("env 0") << none << QStringLiteral("0") << false;
    QTest::newRow("env unrecognised") << none << QStringLiteral("nah") << false;
    QTest::newRow("env 0 beats ini true") << QStringLiteral("true") << QStringLiteral("0") << false;
    QTest::newRow("env false beats ini 1") << QStringLiteral("1") << QStringLiteral("false") << false;
    QTest::newRow("env 1 beats ini false") << QStringLiteral("false") << QStringLiteral("1") << true;
    QTest::newRow("empty env keeps ini") << QStringLiteral("true") << QString(QLatin1String("")) << true;
}

void TestEndpoints::selfSigned()
{
    QFETCH(QString, iniValue);
    QFETCH(QString, envValue);
    QFETCH(bool, expected);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString iniPath = dir.filePath(ServerConfig::iniFileName());
    {
        QFile f(iniPath);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QString text = QStringLiteral("[server]\nappRoot=http://127.0.0.1:1/\n");
        if (!iniValue.isNull())
            text += QStringLiteral("allowSelfSigned=") + iniValue + QLatin1Char('\n');
        f.write(text.toUtf8());
    }
    // The base address must not switch verification off by itself.
    QStringList env{QStringLiteral("QX_HOUSEBOOK_SERVER=https://127.0.0.1:8443")};
    if (!envValue.isNull())
        env << QStringLiteral("QX_HOUSEBOOK_ALLOW_SELF_SIGNED=") + envValue;

    const ServerConfig c = ServerConfig::fromSettings(iniPath, makeEnv(env));
    QCOMPARE(c.allowSelfSigned, expected);
    QCOMPARE(c.appRoot, QStringLiteral("https://127.0.0.1:8443/app/"));
}

// The alliance's picture hosts: a comma list in the INI file, replaced by the environment.
void TestEndpoints::imageHosts()
{
    QTemporaryDir dir;
    const QString iniPath = dir.filePath(ServerConfig::iniFileName());
    QFile f(iniPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[server]\nimageHosts=img.a.test, pic.b.test\n");
    f.close();
    QCOMPARE(ServerConfig::fromSettings(iniPath, makeEnv({})).imageHosts,
             (QStringList{QStringLiteral("img.a.test"), QStringLiteral("pic.b.test")}));
    QCOMPARE(ServerConfig::fromSettings(iniPath, makeEnv({QStringLiteral("QX_HOUSEBOOK_IMAGE_HOSTS=c.test")})).imageHosts,
             QStringList{QStringLiteral("c.test")});
    QCOMPARE(ServerConfig::fromSettings(QString(), makeEnv({QStringLiteral("QX_HOUSEBOOK_IMAGE_HOSTS= , ")})).imageHosts,
             ServerConfig().imageHosts);
}

QTEST_GUILESS_MAIN(TestEndpoints)
#include "tst_endpoints.moc"
