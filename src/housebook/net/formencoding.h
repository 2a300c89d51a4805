#pragma once
// Form bodies for the servers: every key and value percent-encoded as UTF-8
// (application/x-www-form-urlencoded), so a remark holding "&", "=", "%" or "+" arrives whole.
#include <QByteArray>
#include <QVariant>

namespace FormEncoding {

// A form value as text: text unchanged, integers in decimal, doubles in their shortest
// form, booleans as 1 or 0, lists and maps as compact JSON.
QString valueText(const QVariant &value);

// "k1=v1&k2=v2" from a map, keys in map order.
QByteArray encodeMap(const QVariantMap &params);

// Fills a template such as "id=%1&state=%2&lianmai=1": each %n becomes the n-th value,
// encoded. Substitution is one pass, so an encoded value is never substituted again.
QByteArray fill(const QString &templ, const QVariantList &values);

} // namespace FormEncoding
