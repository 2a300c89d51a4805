#pragma once
// One joint-sale form post for a feature service: lianmai=1 is added to the form, the reply's
// data goes to onSuccess, a failure's reason to onFailed, and onFinished runs last, after
// which the request object goes. The request object lives under owner, so no callback runs
// once owner is gone.
#include <QJsonValue>
#include <QString>
#include <QVariantMap>

#include <functional>

class NetRequestObjecet;
class QObject;

namespace JointSalePost {

struct Callbacks
{
    std::function<void(const QJsonValue &)> onSuccess;
    std::function<void(const QString &)> onFailed;
    std::function<void()> onFinished;
};

// failureNotice: told to the user when the request fails otherwise than by the server's own
// refusal ("%1" takes the reason); empty when the caller shows failures itself.
NetRequestObjecet *post(QObject *owner, const QString &url, const QVariantMap &form, const Callbacks &callbacks,
                        const QString &failureNotice = QString());

} // namespace JointSalePost
