#include "services/jointsalepost.h"

#include "net/netrequestobjecet.h"

namespace JointSalePost {

NetRequestObjecet *post(QObject *owner, const QString &url, const QVariantMap &form, const Callbacks &callbacks,
                        const QString &failureNotice)
{
    auto *net = new NetRequestObjecet(owner);
    net->setFailureNotice(failureNotice);
    QVariantMap body = form;
    body.insert(QStringLiteral("lianmai"), 1);
    if (callbacks.onSuccess)
        QObject::connect(net, &NetRequestObjecet::loadSuccess, owner, callbacks.onSuccess);
    if (callbacks.onFailed)
        QObject::connect(net, &NetRequestObjecet::loadFail, owner,
                         [net, onFailed = callbacks.onFailed] { onFailed(net->failureReason()); });
    QObject::connect(net, &NetRequestObjecet::loadFinish, owner, [net, onFinished = callbacks.onFinished] {
        net->deleteLater();
        if (onFinished)
            onFinished();
    });
    net->postForm(url, body);
    return net;
}

} // namespace JointSalePost
