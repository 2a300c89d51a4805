// Runs the alliance server simulator on its own:
//   qx_alliance_server [--port N] [--seed S] [--listings N] [--communities N] [--db PATH] [--page-size N]
//                      [--phone P] [--fault path=kind[,kind...]]...
#include "allianceserver.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>

int main(int argc, char *argv[])
{
    // A GUI application without a screen: the seeded photos and contract PDFs carry their
    // texts only where fonts are at hand.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qx_alliance_server"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Alliance server simulator for the house book plug-in."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port to listen on (0: any free port)."), QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of the generated data."), QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption listings(QStringLiteral("listings"), QStringLiteral("Number of seeded listings."), QStringLiteral("N"), QStringLiteral("3000"));
    const QCommandLineOption communities(QStringLiteral("communities"), QStringLiteral("Number of seeded communities."), QStringLiteral("N"), QStringLiteral("320"));
    const QCommandLineOption db(QStringLiteral("db"), QStringLiteral("SQLite file of the server's state (kept between runs of the same seed)."), QStringLiteral("PATH"));
    const QCommandLineOption pageSize(QStringLiteral("page-size"), QStringLiteral("Records per sync page."), QStringLiteral("N"), QStringLiteral("500"));
    const QCommandLineOption phone(QStringLiteral("phone"), QStringLiteral("User of requests that name none."), QStringLiteral("P"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Address to bind."), QStringLiteral("ADDR"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption fault(QStringLiteral("fault"),
                                   QStringLiteral("Fault switch: path=kind[,kind...]; kinds delay:MS, 500, malformed, 405[:msg], 400[:msg], drop. "
                                                  "Path * applies to every path."),
                                   QStringLiteral("PATH=KINDS"));
    parser.addOptions({port, seed, listings, communities, db, pageSize, phone, host, fault});
    parser.process(app);

    QTextStream err(stderr);
    AllianceServer::Options options;
    options.port = parser.value(port).toInt();
    options.seed = parser.value(seed).toUInt();
    options.listings = qMax(0, parser.value(listings).toInt());
    options.communities = qMax(1, parser.value(communities).toInt());
    options.dbPath = parser.value(db);
    options.pageSize = qMax(1, parser.value(pageSize).toInt());
    options.host = parser.value(host);

    AllianceServer server(options);
    for (const QString &faultArg : parser.values(fault)) {
        const int eq = faultArg.indexOf(QLatin1Char('='));
        AllianceServer::Fault f;
        if (eq <= 0 || !AllianceServer::parseFault(faultArg.mid(eq + 1), &f)) {
            err << "bad --fault " << faultArg << "\n";
            return 2;
        }
        server.setFault(faultArg.left(eq), f);
    }
    if (parser.isSet(phone)) {
        // Requests of an unknown user are refused, so such a default would refuse them all.
        if (!server.userPhones().contains(parser.value(phone))) {
            err << "--phone " << parser.value(phone) << " is not a seeded user\n";
            return 2;
        }
        server.setDefaultPhone(parser.value(phone));
    }
    if (!server.start()) {
        err << "cannot start the server (port or database)\n";
        return 1;
    }
    QTextStream out(stdout);
    out << server.port() << Qt::endl;
    err << "alliance server at " << server.baseUrl() << " (roots /app/ /soft/ /web/ /unit/ /help/ /gather/; QX_HOUSEBOOK_SERVER="
        << server.baseUrl() << "), seed "
        << options.seed << ", " << options.listings << " listings; Ctrl+C stops\n";
    err.flush();

    std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    const int rc = app.exec();
    server.stop();
    return rc;
}
