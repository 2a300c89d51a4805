#pragma once

#include <QString>
#include <QStringList>

class QProcessEnvironment;

// Where the module's servers live. The six roots are deployment settings: the
// defaults are placeholders, a real installation (or the demo and the tests)
// points them somewhere through an INI file next to the plug-in and/or
// environment variables. Every root ends in "/" so that an endpoint is simply
// root + relative path.
class ServerConfig
{
public:
    // Application server: listing book, follow-ups, settings, reports, sync.
    QString appRoot = QStringLiteral("http://app.example.invalid/");
    // Organisation and building-data server.
    QString softRoot = QStringLiteral("http://soft.example.invalid/");
    // Portal exchange server.
    QString webRoot = QStringLiteral("https://web.example.invalid/");
    // Fine-grained unit data service.
    QString unitRoot = QStringLiteral("http://unit.example.invalid/");
    // Help and approval-check service.
    QString helpRoot = QStringLiteral("http://help.example.invalid/");
    // Gathering service (community gathering, city black list).
    QString gatherRoot = QStringLiteral("https://gather.example.invalid/");

    // Certificates are always verified unless this is switched on explicitly,
    // which is meant for a test server with a self-signed certificate.
    bool allowSelfSigned = false;

    // Host names of the alliance's own picture servers: a photo already there is not
    // uploaded again. INI key imageHosts / QX_HOUSEBOOK_IMAGE_HOSTS, comma-separated.
    QStringList imageHosts{QStringLiteral("img.example.invalid"), QStringLiteral("pic.example.invalid")};

    // Folder that takes the place of the application directory for the personal databases
    // and the personal settings file; empty: the application directory, as on the real
    // host. INI group [store] key dataRoot (relative to the INI file's folder) /
    // QX_HOUSEBOOK_DATA_DIR. The demo host gives every user a folder of their own this way.
    QString dataRoot;

    // Name of the INI file looked for in the application directory.
    static QString iniFileName();

    // The configuration of this process: the defaults, overridden by
    // qx_jointsale_housebook.ini in QCoreApplication::applicationDirPath()
    // (group [server]), overridden by the QX_HOUSEBOOK_* environment variables.
    static ServerConfig load();

    // Same precedence as load(), from an explicit INI file (which may be
    // missing or empty) and an explicit environment.
    //
    // INI, group [server]: appRoot, softRoot, webRoot, unitRoot, helpRoot,
    //   gatherRoot, allowSelfSigned; group [store]: dataRoot.
    // Environment, in increasing precedence:
    //   QX_HOUSEBOOK_SERVER=<scheme://host[:port]> sets all six roots to
    //     <base>/app/, /soft/, /web/, /unit/, /help/, /gather/ so that one
    //     server can tell the roles apart by path;
    //   QX_HOUSEBOOK_APP_ROOT, _SOFT_ROOT, _WEB_ROOT, _UNIT_ROOT, _HELP_ROOT,
    //     _GATHER_ROOT set one root each;
    //   QX_HOUSEBOOK_ALLOW_SELF_SIGNED=1|true (0|false switches it off again);
    //   QX_HOUSEBOOK_DATA_DIR=<folder> (relative: to the current directory).
    // Empty values are ignored; a root without a trailing "/" gets one.
    static ServerConfig fromSettings(const QString &iniPath, const QProcessEnvironment &env);

    // root with exactly the trailing "/" an endpoint root needs (unchanged
    // when it already ends in one; an empty root stays empty).
    static QString withTrailingSlash(const QString &root);

    bool operator==(const ServerConfig &other) const;
    bool operator!=(const ServerConfig &other) const { return !(*this == other); }
};
