#include "net/formencoding.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QUrl>

namespace FormEncoding {

QString valueText(const QVariant &value)
{
    switch (static_cast<QMetaType::Type>(value.type())) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QMetaType::QVariantList:
    case QMetaType::QStringList:
        return QString::fromUtf8(QJsonDocument(QJsonArray::fromVariantList(value.toList())).toJson(QJsonDocument::Compact));
    case QMetaType::QVariantMap:
        return QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap(value.toMap())).toJson(QJsonDocument::Compact));
    default:
        return value.toString();
    }
}

QByteArray encodeMap(const QVariantMap &params)
{
    QByteArray out;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        if (!out.isEmpty())
            out += '&';
        out += QUrl::toPercentEncoding(it.key());
        out += '=';
        out += QUrl::toPercentEncoding(valueText(it.value()));
    }
    return out;
}

QByteArray fill(const QString &templ, const QVariantList &values)
{
    QByteArray out;
    const QByteArray raw = templ.toUtf8();
    for (int i = 0; i < raw.size(); ++i) {
        const char c = raw.at(i);
        if (c == '%' && i + 1 < raw.size() && raw.at(i + 1) >= '1' && raw.at(i + 1) <= '9') {
            int j = i + 1;
            int n = 0;
            while (j < raw.size() && raw.at(j) >= '0' && raw.at(j) <= '9' && n * 10 + (raw.at(j) - '0') <= values.size()) {
                n = n * 10 + (raw.at(j) - '0');
                ++j;
            }
            if (n >= 1 && n <= values.size()) {
                out += QUrl::toPercentEncoding(valueText(values.at(n - 1)));
                i = j - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

} // namespace FormEncoding
