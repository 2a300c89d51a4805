#include "services/describeservice.h"

#include "net/endpoints.h"
#include "net/netrequestobjecet.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

const QString kId = QStringLiteral("id");

} // namespace

DescribeService::DescribeService(QObject *parent) : QObject(parent)
{
}

template <typename Accepted>
void DescribeService::post(Request which, const QString &url, QVariantMap form, const QString &failureNotice,
                           Accepted accepted)
{
    form.insert(QStringLiteral("lianmai"), QStringLiteral("1"));
    auto *request = new NetRequestObjecet(this);
    request->setFailureNotice(failureNotice);
    connect(request, &NetRequestObjecet::loadSuccess, this, accepted);
    connect(request, &NetRequestObjecet::loadFail, this,
            [this, request, which] { emit failed(which, request->failureReason()); });
    connect(request, &NetRequestObjecet::loadFinish, this, [this, request, which] {
        disconnect(request, nullptr, this, nullptr);
        request->deleteLater();
        emit finished(which);
    });
    request->postForm(url, form);
}

void DescribeService::loadDetail(int id)
{
    post(Detail, Endpoints::instance().housebook2_housebookdesdetail, {{kId, id}}, QString(),
         [this](const QJsonValue &data) { emit detailLoaded(data); });
}

void DescribeService::saveFacts(const QVariantMap &form)
{
    post(SaveFacts, Endpoints::instance().housebook2_housebookeditdes, form, QStringLiteral("保存房源信息失败：%1"),
         [this] { emit factsSaved(); });
}

void DescribeService::setFactsCover(int id, const QString &picJson)
{
    post(Cover, Endpoints::instance().housebook2_housebookeditdes, {{kId, id}, {QStringLiteral("pic"), picJson}},
         QStringLiteral("设置封面失败：%1"), [this] { emit coverSaved(); });
}

void DescribeService::savePromotion(const QVariantMap &form)
{
    post(SavePromotion, Endpoints::instance().app_housebookeditdes, form, QStringLiteral("保存推广信息失败：%1"),
         [this] { emit promotionSaved(); });
}

void DescribeService::setPromotionCover(bool rent, int id, const QString &picturesJson)
{
    post(Cover, Endpoints::instance().app_housebookeditdes,
         {{QStringLiteral("types"), kindOf(rent)}, {kId, id}, {QStringLiteral("describespicture"), picturesJson}},
         QStringLiteral("设置封面失败：%1"), [this] { emit coverSaved(); });
}

void DescribeService::loadHouseTags()
{
    post(HouseTags, Endpoints::instance().anxuan_gethousetag, {}, QString(),
         [this](const QJsonValue &data) { emit houseTagsLoaded(tagNamesOf(data)); });
}

void DescribeService::loadEvaluations(int id)
{
    post(Evaluations, Endpoints::instance().app_housepjposts, {{kId, id}}, QString(),
         [this](const QJsonValue &data) { emit evaluationsLoaded(data); });
}

void DescribeService::addEvaluation(int id, const QString &content)
{
    post(AddEvaluation, Endpoints::instance().app_housepjadd, {{kId, id}, {QStringLiteral("content"), content}},
         QStringLiteral("添加评价失败：%1"), [this] { emit evaluationAdded(); });
}

void DescribeService::deleteEvaluation(int evaluationId)
{
    post(DeleteEvaluation, Endpoints::instance().app_housepjdel, {{kId, evaluationId}},
         QStringLiteral("删除评价失败：%1"), [this, evaluationId] { emit evaluationDeleted(evaluationId); });
}

QStringList DescribeService::tagNamesOf(const QJsonValue &data)
{
    const QJsonValue list = data.isObject() ? data.toObject().value(QStringLiteral("list")) : data;
    QStringList names;
    const QJsonArray items = list.isArray() ? list.toArray() : QJsonArray::fromVariantList(list.toObject().toVariantMap().values());
    for (const QJsonValue &item : items) {
        const QString name = item.isDouble() ? QString::number(item.toDouble()) : item.toString().trimmed();
        if (!name.isEmpty() && !names.contains(name))
            names << name;
    }
    return names;
}
