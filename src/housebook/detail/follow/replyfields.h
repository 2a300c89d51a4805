#pragma once
// Reading the list replies of the follow-up side whatever shape they arrive in: a number may
// come as text and text as a number, a list as an object of rows, a key may be missing.
// Each reader gives what it can and a blank or the fallback for the rest.
#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace ReplyFields {

// Text as shown: strings unchanged, whole numbers without a fraction, booleans 1/0.
QString text(const QJsonValue &value);
// A whole number from a number or a numeric text; the fallback otherwise.
int number(const QJsonValue &value, int fallback = 0);
// The rows of a page: data.list (an array, or an object whose values are the rows), or data
// itself when it is an array. Items that are not objects are left out.
QList<QJsonObject> rows(const QJsonValue &data);
// data.<key> as a number; the fallback when missing or unreadable.
int field(const QJsonValue &data, const QString &key, int fallback);

// A reminder moment written "yyyy-MM-dd H:mm" (hours and minutes with or without leading
// zeros, seconds allowed); invalid when it does not read.
QDateTime reminderMoment(const QString &text);
// "提醒:<person>(<date>-<time>)" from the reminder's person and moment text.
QString reminderText(const QString &person, const QString &moment);
// The reminder lies before now (an unreadable moment never expires).
bool reminderExpired(const QString &moment, const QDateTime &now);

} // namespace ReplyFields
