#pragma once
// The search bar above the listing table. It holds the search items the house-book settings
// configure (text boxes, drop-down lists, dates, ranges, community names, choosers), keeps
// the value each item reports by item id, and on search turns those values into one map of
// search conditions keyed as the house store reads them (HouseQuery::conditions).
//
// How the list page drives it:
//   setItemsFromSettings(kind)   re-create the items from the user's chosen search fields
//                                (HouseBookSet_SqlTable::SaleBook or RentBook);
//   clearData()                  clear every item and the collected values;
//   getItemWidget(id)            the item with an id, or null (hasItem(id) says the same);
//   setItemValue(id, text)       show a value in the item with that id and record it
//                                (20 the sale states "A,B,C,D", 37 the rent states, 23 the
//                                keyword); nothing happens when no item has that id;
//   searchParam(map, list)       emitted on search: the condition map and the collected
//                                {id, content} values.
#include <QList>
#include <QVariantMap>
#include <QWidget>

class HouseSearchItem;
class QGridLayout;
class QHBoxLayout;
class QPushButton;

class HouseSearchView : public QWidget
{
    Q_OBJECT
public:
    explicit HouseSearchView(QWidget *parent = nullptr);

    // Which book's tables the items read (settings, departments, communities): the alliance's
    // joint-sale book unless told otherwise. Applies to items created afterwards.
    void setJointSale(bool isJointSale) { m_isJointSale = isJointSale; }
    bool isJointSale() const { return m_isJointSale; }

    // Removes the current items and creates one per description {type, id, placeholder,
    // title, minH, minW, maxH, maxW, SingleLine, content, sons...}; type 8 and unknown types
    // create nothing. Items with SingleLine go into the top line before the two buttons
    // (stretch 1); the others fill a grid of two rows column by column (the n-th goes to row
    // n % 2, column n / 2; each column stretch 4). A description's non-empty `content` is
    // shown and recorded (then backFillContent follows). Ends with againSet().
    void setItems(const QList<QVariantMap> &items);
    // setItems() with the chosen (`choose`) search fields of the sale or rent book, read from
    // the settings store; fields the catalogue does not describe get their widget here (83 the
    // district-and-area chooser, people and department fields the department chooser).
    void setItemsFromSettings(int kind);

    // True when an item has this id.
    bool hasItem(int id) const;
    // Shows text in every item with this id, which reports it; false when there is none.
    bool setItemValue(int id, const QString &text);
    // The items in creation order.
    QList<HouseSearchItem *> items() const { return m_items; }
    // The collected values, {id, content}, at most one per id, in the order first reported.
    QList<QVariantMap> collectedValues() const { return m_values; }
    // The map searchClick() emits.
    QVariantMap conditionMap() const;

signals:
    // The values the new items came with (their descriptions' `content`).
    void backFillContent(const QList<QVariantMap> &list);
    // The search: the condition map and the collected {id, content} values.
    void searchParam(const QVariantMap &map, const QList<QVariantMap> &list);
    // The items were re-created; defaults that live outside the settings may be set again.
    void againSet();

public slots:
    // Builds the condition map and emits searchParam.
    void searchClick();
    // Resets every item to empty and forgets the collected values.
    void clearData();
    // Records an item's value, replacing an earlier one of the same id.
    void changValue(int id, const QString &text);

public:
    // The (first) item widget with this id, or null.
    QWidget *getItemWidget(int id);

private:
    void buildUi();
    QPushButton *newButton(const QString &objectName, const QString &text, const QString &icon,
                           const QString &style);
    void removeItems();
    void addItem(HouseSearchItem *item);
    void fillBack(HouseSearchItem *item);

    bool m_isJointSale = true;
    QHBoxLayout *m_topLine = nullptr;
    QGridLayout *m_grid = nullptr;
    QPushButton *m_searchButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    QList<HouseSearchItem *> m_items;
    int m_gridCount = 0;
    QList<QVariantMap> m_values;
};
