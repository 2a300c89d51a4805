#pragma once
// The community service the sibling stand-ins post to: the soft root (the variable
// QX_HOUSEBOOK_SOFT_ROOT, else QX_HOUSEBOOK_SERVER + "/soft/"), with the signed-in user named
// by the header qxphone, as the host's own requests do.
#include "datacenter.h"

#include <QNetworkRequest>
#include <QString>
#include <QUrl>

namespace SoftService {

// "<soft root><path>"; empty when neither variable is set.
inline QString address(const QString &path)
{
    QString root = qEnvironmentVariable("QX_HOUSEBOOK_SOFT_ROOT").trimmed();
    if (root.isEmpty()) {
        const QString server = qEnvironmentVariable("QX_HOUSEBOOK_SERVER").trimmed();
        if (server.isEmpty())
            return QString();
        root = server + (server.endsWith(QLatin1Char('/')) ? QStringLiteral("soft/") : QStringLiteral("/soft/"));
    }
    if (!root.endsWith(QLatin1Char('/')))
        root += QLatin1Char('/');
    return root + path;
}

// A url-encoded form post to the address for the signed-in user.
inline QNetworkRequest formRequest(const QString &address)
{
    QNetworkRequest request{QUrl(address)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    if (!DataCenter::UserPhoneNumber.isEmpty())
        request.setRawHeader("qxphone", DataCenter::UserPhoneNumber.toUtf8());
    return request;
}

} // namespace SoftService
