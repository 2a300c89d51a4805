#include "services/reportservice.h"

#include "net/endpoints.h"
#include "services/jointsalepost.h"

ReportService::ReportService(QObject *parent)
    : QObject(parent)
{
}

void ReportService::post(Request request, const QString &url, const QVariantMap &form,
                         const std::function<void(const QJsonValue &)> &onSuccess, const QString &failureNotice)
{
    JointSalePost::post(this, url, form,
                        {onSuccess, [this, request](const QString &message) { emit failed(request, message); },
                         [this, request] { emit finished(request); }},
                        failureNotice);
}

void ReportService::report(const QString &itemId, const HouseBookSeperateList_Model::ItemData &row,
                           const QString &content)
{
    const QVariantMap form{{QStringLiteral("id"), row.id},
                           {QStringLiteral("type"), row.type},
                           {QStringLiteral("itemid"), itemId},
                           {QStringLiteral("userid"), row.info.userId},
                           {QStringLiteral("content"), content}};
    post(Report, Endpoints::instance().fd_Jubao, form, [this](const QJsonValue &) { emit reported(); },
         QStringLiteral("举报失败：%1，请稍后重试。"));
}

void ReportService::loadPage(int pageIndex, int status)
{
    const QVariantMap form{{QStringLiteral("pageindex"), pageIndex},
                           {QStringLiteral("pagesize"), kPageSize},
                           {QStringLiteral("status"), status}};
    post(Page, Endpoints::instance().fd_jubaoposts, form, [this, pageIndex, status](const QJsonValue &data) {
        emit pageLoaded(pageIndex, status, HighSeperateReportList_Model::pageFromJson(data));
    });
}

void ReportService::loadLast30Days()
{
    post(LastMonth, Endpoints::instance().fd_jubaoDownload, {}, [this](const QJsonValue &data) {
        emit last30DaysLoaded(HighSeperateReportList_Model::pageFromJson(data).items);
    }, QStringLiteral("举报记录获取失败：%1，请稍后重试。"));
}

void ReportService::judge(const Judgement &judgement)
{
    const QVariantMap form{{QStringLiteral("id"), judgement.reportId},
                           {QStringLiteral("state"), judgement.state},
                           {QStringLiteral("yonghuid"), judgement.holderId},
                           {QStringLiteral("newuserid"), judgement.newHolderId},
                           {QStringLiteral("days"), judgement.days},
                           {QStringLiteral("content"), judgement.content}};
    const QString id = judgement.reportId;
    post(Judge, Endpoints::instance().fd_jubaoshenpi, form, [this, id](const QJsonValue &) { emit judged(id); },
         QStringLiteral("审核失败：%1，请稍后重试。"));
}
