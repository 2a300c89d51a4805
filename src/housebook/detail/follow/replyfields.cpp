#include "detail/follow/replyfields.h"

#include "net/wholenumber.h"

#include <QStringList>

namespace ReplyFields {

QString text(const QJsonValue &value)
{
    if (value.isString())
        return value.toString();
    if (value.isBool())
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    if (value.isDouble()) {
        qint64 whole = 0;
        return WholeNumber::fromDouble(value.toDouble(), &whole) ? QString::number(whole)
                                                                  : QString::number(value.toDouble());
    }
    return QString();
}

int number(const QJsonValue &value, int fallback)
{
    if (value.isDouble())
        return WholeNumber::toInt(value, fallback);
    if (value.isBool())
        return value.toBool() ? 1 : 0;
    if (value.isString()) {
        bool ok = false;
        const int n = value.toString().trimmed().toInt(&ok);
        if (ok)
            return n;
        int rounded = 0;
        const double d = value.toString().trimmed().toDouble(&ok);
        return ok && WholeNumber::fromDouble(d, &rounded) ? rounded : fallback;
    }
    return fallback;
}

QList<QJsonObject> rows(const QJsonValue &data)
{
    const QJsonValue list = data.isObject() ? data.toObject().value(QStringLiteral("list")) : data;
    QList<QJsonObject> out;
    auto take = [&out](const QJsonValue &item) {
        if (item.isObject())
            out.append(item.toObject());
    };
    if (list.isArray()) {
        for (const QJsonValue &item : list.toArray())
            take(item);
    } else if (list.isObject()) {
        for (const QJsonValue &item : list.toObject())
            take(item);
    }
    return out;
}

int field(const QJsonValue &data, const QString &key, int fallback)
{
    return data.isObject() ? number(data.toObject().value(key), fallback) : fallback;
}

QDateTime reminderMoment(const QString &text)
{
    const QString trimmed = text.trimmed();
    for (const char *format : {"yyyy-MM-dd H:mm", "yyyy-MM-dd H:mm:ss", "yyyy/MM/dd H:mm", "yyyy/MM/dd H:mm:ss"}) {
        const QDateTime moment = QDateTime::fromString(trimmed, QString::fromLatin1(format));
        if (moment.isValid())
            return moment;
    }
    return QDateTime();
}

QString reminderText(const QString &person, const QString &moment)
{
    const QStringList parts = moment.trimmed().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return QStringLiteral("提醒:%1(%2-%3)").arg(person, parts.value(0), parts.value(1));
}

bool reminderExpired(const QString &moment, const QDateTime &now)
{
    const QDateTime when = reminderMoment(moment);
    return when.isValid() && when < now;
}

} // namespace ReplyFields
