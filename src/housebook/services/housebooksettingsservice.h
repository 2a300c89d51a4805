#pragma once
// The requests of the house-book settings window: saving the book settings, the category
// lists and the separation rules, reading and saving one job's permissions. After a save the
// settings caches of the local store are downloaded again, so that open list pages show the
// new values without a restart. Pages build the user's input and show what comes back; this
// class owns every path and form key, and the text forms the settings store reads back.
// Every form carries lianmai=1. Each call ends with finished(); a failed save has been told
// to the agent (with the reason, and that her changes are kept) before failed().
#include <QJsonValue>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class HouseBookSettingsService : public QObject
{
    Q_OBJECT
public:
    enum Request { Config, Category, LoadSeparationRules, SeparationRules, LoadJobAuth, JobAuth, LoadJobs };
    Q_ENUM(Request)

    explicit HouseBookSettingsService(QObject *parent = nullptr);

    // app/housebookconfig with the page's keys; values are sent as text (lists already in
    // their text form, see the helpers below).
    void saveConfig(const QVariantMap &form);
    // app/sethousebookcategory; lists keyed property1, property2, traffic, renttag, saletag and
    // payway, entries {id, name} (id 0 for an entry the agent added).
    void saveCategories(const QMap<QString, QList<QVariantMap>> &lists);
    // fd/getfendanguize; the reply's object comes back as separationRulesLoaded().
    void loadSeparationRules();
    // fd/fendanguize; form keys followdays, followcount, teldays, telcount, shikancontent,
    // hideOwnerPhone, dujiaren as given, and `rules`, the six {type, count, choose} entries.
    void saveSeparationRules(const QList<QVariantMap> &rules, const QVariantMap &form);
    // The company's jobs {id, name} as the local store holds them; when it holds none they are
    // downloaded first (workcenter/jobposts). Answers with jobsLoaded() or failed(LoadJobs).
    void loadJobs();
    // workcenter/jobauthInfo "id=%1&lianmai=1".
    void loadJobAuth(int jobId);
    // workcenter/jobedit "content=%1&id=%2&lianmai=1", content the entries' text form.
    void saveJobAuth(int jobId, const QList<QVariantMap> &entries);
    // Downloads the book settings and the category lists into the local store; answers with
    // cachesRefreshed(). For a window opened before the sign-in downloads have stored them.
    void refreshCaches();

    // ---- Text forms shared with the settings store and the server ----
    // A list as compact JSON array text ({id, title, choose} choice lists, the view-record
    // kinds, category entries, permission entries).
    static QString listText(const QList<QVariantMap> &entries);
    // "1,2,5": the chosen duplicate criteria (1 小区名, 2 楼栋号, 3 单元号, 4 房号, 5 号码) in
    // ascending order; the entry form reads "3" as "the unit number is required".
    static QString repeatText(const QList<int> &criteria);
    static QList<int> repeatCriteria(const QString &text);
    // The status classes A..D as [{title, lable}] compact JSON; four names, "" for none.
    static QString stateClassesText(const QStringList &names);
    // Permission entries of a jobauthInfo / currentauth reply: an array, or an object holding
    // it under list, data or auth; malformed members are skipped.
    static QList<QVariantMap> permissionEntries(const QJsonValue &reply);

signals:
    void saved(HouseBookSettingsService::Request request);
    // After a saved Config, Category or SeparationRules: the local caches were downloaded
    // again (ok false: the download failed; the server keeps the new values and the next
    // sync brings them).
    void cachesReloaded(HouseBookSettingsService::Request request, bool ok);
    void separationRulesLoaded(const QVariantMap &rules);
    void jobAuthLoaded(int jobId, const QList<QVariantMap> &entries);
    void jobsLoaded(const QList<QVariantMap> &jobs);
    void cachesRefreshed(bool ok, const QString &reason);
    void failed(HouseBookSettingsService::Request request, const QString &reason);
    void finished(HouseBookSettingsService::Request request);

private:
    void post(Request request, const QString &url, const QVariantMap &form,
              const std::function<void(const QJsonValue &)> &onSuccess, const QString &failureNotice);
    void saveThenReload(Request request, const QString &url, const QVariantMap &form, int downloadCode);
    void reloadCaches(Request request, int downloadCode);
    // Runs one download of the local store; done(ok, reason) when it has ended.
    void download(int downloadCode, const std::function<void(bool, const QString &)> &done);
    static QList<QVariantMap> storedJobs();
};
