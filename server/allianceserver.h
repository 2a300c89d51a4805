#pragma once
// The alliance server simulator: one loopback HTTP server that answers every path the
// plug-in posts to, under all six roots ("/app/", "/soft/", "/web/", "/unit/", "/help/",
// "/gather/"), with the usual envelope {code, message, data}. Its state (listings,
// communities, personal lists, follow-ups) lives in its own SQLite database, seeded
// deterministically from a seed number, so the plug-in's changes come back through its
// next sync. See server/README.md for the users, the reply shapes and the fault switches.
#include <QMap>
#include <QString>
#include <QVariantMap>

#include <memory>

class AllianceServer
{
public:
    struct Options
    {
        int port = 0;             // 0: any free port
        quint32 seed = 1;         // same seed, same data
        int listings = 3000;      // seeded listings
        int communities = 320;    // seeded communities
        int pageSize = 500;       // records per sync page
        QString dbPath;           // empty: a temporary file removed with the server
        QString host = QStringLiteral("127.0.0.1");
    };

    // What a path answers instead of its normal reply. Switches combine: the delay comes
    // first, then the first of drop, 500, 405, 400 and malformed that is set.
    struct Fault
    {
        int delayMs = 0;
        bool status500 = false;     // HTTP 500 with a plain-text body
        bool malformed = false;     // HTTP 200, a body that is not JSON
        bool refuse405 = false;     // envelope code 405 with `message`
        bool lostLogin400 = false;  // envelope code 400 with `message` (the login is gone)
        bool drop = false;          // the connection closes before a complete answer
        QString message;            // for 405 and 400; a default text when empty

        bool isSet() const { return delayMs > 0 || status500 || malformed || refuse405 || lostLogin400 || drop; }
    };

    AllianceServer();
    explicit AllianceServer(const Options &options);
    ~AllianceServer();
    AllianceServer(const AllianceServer &) = delete;
    AllianceServer &operator=(const AllianceServer &) = delete;

    // Opens (and seeds when needed) the database, binds and starts serving on a thread of
    // its own. False when the database or the port cannot be had.
    bool start();
    void stop();
    bool isRunning() const;
    int port() const;
    // "http://127.0.0.1:PORT" (no trailing "/"): what QX_HOUSEBOOK_SERVER takes to point all
    // six roots of the plug-in here.
    QString baseUrl() const;
    // The root of one of the six services, e.g. rootUrl("app") = baseUrl() + "/app/".
    QString rootUrl(const QString &root) const;

    // Fault switches by relative path ("app/synchousebook"); "*" applies to every path
    // without a switch of its own. An unset Fault clears the switch.
    void setFault(const QString &path, const Fault &fault);
    void clearFaults();
    // Reads "kind[,kind...]" with kinds delay:MS, 500, malformed, 405[:message],
    // 400[:message] and drop; false for an unknown kind.
    static bool parseFault(const QString &text, Fault *fault);

    // The signed-in user of requests that name none (no "qxphone" cookie, no phone field).
    void setDefaultPhone(const QString &phone);
    QString defaultPhone() const;

    // Offers a company database snapshot to every sync: "hbook/checkhousedb" answers the
    // address of /files/snapshot.db, which serves this file's bytes (its downloads count as
    // hits of "files/snapshot.db"). Empty: no snapshot.
    void setSnapshotFile(const QString &path);

    // Phones of the seeded users, the joint-sale manager first.
    QStringList userPhones() const;
    // How many requests a relative path has answered (faults included).
    int hits(const QString &path) const;

    const Options &options() const;

    // What a portal holds of a listing (see Alliance::Store::portalRecord): the last form
    // posted, its status, the takedown reason and time. For tests; empty before start().
    QVariantMap portalRecord(const QString &portal, qint64 houseId) const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
