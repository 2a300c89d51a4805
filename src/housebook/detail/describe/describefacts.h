#pragma once
// The extended facts of a sale listing that the outside portals ask for: one table of keys,
// display labels and inputs, shared by the sale description page (which shows them) and the
// facts editor (which builds its inputs from it), and the editor's rules, checked in order.
#include <QJsonObject>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace DescribeFacts {

enum Input {
    Number,   // a decimal; unfilled is posted as -1
    Choice,   // one of the choices
    Several,  // any of the choices, joined with ","
    Date,     // "yyyy-MM-dd"
    Line,     // one line of text
    Long      // a text of 20 to 300 characters
};

struct Fact
{
    QString key;
    QString label;        // "套内面积：%1"; the bare label is the text before "%1"
    Input input;
    QStringList choices;  // Choice and Several
    QString hint;         // placeholder text of the input
    QString unit;         // shown inside a number's input
};

// Every extended fact with an input of its own, in the order of the page and the editor
// (title, tags, photos and panorama have inputs of their own).
const QList<Fact> &facts();
const Fact *fact(const QString &key);

// The label filled with a value; a missing value (empty or the unset number -1) leaves the
// bare label.
QString labelText(const Fact &fact, const QString &value);
// A fact of a reply as text: numbers without needless decimals, -1 as "".
QString valueOf(const QJsonObject &detail, const QString &key);
bool isUnsetNumber(const QString &text);

// What the editor checks before posting.
struct Check
{
    QMap<QString, QString> values;  // fact key -> text as entered; also "title"
    int tagCount = 0;
    // 1: the listing goes out as an owner's own listing, where no commission (exactly 0)
    // is allowed as well.
    int portalMode = 0;
    // The listing is about to be pushed to 58, so the 58 community must be chosen.
    bool portalCommunityRequired = false;
    QString portalCommunity;
};

// The message of the first rule the values break; "" when they can be posted.
QString firstProblem(const Check &check);

constexpr int kMaxTags = 6;

} // namespace DescribeFacts
