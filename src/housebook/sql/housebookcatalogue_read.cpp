// Reading the settings tables' JSON texts back: decoding, completing choice lists from the
// catalogues, and filling the search fields' options from the reference data.
#include "sql/housebookcatalogue.h"
#include "net/wholenumber.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

namespace HouseBookCatalogue {
namespace {

const QString kId = QStringLiteral("id");
const QString kTitle = QStringLiteral("title");
const QString kChoose = QStringLiteral("choose");
const QString kSons = QStringLiteral("sons");
const QString kPlaceholder = QStringLiteral("placeholder");
const QString kName = QStringLiteral("name");

QJsonValue decode(const QString &text, int depth)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return QJsonValue(QJsonValue::Undefined);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(trimmed.toUtf8(), &error);
    if (error.error == QJsonParseError::NoError)
        return doc.isArray() ? QJsonValue(doc.array()) : QJsonValue(doc.object());
    // Qt reads only arrays and objects at the top level; a scalar is read inside an array.
    const QJsonDocument wrapped = QJsonDocument::fromJson(QByteArray("[") + trimmed.toUtf8() + "]", &error);
    if (error.error != QJsonParseError::NoError || wrapped.array().size() != 1)
        return QJsonValue(QJsonValue::Undefined);
    const QJsonValue scalar = wrapped.array().first();
    if (scalar.isString() && depth > 0) {
        const QJsonValue inner = decode(scalar.toString(), depth - 1);
        if (inner.isArray() || inner.isObject())
            return inner;
    }
    return scalar;
}

QVariantMap findById(const QList<QVariantMap> &list, int id)
{
    for (const QVariantMap &entry : list) {
        if (WholeNumber::toInt(entry.value(kId)) == id)
            return entry;
    }
    return QVariantMap();
}

// JSON numbers arrive as whole or floating numbers; booleans and lists are no ids.
bool isBareId(const QVariant &item)
{
    switch (static_cast<QMetaType::Type>(item.type())) {
    case QMetaType::QString:
    case QMetaType::Double:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

// One stored entry as {choose, id, title}: an object, or a bare id (number or numeric
// text) that stands for a shown entry. Empty when it names no usable entry.
QVariantMap storedEntry(const QVariant &item, const QList<QVariantMap> &catalogue)
{
    const bool isObject = item.type() == QVariant::Map;
    const QVariantMap object = item.toMap();
    bool ok = false;
    const int id = (isObject ? object.value(kId) : item).toInt(&ok);
    if (!ok || id <= 0 || (!isObject && !isBareId(item)))
        return QVariantMap();
    const QVariantMap known = findById(catalogue, id);
    QString title = object.value(kTitle).toString();
    if (title.isEmpty())
        title = known.value(kTitle).toString();
    if (title.isEmpty())
        return QVariantMap();
    bool choose = true;
    if (object.contains(kChoose))
        choose = object.value(kChoose).toBool();
    else if (isObject && !known.isEmpty())
        choose = known.value(kChoose).toBool();
    return {{kChoose, choose}, {kId, id}, {kTitle, title}};
}

// The catalogue entry with the stored entry's id, title and flag.
QVariantMap completed(const QVariantMap &entry, const QList<QVariantMap> &catalogue)
{
    QVariantMap merged = findById(catalogue, WholeNumber::toInt(entry.value(kId)));
    for (const QString &own : {kId, kTitle, kChoose})
        merged.insert(own, entry.value(own));
    return merged;
}

QString fillNumbered(const QString &text, const QHash<int, QStringList> &lists)
{
    static const QRegularExpression number(QStringLiteral("%(\\d+)"));
    QString out;
    int from = 0;
    auto it = number.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += text.midRef(from, m.capturedStart() - from);
        out += lists.value(m.captured(1).toInt()).join(QLatin1Char(','));
        from = m.capturedEnd();
    }
    out += text.midRef(from);
    // A caption whose list is still empty keeps no dangling separator.
    while (out.endsWith(QLatin1Char(',')))
        out.chop(1);
    return out;
}

QVariantList sonsOf(const QStringList &titles)
{
    QVariantList sons;
    for (const QString &t : titles)
        sons << QVariantMap{{kTitle, t}, {kChoose, false}};
    return sons;
}

// Districts as choices, each with its areas as sub-choices.
void applyAreaTree(QVariantMap &field, const QVariantList &districts)
{
    QStringList names;
    QVariantList sons;
    for (const QVariant &d : districts) {
        const QVariantMap district = d.toMap();
        const QString name = district.value(kName).toString();
        if (name.isEmpty())
            continue;
        names << name;
        sons << QVariantMap{{kTitle, name}, {kChoose, false},
                            {kSons, sonsOf(namesOf(district.value(kSons).toList()))}};
    }
    field.insert(kPlaceholder, QStringLiteral("选择区域<step>%1<step>more").arg(names.join(QLatin1Char(','))));
    field.insert(kSons, sons);
}

QVariantMap filledField(QVariantMap field, const QHash<int, QStringList> &lists,
                        const QHash<int, QVariantList> &areaTrees)
{
    const int id = WholeNumber::toInt(field.value(kId));
    if (areaTrees.contains(id)) {
        applyAreaTree(field, areaTrees.value(id));
        return field;
    }
    const QString placeholder = fillNumbered(field.value(kPlaceholder).toString(), lists);
    field.insert(kPlaceholder, placeholder);
    if (WholeNumber::toInt(field.value(QStringLiteral("type"))) == 7)
        field.insert(kSons, sonsOf(placeholder.split(QLatin1Char(',')).mid(1)));
    return field;
}

} // namespace

QString toText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: {
        const QString text = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
        return text.mid(1, text.size() - 2);
    }
    default:
        return QString();
    }
}

QJsonValue fromText(const QString &text)
{
    return decode(text, 2);
}

QVariantList listFromText(const QString &text)
{
    const QJsonValue value = fromText(text);
    return value.isArray() ? value.toArray().toVariantList() : QVariantList();
}

QVariantMap mapFromText(const QString &text)
{
    const QJsonValue value = fromText(text);
    return value.isObject() ? value.toObject().toVariantMap() : QVariantMap();
}

QStringList namesOf(const QVariantList &list)
{
    QStringList names;
    for (const QVariant &item : list) {
        QString name;
        if (item.type() == QVariant::Map) {
            const QVariantMap m = item.toMap();
            name = m.value(kName).toString();
            if (name.isEmpty())
                name = m.value(kTitle).toString();
        } else if (item.canConvert<QString>()) {
            name = item.toString();
        }
        if (!name.isEmpty())
            names << name;
    }
    return names;
}

QList<QVariantMap> mergeChoices(const QString &storedJson, const QList<QVariantMap> &catalogue,
                                const QList<QVariantMap> &defaults)
{
    QList<QVariantMap> entries;
    QSet<int> seen;
    for (const QVariant &item : listFromText(storedJson)) {
        const QVariantMap entry = storedEntry(item, catalogue);
        const int id = WholeNumber::toInt(entry.value(kId));
        if (entry.isEmpty() || seen.contains(id))
            continue;
        seen.insert(id);
        entries << entry;
    }
    if (entries.isEmpty())
        entries = defaults;
    QList<QVariantMap> merged;
    for (const QVariantMap &entry : qAsConst(entries))
        merged << completed(entry, catalogue);
    return merged;
}

void addVerificationColumn(QList<QVariantMap> &columns)
{
    for (const QVariantMap &c : qAsConst(columns)) {
        if (WholeNumber::toInt(c.value(kId)) == kVerificationColumnId)
            return;
    }
    columns << findById(listColumns(), kVerificationColumnId);
}

QString choicesToJson(const QList<QVariantMap> &entries)
{
    QJsonArray array;
    for (const QVariantMap &e : entries) {
        array.append(QJsonObject{{kChoose, e.value(kChoose).toBool()},
                                 {kId, WholeNumber::toInt(e.value(kId))},
                                 {kTitle, e.value(kTitle).toString()}});
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

QList<QVariantMap> fillSearchFields(QList<QVariantMap> fields, const QHash<int, QStringList> &lists,
                                    const QHash<int, QVariantList> &areaTrees)
{
    for (QVariantMap &field : fields)
        field = filledField(field, lists, areaTrees);
    return fields;
}

QVariantMap contractStepField(const QVariantList &steps)
{
    QStringList names;
    QVariantList sons;
    for (const QVariant &s : steps) {
        const QVariantMap step = s.toMap();
        const QString name = step.value(kName).toString();
        if (name.isEmpty())
            continue;
        names << name;
        sons << QVariantMap{{kTitle, name}, {kChoose, false},
                            {QStringLiteral("stepinfo"), step.value(QStringLiteral("stepinfo"))},
                            {kSons, sonsOf({QStringLiteral("未完成"), QStringLiteral("已完成")})}};
    }
    return {{kId, 82}, {kTitle, QStringLiteral("合同步骤搜素")}, {kChoose, true}, {QStringLiteral("type"), 10},
            {QStringLiteral("maxW"), 240}, {QStringLiteral("SingleLine"), false},
            {QStringLiteral("content"), QString()},
            {kPlaceholder, QStringLiteral("选择步骤<step>%1").arg(names.join(QLatin1Char(',')))}, {kSons, sons}};
}

} // namespace HouseBookCatalogue
