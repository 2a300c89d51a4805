#include "net/wholenumber.h"

#include <QJsonValue>
#include <QVariant>

#include <cmath>
#include <limits>

namespace {

// Compared as doubles: the bounds of int convert exactly, and 2^63 (one past the largest
// qint64) is the first double a qint64 cannot hold.
template <typename Int>
bool wholeInRange(double d, Int *out)
{
    constexpr double below = double(std::numeric_limits<Int>::min());
    constexpr double above = -below;  // 2^31 or 2^63, exactly
    if (!std::isfinite(d) || d != std::trunc(d) || d < below || d >= above)
        return false;
    *out = static_cast<Int>(d);
    return true;
}

} // namespace

namespace WholeNumber {

bool fromDouble(double d, int *out)
{
    return wholeInRange(d, out);
}

bool fromDouble(double d, qint64 *out)
{
    return wholeInRange(d, out);
}

int toInt(const QVariant &value, int fallback)
{
    if (value.type() == QVariant::Double || value.userType() == QMetaType::Float) {
        int n = 0;
        return fromDouble(std::round(value.toDouble()), &n) ? n : fallback;
    }
    if (value.type() == QVariant::ULongLong)
        return value.toULongLong() <= qulonglong(std::numeric_limits<int>::max()) ? int(value.toULongLong()) : fallback;
    bool ok = false;
    const qlonglong n = value.toLongLong(&ok);
    return ok && n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max() ? int(n) : fallback;
}

int toInt(const QJsonValue &value, int fallback)
{
    int n = 0;
    return value.isDouble() && fromDouble(value.toDouble(), &n) ? n : fallback;
}

} // namespace WholeNumber
