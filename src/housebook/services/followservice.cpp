#include "services/followservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"

#include <QTextBoundaryFinder>

namespace {

const QString kLianmai = QStringLiteral("lianmai");
const QString kOne = QStringLiteral("1");

} // namespace

FollowService::FollowService(QObject *parent) : QObject(parent)
{
}

template <typename Accepted>
void FollowService::post(const QString &url, const QVariantMap &form, const QString &failureNotice,
                         Accepted accepted)
{
    send(url, form, failureNotice, false, accepted);
}

template <typename Accepted>
void FollowService::post(const QString &url, const QVariantMap &form, Failure failure, Accepted accepted)
{
    send(url, form, QString(), failure == Failure::InList, accepted);
}

template <typename Accepted>
void FollowService::send(const QString &url, const QVariantMap &form, const QString &failureNotice, bool listLoad,
                         Accepted accepted)
{
    auto *request = new NetRequestObjecet(this);
    request->setFailureNotice(failureNotice);
    connect(request, &NetRequestObjecet::loadSuccess, this, accepted);
    connect(request, &NetRequestObjecet::loadFail, this, [this, request, listLoad] {
        emit requestFailed(request->failureReason());
        if (listLoad)
            emit listFailed(request->failureReason());
    });
    connect(request, &NetRequestObjecet::loadFinish, this, [this, request] {
        disconnect(request, nullptr, this, nullptr);
        request->deleteLater();
        emit finished();
    });
    request->postForm(url, form);
}

void FollowService::loadFollows(int id, bool rent, int page)
{
    post(Endpoints::instance().app_followposts,
         {{QStringLiteral("type"), kindOf(rent)}, {QStringLiteral("id"), id}, {QStringLiteral("pageindex"), page},
          {kLianmai, kOne}}, Failure::InList,
         [this](const QJsonValue &data) { emit followsLoaded(data); });
}

void FollowService::loadAllianceFollows(int id, bool rent, int page)
{
    post(Endpoints::instance().app_LianmaiFollowPosts,
         {{QStringLiteral("type"), kindOf(rent)}, {QStringLiteral("id"), id}, {QStringLiteral("pageindex"), page}}, Failure::InList,
         [this](const QJsonValue &data) { emit followsLoaded(data); });
}

void FollowService::addFollow(const QVariantMap &form)
{
    QVariantMap sent = form;
    sent.insert(kLianmai, kOne);
    post(Endpoints::instance().app_followadd, sent, QStringLiteral("跟进提交失败：%1"), [this](const QJsonValue &data) { emit followAdded(data); });
}

void FollowService::deleteFollow(int followId)
{
    post(Endpoints::instance().app_followdel, {{QStringLiteral("id"), followId}, {kLianmai, kOne}}, QStringLiteral("删除跟进失败：%1"),
         [this, followId] { emit followDeleted(followId); });
}

void FollowService::loadTags(bool rent)
{
    post(Endpoints::instance().app_gettag, {{QStringLiteral("type"), kindOf(rent)}, {kLianmai, kOne}}, Failure::Quiet,
         [this](const QJsonValue &data) { emit tagsLoaded(data); });
}

void FollowService::addTag(bool rent, const QString &tag)
{
    post(Endpoints::instance().app_addtag,
         {{QStringLiteral("type"), kindOf(rent)}, {QStringLiteral("tag"), tag}, {kLianmai, kOne}}, QStringLiteral("添加标签失败：%1"),
         [this] { emit tagsChanged(); });
}

void FollowService::deleteTag(bool rent, const QString &tag)
{
    post(Endpoints::instance().app_deltag,
         {{QStringLiteral("type"), kindOf(rent)}, {QStringLiteral("tag"), tag}, {kLianmai, kOne}}, QStringLiteral("删除标签失败：%1"),
         [this] { emit tagsChanged(); });
}

void FollowService::loadRecordFile(int recordId)
{
    post(Endpoints::instance().call_getrecordfileX, {{QStringLiteral("id"), recordId}}, QStringLiteral("获取录音失败：%1"),
         [this, recordId](const QJsonValue &data) { emit recordFileLoaded(recordId, data); });
}

void FollowService::hideRecord(int recordId, int state)
{
    post(Endpoints::instance().call_recordhidden,
         {{QStringLiteral("type"), 1}, {QStringLiteral("id"), recordId}, {QStringLiteral("state"), state}, {kLianmai, kOne}}, QStringLiteral("修改录音状态失败：%1"),
         [this, recordId, state] { emit recordHidden(recordId, state); });
}

void FollowService::followCall(int recordId, const QString &content)
{
    post(Endpoints::instance().call_followcall, {{QStringLiteral("id"), recordId}, {QStringLiteral("content"), content}}, QStringLiteral("提交跟进内容失败：%1"),
         [this, recordId, content] { emit followCallSaved(recordId, content); });
}

void FollowService::loadViewings(int houseId, int page)
{
    if (houseId <= 0)
        return;
    post(Endpoints::instance().client_house_daikan_posts,
         {{QStringLiteral("houseid"), houseId}, {QStringLiteral("pageindex"), page},
          {QStringLiteral("pagesize"), kViewingPageSize}, {kLianmai, kOne}}, Failure::InList,
         [this](const QJsonValue &data) { emit viewingsLoaded(data); });
}

void FollowService::loadModifyHistory(int id, bool rent, int page, bool jointSale)
{
    QVariantMap form{{QStringLiteral("id"), id}, {QStringLiteral("type"), kindOf(rent)},
                     {QStringLiteral("pageindex"), page}, {QStringLiteral("pagesize"), kHistoryPageSize}};
    if (jointSale)
        form.insert(kLianmai, kOne);
    post(Endpoints::instance().app_modifyrecord, form, Failure::InList, [this](const QJsonValue &data) { emit modifyHistoryLoaded(data); });
}

QString FollowService::contentRefusal(const QString &content)
{
    return content.trimmed().isEmpty() ? QStringLiteral("请填入跟进内容后再提交！") : QString();
}

QString FollowService::tagRefusal(const QString &tag)
{
    if (tag.trimmed().isEmpty())
        return QStringLiteral("请填入标签名后再提交！");
    if (visibleLength(tag.trimmed()) > kMaxTagLength)
        return QStringLiteral("标签名最多6个字符！");
    return QString();
}

int FollowService::visibleLength(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString FollowService::joinTags(const QStringList &tags)
{
    QStringList kept;
    for (const QString &tag : tags) {
        if (!tag.trimmed().isEmpty() && !kept.contains(tag))
            kept.append(tag);
    }
    return kept.join(QLatin1Char(','));
}
