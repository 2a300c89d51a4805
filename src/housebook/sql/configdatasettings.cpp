#include "sql/configdatasettings.h"

#include "sql/basesqlobject.h"
#include "sql/textscramble.h"

#include <QSettings>

namespace {

const QString kLastLoginPhone = QStringLiteral("last_login_phone");

QString settingsKey(const QString &group, const QString &key)
{
    return group.isEmpty() ? key : QStringLiteral("%1/%2").arg(group, key);
}

// A value stored for the last signed-in user, or the fallback.
QString lastUserValue(const QString &key, const QString &fallback)
{
    const QString phone = ConfigDataSettings::lastLoginPhone();
    const QString stored = phone.isEmpty() ? QString() : ConfigDataSettings::value(phone, key);
    return stored.isEmpty() ? fallback : stored;
}

} // namespace

namespace ConfigDataSettings {

QString filePath()
{
    return BaseSqlObject::applicationDir() + QStringLiteral("/configdata.ini");
}

QString value(const QString &group, const QString &key)
{
    const QSettings settings(filePath(), QSettings::IniFormat);
    return TextScramble::unscramble(settings.value(settingsKey(group, key)).toString());
}

bool setValue(const QString &group, const QString &key, const QString &value)
{
    QSettings settings(filePath(), QSettings::IniFormat);
    const QString path = settingsKey(group, key);
    const QString scrambled = TextScramble::scramble(value);
    if (settings.contains(path) && settings.value(path).toString() == scrambled)
        return false;
    settings.setValue(path, scrambled);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString lastLoginPhone()
{
    return value(QString(), kLastLoginPhone);
}

bool setLastLoginPhone(const QString &phone)
{
    return setValue(QString(), kLastLoginPhone, phone);
}

QString companyLogo()
{
    return lastUserValue(QStringLiteral("logo"), QStringLiteral("://res/icon_logo.png"));
}

QString companyName()
{
    return lastUserValue(QStringLiteral("company_name"), QStringLiteral("启贤"));
}

} // namespace ConfigDataSettings
