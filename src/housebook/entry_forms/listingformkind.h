#pragma once
// What tells the sale form from the rent form: texts, choice lists and which of the optional
// fields it has. The form itself is one implementation; each kind is only data.
#include <QString>
#include <QStringList>

// A single-choice field: combo object name, label, the stored reference list it takes its
// choices from ("" for none) and the choices used without one.
struct ChoiceFieldRow
{
    QString objectName;
    QString label;
    QString referenceColumn;
    QStringList choices;
    bool required = false;
};

struct ListingFormKind
{
    bool rent = false;
    QString typesCode;        // the listing kind as posted: "0" sale, "1" rent
    QString priceLabel;       // "总价" / "租金"
    QString pricePlaceholder;
    QString priceUnit;        // "万"; the rent's unit is a choice of its own
    QString tagTitle;         // title of the tag chooser
    QString tagColumn;        // reference list of the tags
    bool hasUnitPrice = false;
    bool hasGarage = false;
    bool hasFacilities = false; // 配套, rent only
    QList<ChoiceFieldRow> choiceFields; // in the order they are laid out

    static const ListingFormKind &sale();
    static const ListingFormKind &rentKind();
};

namespace ListingChoices {

// Fixed lists of both kinds.
QStringList orientations();
QStringList seeTimes();
QStringList sources();
QStringList decorations();
QStringList rentUnits();
QStringList facilities();
QStringList contactGrades();
QStringList buildingNumbersWithoutStructure(); // "0单元" … "20单元"

// A decoration or house type word of an older record, in the words the lists use now.
QString currentDecoration(const QString &stored);
QString currentHouseType(const QString &stored);

} // namespace ListingChoices
