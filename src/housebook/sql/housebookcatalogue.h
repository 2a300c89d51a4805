#pragma once
// The built-in catalogues of the house book: every search field and every list column the
// settings can refer to by id, the default choice lists, and the helpers that read the JSON
// texts of the settings tables back into lists.
#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace HouseBookCatalogue {

// The choice lists that have defaults of their own.
enum ChoiceList {
    SaleSearch,       // "mysalesearch"
    RentSearch,       // "myrentsearch"
    SaleShow,         // "mysaleshow"
    RentShow,         // "myrentshow"
    SaleContractShow, // "salecontractshowsort"
    RentContractShow, // "rentcontractshowsort"
    CustomerShow      // "liebiaoitem" of "customerbaseset"
};

// The id of the verification-code column that only one city's lists carry.
constexpr int kVerificationColumnId = 67;

// The 74 search fields, with their numbered placeholders still unfilled.
QList<QVariantMap> searchFields();
// The 67 list columns.
QList<QVariantMap> listColumns();
QString searchFieldsJson();
QString listColumnsJson();

// The list used when a stored choice list is empty: {choose, id, title} entries.
QList<QVariantMap> defaultChoices(ChoiceList which);
// What a fresh settings row stores for the four choice columns (search and show lists of
// the sale and rent books).
QList<QVariantMap> creationChoices(ChoiceList which);
// The tabs of a fresh settings row.
QString defaultTabsJson();

// A stored choice list completed from a catalogue: each entry keeps its own id, title and
// choose flag and takes every other member from the catalogue entry of its id; an empty
// or unreadable list gives the defaults.
QList<QVariantMap> mergeChoices(const QString &storedJson, const QList<QVariantMap> &catalogue,
                                const QList<QVariantMap> &defaults);
// Appends the verification-code column when it is missing.
void addVerificationColumn(QList<QVariantMap> &columns);
// Reduces entries to the {choose, id, title} form the settings tables store.
QString choicesToJson(const QList<QVariantMap> &entries);

// Search fields with their numbered placeholders "%n" filled from lists[n] (comma-joined);
// fields of type 7 get their options as `sons`, and the area fields named in areaTrees
// (field id -> districts with `name` and `sons`) the district-and-area form.
QList<QVariantMap> fillSearchFields(QList<QVariantMap> fields, const QHash<int, QStringList> &lists,
                                    const QHash<int, QVariantList> &areaTrees);
// The contract-step search field of the contract book, built from the stored steps.
QVariantMap contractStepField(const QVariantList &steps);

// The states every sale or rent book has besides the company's own classes.
QStringList fixedStates(bool sale);

// JSON text of the settings tables: arrays and objects as compact JSON, strings as they
// are, numbers and booleans as their JSON text; null and undefined give a null string.
QString toText(const QJsonValue &value);
// The value a stored text holds: an array or object, a scalar, or (when the text is a
// JSON string holding JSON) what that string holds; undefined when unreadable or empty.
QJsonValue fromText(const QString &text);
QVariantList listFromText(const QString &text);
QVariantMap mapFromText(const QString &text);
// The display names of a list: strings as they are, objects by `name` (else `title`).
QStringList namesOf(const QVariantList &list);

} // namespace HouseBookCatalogue
