#include "net/serverconfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace {

// One root: where it sits in the config, its INI key, its environment
// variable and the path prefix it gets under a shared base address.
struct RootSetting
{
    QString ServerConfig::*field;
    const char *iniKey;
    const char *envName;
    const char *basePath;
};

const RootSetting kRoots[] = {
    {&ServerConfig::appRoot, "appRoot", "QX_HOUSEBOOK_APP_ROOT", "/app/"},
    {&ServerConfig::softRoot, "softRoot", "QX_HOUSEBOOK_SOFT_ROOT", "/soft/"},
    {&ServerConfig::webRoot, "webRoot", "QX_HOUSEBOOK_WEB_ROOT", "/web/"},
    {&ServerConfig::unitRoot, "unitRoot", "QX_HOUSEBOOK_UNIT_ROOT", "/unit/"},
    {&ServerConfig::helpRoot, "helpRoot", "QX_HOUSEBOOK_HELP_ROOT", "/help/"},
    {&ServerConfig::gatherRoot, "gatherRoot", "QX_HOUSEBOOK_GATHER_ROOT", "/gather/"},
};

const char kBaseEnv[] = "QX_HOUSEBOOK_SERVER";
const char kSelfSignedEnv[] = "QX_HOUSEBOOK_ALLOW_SELF_SIGNED";
const char kSelfSignedKey[] = "allowSelfSigned";
const char kImageHostsEnv[] = "QX_HOUSEBOOK_IMAGE_HOSTS";
const char kImageHostsKey[] = "imageHosts";
const char kStoreGroup[] = "store";
const char kDataRootKey[] = "dataRoot";
const char kDataRootEnv[] = "QX_HOUSEBOOK_DATA_DIR";

QStringList hostList(const QString &text)
{
    QStringList hosts;
    for (const QString &h : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!h.trimmed().isEmpty())
            hosts << h.trimmed();
    }
    return hosts;
}

// QSettings splits an unquoted INI value at commas; a value is one string here.
QString iniString(const QSettings &ini, const char *key)
{
    const QVariant v = ini.value(QLatin1String(key));
    if (v.type() == QVariant::StringList)
        return v.toStringList().join(QLatin1Char(',')).trimmed();
    return v.toString().trimmed();
}

QString envString(const QProcessEnvironment &env, const char *name)
{
    return env.value(QLatin1String(name)).trimmed();
}

// A switch only counts as on when written as such; anything unrecognised is off.
bool isOn(const QString &text)
{
    const QString t = text.toLower();
    return t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("yes")
        || t == QLatin1String("on");
}

// A folder named relative to base, cleaned and without a trailing separator.
QString absoluteFolder(const QDir &base, const QString &folder)
{
    return QDir::cleanPath(base.absoluteFilePath(QDir::fromNativeSeparators(folder)));
}

} // namespace

QString ServerConfig::iniFileName()
{
    return QStringLiteral("qx_jointsale_housebook.ini");
}

QString ServerConfig::withTrailingSlash(const QString &root)
{
    if (root.isEmpty() || root.endsWith(QLatin1Char('/')))
        return root;
    return root + QLatin1Char('/');
}

ServerConfig ServerConfig::load()
{
    // Without an application object there is no application directory; a
    // relative path would make the current directory the configuration.
    QString iniPath;
    if (QCoreApplication::instance())
        iniPath = QDir(QCoreApplication::applicationDirPath()).filePath(iniFileName());
    return fromSettings(iniPath, QProcessEnvironment::systemEnvironment());
}

ServerConfig ServerConfig::fromSettings(const QString &iniPath, const QProcessEnvironment &env)
{
    ServerConfig c;

    if (!iniPath.isEmpty() && QFileInfo(iniPath).isFile()) {
        QSettings ini(iniPath, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("server"));
        for (const RootSetting &r : kRoots) {
            const QString v = iniString(ini, r.iniKey);
            if (!v.isEmpty())
                c.*r.field = v;
        }
        const QString selfSigned = iniString(ini, kSelfSignedKey);
        if (!selfSigned.isEmpty())
            c.allowSelfSigned = isOn(selfSigned);
        const QStringList iniHosts = hostList(iniString(ini, kImageHostsKey));
        if (!iniHosts.isEmpty())
            c.imageHosts = iniHosts;
        ini.endGroup();
        ini.beginGroup(QLatin1String(kStoreGroup));
        const QString dataRoot = iniString(ini, kDataRootKey);
        if (!dataRoot.isEmpty())
            c.dataRoot = absoluteFolder(QFileInfo(iniPath).absoluteDir(), dataRoot);
        ini.endGroup();
    }

    QString base = envString(env, kBaseEnv);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    if (!base.isEmpty()) {
        for (const RootSetting &r : kRoots)
            c.*r.field = base + QLatin1String(r.basePath);
    }

    for (const RootSetting &r : kRoots) {
        const QString v = envString(env, r.envName);
        if (!v.isEmpty())
            c.*r.field = v;
    }

    const QString selfSigned = envString(env, kSelfSignedEnv);
    if (!selfSigned.isEmpty())
        c.allowSelfSigned = isOn(selfSigned);
    const QStringList envHosts = hostList(envString(env, kImageHostsEnv));
    if (!envHosts.isEmpty())
        c.imageHosts = envHosts;
    const QString dataRoot = envString(env, kDataRootEnv);
    if (!dataRoot.isEmpty())
        c.dataRoot = absoluteFolder(QDir::current(), dataRoot);

    for (const RootSetting &r : kRoots)
        c.*r.field = withTrailingSlash(c.*r.field);
    return c;
}

bool ServerConfig::operator==(const ServerConfig &other) const
{
    for (const RootSetting &r : kRoots) {
        if (this->*r.field != other.*r.field)
            return false;
    }
    return allowSelfSigned == other.allowSelfSigned && imageHosts == other.imageHosts && dataRoot == other.dataRoot;
}
