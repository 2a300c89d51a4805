#pragma once
// Promotion texts are stored with the token "[qx_joiner]" where the agent wrote "&" (a bare
// "&" once cut the server's forms apart). Everything an agent sees or edits goes through
// shown(); everything posted goes through stored().
#include <QString>

namespace JoinerText {

QString shown(const QString &storedText);
QString stored(const QString &shownText);

} // namespace JoinerText
