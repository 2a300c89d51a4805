#pragma once
// Whole numbers out of server replies and stored values. A double is range-checked before it
// becomes an integer: converting one an integer cannot hold is undefined behaviour, and a
// reply may carry 1e300, an infinity or a NaN where an id or a count belongs.
#include <QtGlobal>

class QJsonValue;
class QVariant;

namespace WholeNumber {

// The double as that integer when it is finite, whole and within the integer's range.
bool fromDouble(double d, int *out);
bool fromDouble(double d, qint64 *out);

// A value as an int the way QVariant::toInt reads it (numbers rounded, booleans 0/1, decimal
// text), except that a number beyond the int range, an infinity or a NaN gives the fallback.
int toInt(const QVariant &value, int fallback = 0);
// A JSON number as an int the way QJsonValue::toInt reads it: the fallback for anything but
// a whole number within the int range.
int toInt(const QJsonValue &value, int fallback = 0);

} // namespace WholeNumber
