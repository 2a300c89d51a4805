// The settings an agency saves and reads back: the book settings (app/housebookconfig,
// app/gethousebookconfig), the category lists (app/sethousebookcategory,
// app/gethousebookcategory), the separation rules with the survey standard (fd/fendanguize,
// fd/getfendanguize) and the permissions of each job (workcenter/jobedit,
// workcenter/jobauthInfo, workcenter/currentauth).
//
// A value is kept as the text posted, one row per scope, company, owner and key; a read lays
// the saved values over the seeded object and gives lists back as arrays, numbers as numbers.
// The book settings have personal keys: an agent's own values of them win over the company's,
// and a manager who unifies a group for the whole company clears the agents' own values of it.
#include "alliancestore.h"

#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace Alliance {

namespace {

// How a posted value is checked and given back.
enum class Shape { List, Number, Text };
using Keys = QHash<QString, Shape>;
// Posted values of known keys: (key, text).
using Values = QList<QPair<QString, QString>>;

Keys keyShapes(std::initializer_list<const char *> lists, std::initializer_list<const char *> numbers,
               std::initializer_list<const char *> texts = {})
{
    Keys keys;
    for (const char *key : lists)
        keys.insert(QLatin1String(key), Shape::List);
    for (const char *key : numbers)
        keys.insert(QLatin1String(key), Shape::Number);
    for (const char *key : texts)
        keys.insert(QLatin1String(key), Shape::Text);
    return keys;
}

const Keys &configKeys()
{
    static const Keys keys = keyShapes(
        {"item", "viewrecord", "chushoustate", "chuzustate", "mysalesearch", "mysaleshow", "storesalesearch",
         "storesaleshow", "myrentsearch", "myrentshow", "storerentsearch", "storerentshow"},
        {"page", "enterfresh", "housepush", "companyGstate", "companySstate", "storeGstate", "storeSstate",
         "company_base_style", "company_sale_style", "company_rent_style", "yinhao_mode"},
        {"setrepeat"});
    return keys;
}

const Keys &categoryKeys()
{
    static const Keys keys = keyShapes({"property1", "property2", "traffic", "renttag", "saletag", "payway"}, {});
    return keys;
}

const Keys &ruleKeys()
{
    static const Keys keys = keyShapes(
        {"rules"}, {"followdays", "followcount", "teldays", "telcount", "hideOwnerPhone", "dujiaren"}, {"shikancontent"});
    return keys;
}

// The personal keys of the book settings by group, with the style key that unifies the
// group for the whole company.
struct PersonalGroup
{
    QString style;
    QStringList keys;
};

const QVector<PersonalGroup> &personalGroups()
{
    static const QVector<PersonalGroup> groups{
        {QStringLiteral("company_base_style"), {"item", "page", "enterfresh", "housepush"}},
        {QStringLiteral("company_sale_style"), {"mysalesearch", "mysaleshow"}},
        {QStringLiteral("company_rent_style"), {"myrentsearch", "myrentshow"}}};
    return groups;
}

const PersonalGroup *groupOf(const QString &key)
{
    for (const PersonalGroup &g : personalGroups())
        if (g.keys.contains(key))
            return &g;
    return nullptr;
}

bool isReadable(Shape shape, const QString &text)
{
    bool ok = true;
    if (shape == Shape::List)
        ok = QJsonDocument::fromJson(text.toUtf8()).isArray();
    else if (shape == Shape::Number)
        text.trimmed().toInt(&ok);
    return ok;
}

QJsonValue shown(Shape shape, const QString &text)
{
    switch (shape) {
    case Shape::List:
        return QJsonDocument::fromJson(text.toUtf8()).array();
    case Shape::Number:
        return text.trimmed().toInt();
    case Shape::Text:
        break;
    }
    return text;
}

// The form's values of known keys (others are ignored); false, naming the key, when one of
// them cannot be read in its shape.
bool readForm(const Form &form, const Keys &keys, Values *values, QString *badKey)
{
    for (auto it = form.cbegin(); it != form.cend(); ++it) {
        if (!keys.contains(it.key()))
            continue;
        if (!isReadable(keys.value(it.key()), it.value())) {
            *badKey = it.key();
            return false;
        }
        values->append({it.key(), it.value()});
    }
    return true;
}

QJsonObject overlaid(QJsonObject base, const Keys &keys, const QHash<QString, QString> &saved)
{
    for (auto it = saved.cbegin(); it != saved.cend(); ++it)
        if (keys.contains(it.key()))
            base.insert(it.key(), shown(keys.value(it.key()), it.value()));
    return base;
}

int largestId(const QJsonArray &list)
{
    int largest = 0;
    for (const QJsonValue &v : list)
        largest = std::max(largest, v.toObject().value(QStringLiteral("id")).toVariant().toInt());
    return largest;
}

// The category entries with a number for each new one (id 0): after the largest id the list
// has or had, so one id never names two different entries. False when an entry is no object.
bool numbered(const QString &text, const QJsonArray &before, QString *out)
{
    QJsonArray list = QJsonDocument::fromJson(text.toUtf8()).array();
    int next = std::max(largestId(before), largestId(list));
    for (int i = 0; i < list.size(); ++i) {
        if (!list.at(i).isObject())
            return false;
        QJsonObject entry = list.at(i).toObject();
        if (entry.value(QStringLiteral("id")).toVariant().toInt() <= 0) {
            entry.insert(QStringLiteral("id"), ++next);
            list[i] = entry;
        }
    }
    *out = QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
    return true;
}

bool isListOfObjects(const QString &text)
{
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray())
        return false;
    for (const QJsonValue &v : doc.array())
        if (!v.isObject())
            return false;
    return true;
}

Answer malformed(const QString &key)
{
    return refusal(QStringLiteral("设置格式错误：%1").arg(key));
}

const QString kSaved = QStringLiteral("保存成功");

} // namespace

struct SettingsRoutes
{
    // Scopes of the saved values; the owner is a user's phone (personal book settings), a
    // job id (permissions) or empty (the company's own).
    static QString config() { return QStringLiteral("config"); }
    static QString category() { return QStringLiteral("category"); }
    static QString rules() { return QStringLiteral("rules"); }
    static QString job() { return QStringLiteral("job"); }
    // The company's own values: an empty owner, never NULL (NULLs would not match in a key).
    static QString company() { return QStringLiteral(""); }

    static QHash<QString, QString> saved(Store &s, const QString &scope, int companyId, const QString &owner = company())
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select key, value from savedsettings where scope = ? and companyid = ? and owner = ?"));
        q.addBindValue(scope);
        q.addBindValue(companyId);
        q.addBindValue(owner);
        QHash<QString, QString> values;
        if (q.exec())
            while (q.next())
                values.insert(q.value(0).toString(), q.value(1).toString());
        return values;
    }

    static bool write(Store &s, const QString &scope, int companyId, const QString &owner, const Values &values)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("insert or replace into savedsettings(scope, companyid, owner, key, value) values(?,?,?,?,?)"));
        for (const auto &v : values) {
            q.addBindValue(scope);
            q.addBindValue(companyId);
            q.addBindValue(owner);
            q.addBindValue(v.first);
            q.addBindValue(v.second);
            if (!q.exec())
                return false;
        }
        return true;
    }

    // Every user's own values of these book settings in the company (the company's stay).
    static bool clearPersonal(Store &s, int companyId, const QStringList &keys)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("delete from savedsettings where scope = ? and companyid = ? and owner <> '' and key = ?"));
        for (const QString &key : keys) {
            q.addBindValue(config());
            q.addBindValue(companyId);
            q.addBindValue(key);
            if (!q.exec())
                return false;
        }
        return true;
    }

    // Runs the writes in one transaction: a request is stored whole or not at all.
    static bool inTransaction(Store &s, const std::function<bool()> &writes)
    {
        QSqlDatabase db = s.db();
        db.transaction();
        if (writes() && db.commit())
            return true;
        db.rollback();
        return false;
    }

    static Answer notStored()
    {
        return refusal(QStringLiteral("保存失败"), 500);
    }

    // ---- Book settings ----

    static QJsonObject bookConfigOf(Store &s, const User &u)
    {
        const QJsonObject company = overlaid(seededBookConfig(), configKeys(), saved(s, config(), u.companyId));
        return overlaid(company, configKeys(), saved(s, config(), u.companyId, u.phone));
    }

    static Answer bookConfig(Store &s, const Form &, const User &u)
    {
        return fetched(bookConfigOf(s, u));
    }

    // The groups a manager unifies with this request (style key "1").
    static QVector<const PersonalGroup *> unifiedGroups(const Form &form, const User &u)
    {
        QVector<const PersonalGroup *> unified;
        if (!u.manager && u.rights != User::Full)
            return unified;
        for (const PersonalGroup &g : personalGroups())
            if (form.value(g.style).trimmed() == QLatin1String("1"))
                unified << &g;
        return unified;
    }

    static Answer saveBookConfig(Store &s, const Form &form, const User &u)
    {
        Values values;
        QString bad;
        if (!readForm(form, configKeys(), &values, &bad))
            return malformed(bad);
        const QVector<const PersonalGroup *> unified = unifiedGroups(form, u);
        Values companyValues;
        Values own;
        for (const auto &v : qAsConst(values)) {
            const PersonalGroup *g = groupOf(v.first);
            (g && !unified.contains(g) ? own : companyValues) << v;
        }
        const bool ok = inTransaction(s, [&] {
            for (const PersonalGroup *g : unified)
                if (!clearPersonal(s, u.companyId, g->keys))
                    return false;
            return write(s, config(), u.companyId, company(), companyValues) && write(s, config(), u.companyId, u.phone, own);
        });
        return ok ? fetched(bookConfigOf(s, u), kSaved) : notStored();
    }

    // ---- Settings kept per company: categories, separation rules ----

    struct CompanyObject
    {
        QString scope;
        const Keys &keys;
        QJsonObject (*seeded)();
    };
    static CompanyObject categoryObject() { return {category(), categoryKeys(), seededBookCategories}; }
    static CompanyObject ruleObject() { return {rules(), ruleKeys(), seededSurveyRules}; }

    static QJsonObject companyObject(Store &s, const CompanyObject &o, const User &u)
    {
        return overlaid(o.seeded(), o.keys, saved(s, o.scope, u.companyId));
    }

    // Stores the form's values of the object's keys for the user's company; `prepare` may
    // rewrite a value before it is stored (false refuses its key).
    static Answer saveCompanyObject(Store &s, const Form &form, const User &u, const CompanyObject &o,
                                    const std::function<bool(const QString &, QString *)> &prepare = {})
    {
        Values values;
        QString bad;
        if (!readForm(form, o.keys, &values, &bad))
            return malformed(bad);
        for (auto &v : values)
            if (prepare && !prepare(v.first, &v.second))
                return malformed(v.first);
        if (!inTransaction(s, [&] { return write(s, o.scope, u.companyId, company(), values); }))
            return notStored();
        return fetched(companyObject(s, o, u), kSaved);
    }

    static Answer categories(Store &s, const Form &, const User &u)
    {
        return fetched(companyObject(s, categoryObject(), u));
    }

    static Answer saveCategories(Store &s, const Form &form, const User &u)
    {
        const QJsonObject before = companyObject(s, categoryObject(), u);
        return saveCompanyObject(s, form, u, categoryObject(), [&before](const QString &key, QString *text) {
            return numbered(*text, before.value(key).toArray(), text);
        });
    }

    // The photo pages read their survey standard (`rules`) from here too.
    static Answer separationRules(Store &s, const Form &, const User &u)
    {
        return fetched(companyObject(s, ruleObject(), u));
    }

    static Answer saveSeparationRules(Store &s, const Form &form, const User &u)
    {
        return saveCompanyObject(s, form, u, ruleObject());
    }

    // ---- Job permissions ----

    static bool isJob(const Store &s, int id)
    {
        for (const auto &j : s.m_jobs)
            if (j.first == id)
                return true;
        return false;
    }

    // The job's saved entries in the company; undefined when it has none.
    static QJsonValue savedEntries(Store &s, int company, int jobId)
    {
        const QHash<QString, QString> values = saved(s, job(), company, QString::number(jobId));
        const auto it = values.constFind(QStringLiteral("content"));
        if (it == values.constEnd())
            return QJsonValue(QJsonValue::Undefined);
        return QJsonDocument::fromJson(it->toUtf8()).array();
    }

    static Answer jobAuth(Store &s, const Form &form, const User &u)
    {
        bool ok = false;
        const int jobId = form.value(QStringLiteral("id")).trimmed().toInt(&ok);
        if (!ok)
            return refusal(QStringLiteral("岗位不存在"));
        const QJsonValue entries = savedEntries(s, u.companyId, jobId);
        if (entries.isArray())
            return fetched(entries);
        for (const User &x : qAsConst(s.m_users))
            if (x.companyId == u.companyId && x.jobId == jobId)
                return fetched(s.rightsOf(x));
        return fetched(QJsonArray());
    }

    static Answer editJob(Store &s, const Form &form, const User &u)
    {
        bool ok = false;
        const int jobId = form.value(QStringLiteral("id")).trimmed().toInt(&ok);
        if (!ok || !isJob(s, jobId))
            return refusal(QStringLiteral("岗位不存在"));
        const QString content = form.value(QStringLiteral("content"));
        if (!isListOfObjects(content))
            return malformed(QStringLiteral("content"));
        const Values values{{QStringLiteral("content"), content}};
        if (!inTransaction(s, [&] { return write(s, job(), u.companyId, QString::number(jobId), values); }))
            return notStored();
        return fetched(QJsonObject(), kSaved);
    }

    // The user's rights: the saved entries of the user's job, else the seeded ones.
    static Answer currentAuth(Store &s, const Form &, const User &u)
    {
        const QJsonValue entries = savedEntries(s, u.companyId, u.jobId);
        return fetched(entries.isArray() ? entries : QJsonValue(s.rightsOf(u)));
    }

    static bool createTables(QSqlQuery &q, QString *error)
    {
        if (q.exec(QStringLiteral("create table savedsettings(scope text, companyid integer, owner text not null, key text, "
                                  "value text, primary key(scope, companyid, owner, key))")))
            return true;
        *error = q.lastError().text();
        return false;
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"app/gethousebookconfig", bookConfig},
                      {"app/housebookconfig", saveBookConfig},
                      {"app/gethousebookcategory", categories},
                      {"app/sethousebookcategory", saveCategories},
                      {"fd/getfendanguize", separationRules},
                      {"fd/fendanguize", saveSeparationRules},
                      {"workcenter/jobauthInfo", jobAuth},
                      {"workcenter/jobedit", editJob},
                      {"workcenter/currentauth", currentAuth}});
    }
};

bool createSettingsTables(QSqlQuery &q, QString *error)
{
    return SettingsRoutes::createTables(q, error);
}

void addSettingsRoutes(RouteTable &table)
{
    SettingsRoutes::addTo(table);
}

} // namespace Alliance
