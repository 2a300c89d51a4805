#pragma once
// "configdata.ini" in the application folder: values that must outlive the user's database
// (the last signed-in phone, that user's company logo and name). Values are addressed
// "group/key" and never kept in clear.
#include <QString>

namespace ConfigDataSettings {

QString filePath();
// The unscrambled value; empty when missing or not a scrambled text. An empty group
// addresses the file's general section.
QString value(const QString &group, const QString &key);
// Stores the scrambled value when it differs from the stored one; true when the file changed.
bool setValue(const QString &group, const QString &key, const QString &value);

QString lastLoginPhone();
bool setLastLoginPhone(const QString &phone);
// The last user's company logo, "://res/icon_logo.png" when none is stored.
QString companyLogo();
// The last user's company name, "启贤" when none is stored.
QString companyName();

} // namespace ConfigDataSettings
