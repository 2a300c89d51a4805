#pragma once
// What every fuzz target shares: a Qt application, a signed-in user whose databases live in
// a private temporary folder, views of a store for the invariants, and the way a broken
// invariant is reported (a line on stderr, then abort, which libFuzzer records as a crash
// and fuzz.sh counts apart).
#include <QByteArray>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// Every target links this file, whose LLVMFuzzerInitialize calls init() before the first input.
namespace FuzzSupport {

// Creates the application and signs the user in once per process; later calls do nothing.
void init();

// An input as the targets read it: a selector byte, then the payload.
struct Input
{
    uint8_t selector = 0;
    QByteArray payload;
};
// False for an empty input, which no target reads.
bool split(const uint8_t *data, size_t size, Input *input);
// The private folder of this process (databases, unpacked files).
QString dataDir();

// Reports a broken invariant and aborts.
[[noreturn]] void fail(const char *invariant, const QString &detail = QString());

// A reply body as the JSON value the request layer would hand on: a JSON document's root,
// else the bytes as text (a server may send anything).
QJsonValue jsonOf(const QByteArray &bytes);

// "ok" when the database file passes SQLite's integrity check, else what the check says.
QString integrity(const QString &connection);
// A digest of every row of every table of the database (independent of row order).
QByteArray checksum(const QString &connection);
// The connection the calling thread uses for a book's company (or personal) database.
QString companyConnection(bool isJointSale);
QString personalConnection(bool isJointSale);

} // namespace FuzzSupport

#define FUZZ_CHECK(condition, detail)                                                                                  \
    do {                                                                                                               \
        if (!(condition))                                                                                              \
            FuzzSupport::fail(#condition, detail);                                                                     \
    } while (false)
