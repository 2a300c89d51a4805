#include "services/housebooksettingsservice.h"

#include "net/endpoints.h"
#include "net/wholenumber.h"
#include "platform/housebookcodes.h"
#include "services/jointsalepost.h"
#include "sql/basemessage_sqltable.h"
#include "sql/basesqlobject.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <memory>

namespace {

const QString kSaveFailure = QStringLiteral("设置提交失败：%1，您的修改仍保留在页面上，请稍后重试。");

QJsonArray arrayOf(const QJsonValue &reply)
{
    if (reply.isArray())
        return reply.toArray();
    const QJsonObject object = reply.toObject();
    for (const char *member : {"list", "data", "auth"}) {
        const QJsonValue inner = object.value(QLatin1String(member));
        if (inner.isArray())
            return inner.toArray();
    }
    return QJsonArray();
}

} // namespace

HouseBookSettingsService::HouseBookSettingsService(QObject *parent) : QObject(parent) {}

void HouseBookSettingsService::post(Request request, const QString &url, const QVariantMap &form,
                                    const std::function<void(const QJsonValue &)> &onSuccess,
                                    const QString &failureNotice)
{
    JointSalePost::post(this, url, form,
                        {onSuccess, [this, request](const QString &reason) { emit failed(request, reason); },
                         [this, request] { emit finished(request); }},
                        failureNotice);
}

void HouseBookSettingsService::saveThenReload(Request request, const QString &url, const QVariantMap &form,
                                              int downloadCode)
{
    post(request, url, form,
         [this, request, downloadCode](const QJsonValue &) {
             emit saved(request);
             reloadCaches(request, downloadCode);
         },
         kSaveFailure);
}

// One download of the settings cache the save changed; the store announces the change to
// open pages itself.
void HouseBookSettingsService::reloadCaches(Request request, int downloadCode)
{
    download(downloadCode, [this, request](bool ok, const QString &) { emit cachesReloaded(request, ok); });
}

void HouseBookSettingsService::download(int downloadCode, const std::function<void(bool, const QString &)> &done)
{
    auto *sql = new BaseSqlObject(this, HouseBookCodes::kJointSale);
    auto stored = std::make_shared<bool>(false);
    connect(sql, &BaseSqlObject::loadDataSuccess, this, [stored](int) { *stored = true; });
    connect(sql, &BaseSqlObject::loadDataFinish, this,
            [sql, stored, done](int) { done(*stored, sql->lastFailure()); });
    connect(sql, &BaseSqlObject::allLoadFinish, sql, &QObject::deleteLater);
    sql->download_id({downloadCode});
}

void HouseBookSettingsService::refreshCaches()
{
    download(HouseBookCodes::HouseBookSetDownload, [this](bool ok, const QString &reason) {
        if (!ok) {
            emit cachesRefreshed(false, reason);
            return;
        }
        download(HouseBookCodes::HouseBookCategoryDownload,
                 [this](bool categoriesOk, const QString &why) { emit cachesRefreshed(categoriesOk, why); });
    });
}

QList<QVariantMap> HouseBookSettingsService::storedJobs()
{
    QList<QVariantMap> jobs;
    for (const QVariant &value : BaseMessage_SqlTable(nullptr, HouseBookCodes::kJointSale).list(QStringLiteral("job"))) {
        const QVariantMap job = value.toMap();
        const int id = WholeNumber::toInt(job.value(QStringLiteral("id")));
        if (id > 0)
            jobs << QVariantMap{{QStringLiteral("id"), id}, {QStringLiteral("name"), job.value(QStringLiteral("name")).toString()}};
    }
    return jobs;
}

void HouseBookSettingsService::loadJobs()
{
    const QList<QVariantMap> jobs = storedJobs();
    if (!jobs.isEmpty()) {
        emit jobsLoaded(jobs);
        emit finished(LoadJobs);
        return;
    }
    download(HouseBookCodes::JobListDownload, [this](bool ok, const QString &reason) {
        if (ok)
            emit jobsLoaded(storedJobs());
        else
            emit failed(LoadJobs, reason);
        emit finished(LoadJobs);
    });
}

void HouseBookSettingsService::saveConfig(const QVariantMap &form)
{
    saveThenReload(Config, Endpoints::instance().app_housebookconfig, form, HouseBookCodes::HouseBookSetDownload);
}

void HouseBookSettingsService::saveCategories(const QMap<QString, QList<QVariantMap>> &lists)
{
    QVariantMap form;
    for (const char *key : {"property1", "property2", "traffic", "renttag", "saletag", "payway"})
        form.insert(QLatin1String(key), listText(lists.value(QLatin1String(key))));
    saveThenReload(Category, Endpoints::instance().app_sethousebookcategory, form,
                   HouseBookCodes::HouseBookCategoryDownload);
}

void HouseBookSettingsService::loadSeparationRules()
{
    post(LoadSeparationRules, Endpoints::instance().fd_getfendanguize, {},
         [this](const QJsonValue &data) { emit separationRulesLoaded(data.toObject().toVariantMap()); }, QString());
}

void HouseBookSettingsService::saveSeparationRules(const QList<QVariantMap> &rules, const QVariantMap &form)
{
    QVariantMap body = form;
    body.insert(QStringLiteral("rules"), listText(rules));
    saveThenReload(SeparationRules, Endpoints::instance().fd_fendanguize, body, HouseBookCodes::SaleXieZuoSetDownload);
}

void HouseBookSettingsService::loadJobAuth(int jobId)
{
    post(LoadJobAuth, Endpoints::instance().workcenter_jobauthInfo, {{QStringLiteral("id"), jobId}},
         [this, jobId](const QJsonValue &data) { emit jobAuthLoaded(jobId, permissionEntries(data)); }, QString());
}

void HouseBookSettingsService::saveJobAuth(int jobId, const QList<QVariantMap> &entries)
{
    const QVariantMap form{{QStringLiteral("content"), listText(entries)}, {QStringLiteral("id"), jobId}};
    post(JobAuth, Endpoints::instance().workcenter_jobedit, form, [this](const QJsonValue &) { emit saved(JobAuth); },
         kSaveFailure);
}

QString HouseBookSettingsService::listText(const QList<QVariantMap> &entries)
{
    QJsonArray array;
    for (const QVariantMap &entry : entries)
        array.append(QJsonObject::fromVariantMap(entry));
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QString HouseBookSettingsService::repeatText(const QList<int> &criteria)
{
    QList<int> sorted;
    for (int c : criteria) {
        if (c >= 1 && c <= 5 && !sorted.contains(c))
            sorted << c;
    }
    std::sort(sorted.begin(), sorted.end());
    QStringList parts;
    for (int c : qAsConst(sorted))
        parts << QString::number(c);
    return parts.join(QLatin1Char(','));
}

QList<int> HouseBookSettingsService::repeatCriteria(const QString &text)
{
    QList<int> criteria;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int c = part.trimmed().toInt(&ok);
        if (ok && c >= 1 && c <= 5 && !criteria.contains(c))
            criteria << c;
    }
    std::sort(criteria.begin(), criteria.end());
    return criteria;
}

QString HouseBookSettingsService::stateClassesText(const QStringList &names)
{
    QList<QVariantMap> classes;
    const QString labels = QStringLiteral("ABCD");
    for (int i = 0; i < labels.size(); ++i)
        classes << QVariantMap{{QStringLiteral("title"), names.value(i).trimmed()},
                               {QStringLiteral("lable"), QString(labels.at(i))}};
    return listText(classes);
}

QList<QVariantMap> HouseBookSettingsService::permissionEntries(const QJsonValue &reply)
{
    QList<QVariantMap> entries;
    for (const QJsonValue &value : arrayOf(reply)) {
        const QVariantMap entry = value.toObject().toVariantMap();
        if (WholeNumber::toInt(entry.value(QStringLiteral("id"))) > 0)
            entries << entry;
    }
    return entries;
}
