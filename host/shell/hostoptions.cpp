#include "hostoptions.h"

#include "pluginloader.h"

#include <QCommandLineParser>

bool HostOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("联卖房源本演示宿主"));
    parser.addHelpOption();
    const QCommandLineOption serverOpt(QStringLiteral("server"),
        QStringLiteral("Alliance server for all six roots, e.g. http://127.0.0.1:8080 "
                       "(default: QX_HOUSEBOOK_SERVER, else an embedded simulator)."),
        QStringLiteral("url"));
    const QCommandLineOption phoneOpt(QStringLiteral("phone"),
        QStringLiteral("Sign in directly with this phone number."), QStringLiteral("phone"));
    const QCommandLineOption openOpt(QStringLiteral("open"),
        QStringLiteral("Export to call after signing in: %1.").arg(PluginLoader::exportNames().join(QStringLiteral(", "))),
        QStringLiteral("export"));
    const QCommandLineOption idOpt(QStringLiteral("id"),
        QStringLiteral("Listing id for the detail and record exports; list kind (0-3) for the books."),
        QStringLiteral("n"));
    const QCommandLineOption shotOpt(QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window once the opened page has loaded."), QStringLiteral("file"));
    const QCommandLineOption quitOpt(QStringLiteral("quit-after"),
        QStringLiteral("Quit after this many milliseconds at the latest (sooner once the screenshot is saved)."),
        QStringLiteral("ms"));
    parser.addOptions({serverOpt, phoneOpt, openOpt, idOpt, shotOpt, quitOpt});
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        parser.showHelp(0);  // exits
    }
    server = parser.value(serverOpt);
    phone = parser.value(phoneOpt).trimmed();
    openExport = parser.value(openOpt);
    screenshot = parser.value(shotOpt);
    if (!openExport.isEmpty() && !PluginLoader::exportNames().contains(openExport)) {
        *error = QStringLiteral("unknown export \"%1\"").arg(openExport);
        return false;
    }
    bool ok = true;
    if (parser.isSet(idOpt)) {
        id = parser.value(idOpt).toInt(&ok);
        if (!ok || id < 0) {
            *error = QStringLiteral("--id wants a number >= 0");
            return false;
        }
    }
    if (parser.isSet(quitOpt)) {
        quitAfterMs = parser.value(quitOpt).toInt(&ok);
        if (!ok || quitAfterMs < 0) {
            *error = QStringLiteral("--quit-after wants milliseconds >= 0");
            return false;
        }
    }
    if (!server.isEmpty() && !server.startsWith(QLatin1String("http://")) && !server.startsWith(QLatin1String("https://"))) {
        *error = QStringLiteral("--server wants an http:// or https:// address");
        return false;
    }
    return true;
}
