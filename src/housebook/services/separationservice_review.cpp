// Approving or refusing an entry, and fetching the electronic contracts its details link to.
#include "services/separationservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"

#include <memory>

void SeparationService::review(const QString &entryId, int state, const QString &remark)
{
    const QVariantMap form{{QStringLiteral("id"), entryId},
                           {QStringLiteral("state"), state},
                           {QStringLiteral("remark"), remark}};
    post(Review, Endpoints::instance().fd_shenpi, form, [this, state](const QJsonValue &) { emit reviewed(state); });
}

// Every download ends in exactly one of the two signals, also one the request object ends
// without a word (an address that is blank once its spaces are gone).
void SeparationService::downloadPdf(const QString &url, const QString &folder)
{
    auto *net = new NetRequestObjecet(this);
    net->closeAlert();
    auto answered = std::make_shared<bool>(false);
    connect(net, &NetRequestObjecet::downloadFileSuccess, this, [this, answered](const QString &path) {
        *answered = true;
        emit pdfDownloaded(path);
    });
    connect(net, &NetRequestObjecet::loadFail, this, [this, answered](int, const QString &reason) {
        *answered = true;
        emit pdfDownloadFailed(reason);
    });
    connect(net, &NetRequestObjecet::loadFinish, this, [this, net, answered] {
        net->deleteLater();
        if (!*answered)
            emit pdfDownloadFailed(QStringLiteral("文件地址无效"));
    });
    net->downloadFile(url, folder);
}
