// Search conditions as the search bar, the column filters and the paging bar hand them to the
// listing store, read from a JSON object: {"mode", "subMode", "activeOnly", "conditions",
// "columnFilters", "ids", "sortKey", "sortDescending", "page", "pageSize", "fields"}; byte 0
// picks the book. Invariants: the list and count statements are each one statement SQLite
// prepares and runs without error on the book's database, whatever the texts hold.
#include "fuzzsupport.h"

#include "sql/housemessage_datasqltable.h"
#include "sql/housequerybuilder.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <limits>

namespace {

// A number of the input as an int, the ends of the range for numbers beyond it.
int intOf(const QJsonValue &value, int fallback)
{
    if (!value.isDouble())
        return fallback;
    const double d = value.toDouble();
    if (!(d == d))
        return fallback;
    if (d <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (d >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(d);
}

QStringList textsOf(const QJsonValue &value)
{
    QStringList texts;
    for (const QJsonValue &item : value.toArray())
        texts << item.toVariant().toString();
    return texts;
}

HouseQuery queryOf(const QJsonObject &o)
{
    HouseQuery query;
    query.mode = intOf(o.value(QLatin1String("mode")), query.mode);
    query.subMode = intOf(o.value(QLatin1String("subMode")), query.subMode);
    query.activeOnly = o.value(QLatin1String("activeOnly")).toBool();
    query.conditions = o.value(QLatin1String("conditions")).toObject().toVariantMap();
    query.columnFilters = o.value(QLatin1String("columnFilters")).toObject().toVariantMap();
    query.ids = textsOf(o.value(QLatin1String("ids")));
    if (o.value(QLatin1String("sortKey")).isString())
        query.sortKey = o.value(QLatin1String("sortKey")).toString();
    query.sortDescending = o.value(QLatin1String("sortDescending")).toBool(true);
    query.page = intOf(o.value(QLatin1String("page")), query.page);
    query.pageSize = intOf(o.value(QLatin1String("pageSize")), query.pageSize);
    query.fields = textsOf(o.value(QLatin1String("fields")));
    return query;
}

void checkRuns(const QString &connection, const QString &statement, const QString &detail)
{
    QSqlQuery query(QSqlDatabase::database(connection, false));
    query.setForwardOnly(true);
    FUZZ_CHECK(query.prepare(statement), detail + QLatin1Char('\n') + statement + QLatin1Char('\n') + query.lastError().text());
    FUZZ_CHECK(query.exec(), detail + QLatin1Char('\n') + statement + QLatin1Char('\n') + query.lastError().text());
    while (query.next()) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::Input input;
    if (!FuzzSupport::split(data, size, &input))
        return 0;
    const bool isJointSale = input.selector & 1;
    const QByteArray &bytes = input.payload;
    const QJsonValue json = FuzzSupport::jsonOf(bytes);
    if (!json.isObject())
        return 0;
    const HouseQuery query = queryOf(json.toObject());
    const QString detail = QString::fromUtf8(bytes.left(600));

    HouseMessage_DataSqlTable houses(nullptr, isJointSale);
    const QString connection = FuzzSupport::companyConnection(isJointSale);
    checkRuns(connection, houses.listStatement(query), detail);
    checkRuns(connection, houses.countStatement(query), detail);
    return 0;
}
