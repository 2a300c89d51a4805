#include "detail/describe/joinertext.h"

namespace JoinerText {

namespace {

const QString kToken = QStringLiteral("[qx_joiner]");

} // namespace

QString shown(const QString &storedText)
{
    return QString(storedText).replace(kToken, QStringLiteral("&"));
}

QString stored(const QString &shownText)
{
    return QString(shownText).replace(QLatin1Char('&'), kToken);
}

} // namespace JoinerText
