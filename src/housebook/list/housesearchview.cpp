#include "list/housesearchview.h"

#include "list/searchitemchoicewidgets.h"
#include "list/searchitemchooserwidgets.h"
#include "list/searchitemcommunitywidget.h"
#include "list/searchitemdatewidgets.h"
#include "list/searchitemtextwidgets.h"
#include "list/searchkeys.h"
#include "sql/housebookset_sqltable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

const QString kId = QStringLiteral("id");
const QString kContent = QStringLiteral("content");
const QString kType = QStringLiteral("type");

HouseSearchItem *createItem(const QVariantMap &description, bool isJointSale, QWidget *parent)
{
    switch (description.value(kType).toInt()) {
    case 0: return new HouseSearch_ZeroWidget(description, parent);
    case 1: return new HouseSearch_FirstWidget(description, parent);
    case 2: return new HouseSearch_SecondWidget(description, parent);
    case 3: return new HouseSearch_ThirdWidget(description, parent);
    case 4: return new HouseSearch_FourWidget(description, parent);
    case 5: return new HouseSearch_FifthWidget(description, parent);
    case 6: return new HouseSearch_SixWidget(description, isJointSale, parent);
    case 7: return new HouseSearch_SevenWidget(description, parent);
    case 9: return new HouseSearch_EightWidget(description, parent);
    case 10: return new HouseSearch_ContractStepWidget(description, parent);
    case 11: return new HouseSearch_ChooseDeptmentMessageWidget(description, isJointSale, parent);
    case 12: return new HouseSearch_SingleDateChooseWidget(description, parent);
    case 13: return new HouseSearch_ChooseMoreSchoolWidget(description, isJointSale, parent);
    default: return nullptr; // 8: a field without a widget
    }
}

// Chosen fields the search catalogue does not describe: the district-and-area chooser and
// the people and department fields.
constexpr int kDistrictAndArea = 83;
constexpr int kDistrictField = 2;
const int kPeopleFields[] = {86, 87, 90, 91, 92, 94, 95, 96, 97, 98};

QVariantMap catalogueEntry(const QList<QVariantMap> &catalogue, int id)
{
    for (const QVariantMap &entry : catalogue) {
        if (entry.value(kId).toInt() == id)
            return entry;
    }
    return QVariantMap();
}

// The field as the bar builds it; empty when no widget kind is known for it.
QVariantMap completedField(QVariantMap field, const QList<QVariantMap> &catalogue)
{
    if (field.contains(kType))
        return field;
    const int id = field.value(kId).toInt();
    if (id == kDistrictAndArea) {
        const QVariantMap districts = catalogueEntry(catalogue, kDistrictField);
        for (const QString &member : {kType, QStringLiteral("placeholder"), QStringLiteral("sons"), QStringLiteral("maxW")})
            field.insert(member, districts.value(member));
        return field;
    }
    if (std::find(std::begin(kPeopleFields), std::end(kPeopleFields), id) != std::end(kPeopleFields)) {
        field.insert(kType, 11);
        field.insert(QStringLiteral("maxW"), 240);
        return field;
    }
    return QVariantMap();
}

} // namespace

HouseSearchView::HouseSearchView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("houseSearchView"));
    buildUi();
}

void HouseSearchView::buildUi()
{
    setAttribute(Qt::WA_StyledBackground, true);
    setStyleSheet(QStringLiteral("#houseSearchView{background-color:white;}"));
    m_searchButton = newButton(QStringLiteral("searchButton"), QStringLiteral("搜索"),
                               QStringLiteral(":/res/icon_whiteSearchr.png"),
                               QStringLiteral("QPushButton{background-color:rgb(12,145,235);color:white;border:none;"
                                              "border-radius:5px;font-size:13px;font-family:微软雅黑;padding:0 12px;}"
                                              "QPushButton:hover{background-color:rgb(44,137,255);}"));
    m_clearButton = newButton(QStringLiteral("clearButton"), QString(), QStringLiteral(":/res/icon_delete.png"),
                              QStringLiteral("QPushButton{background-color:white;color:rgb(58,59,51);"
                                             "border:1px solid rgb(221,221,221);border-radius:5px;padding:0 8px;}"));
    m_topLine = new QHBoxLayout;
    m_topLine->setObjectName(QStringLiteral("topLineLayout"));
    m_searchButton->setFixedWidth(90);
    m_clearButton->setFixedWidth(40);
    m_topLine->addWidget(m_searchButton);
    m_topLine->addWidget(m_clearButton);
    // Items keep their maximum widths; the rest of the line stays empty.
    m_topLine->addStretch(1);
    m_grid = new QGridLayout;
    m_grid->setObjectName(QStringLiteral("gridLayout"));
    m_grid->setHorizontalSpacing(10);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 8);
    layout->addLayout(m_topLine);
    layout->addLayout(m_grid);
    connect(m_searchButton, &QPushButton::clicked, this, &HouseSearchView::searchClick);
    connect(m_clearButton, &QPushButton::clicked, this, &HouseSearchView::clearData);
}

QPushButton *HouseSearchView::newButton(const QString &objectName, const QString &text, const QString &icon,
                                        const QString &style)
{
    auto *button = new QPushButton(QIcon(icon), text, this);
    button->setObjectName(objectName);
    button->setStyleSheet(style);
    button->setFixedHeight(30);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void HouseSearchView::setItems(const QList<QVariantMap> &items)
{
    removeItems();
    QList<HouseSearchItem *> created;
    for (const QVariantMap &description : items) {
        if (HouseSearchItem *item = createItem(description, m_isJointSale, this)) {
            addItem(item);
            created << item;
        }
    }
    for (HouseSearchItem *item : qAsConst(created))
        fillBack(item);
    if (!m_values.isEmpty())
        emit backFillContent(m_values);
    emit againSet();
}

void HouseSearchView::setItemsFromSettings(int kind)
{
    HouseBookSet_SqlTable settings(nullptr, m_isJointSale);
    const QList<QVariantMap> catalogue = settings.searchCatalogue();
    QList<QVariantMap> chosen;
    for (const QVariantMap &field : settings.searchItems(kind)) {
        const QVariantMap completed = completedField(field, catalogue);
        if (field.value(QStringLiteral("choose"), true).toBool() && !completed.isEmpty())
            chosen << completed;
    }
    setItems(chosen);
}

// The old items may be the sender of the call that re-creates them, so they are deleted
// later; out of the layout and unparented they are gone from the bar at once.
void HouseSearchView::removeItems()
{
    for (HouseSearchItem *item : qAsConst(m_items)) {
        item->hide();
        item->setParent(nullptr);
        item->deleteLater();
    }
    m_items.clear();
    m_values.clear();
    for (int column = 0; column < m_grid->columnCount(); ++column)
        m_grid->setColumnStretch(column, 0);
    m_gridCount = 0;
}

void HouseSearchView::addItem(HouseSearchItem *item)
{
    m_items << item;
    if (item->isSingleLine()) {
        m_topLine->insertWidget(m_topLine->indexOf(m_searchButton), item, 1);
    } else {
        const int column = m_gridCount / 2;
        m_grid->addWidget(item, m_gridCount % 2, column);
        m_grid->setColumnStretch(column, 4);
        ++m_gridCount;
    }
    for (auto signal : {&HouseSearchItem::lineTextValue, &HouseSearchItem::comboboxValue, &HouseSearchItem::dateValue,
                        &HouseSearchItem::chooseTextValue})
        connect(item, signal, this, &HouseSearchView::changValue);
    connect(item, &HouseSearchItem::startSearch, this, &HouseSearchView::searchClick);
}

// A description's content is shown and recorded; so is a value an item starts with (choices
// the settings marked as chosen).
void HouseSearchView::fillBack(HouseSearchItem *item)
{
    const QString content = item->description().value(kContent).toString();
    if (!content.isEmpty())
        item->setValue(content);
    else if (!item->value().isEmpty())
        changValue(item->itemId(), item->value());
}

bool HouseSearchView::hasItem(int id) const
{
    for (const HouseSearchItem *item : m_items) {
        if (item->itemId() == id)
            return true;
    }
    return false;
}

bool HouseSearchView::setItemValue(int id, const QString &text)
{
    bool found = false;
    for (HouseSearchItem *item : qAsConst(m_items)) {
        if (item->itemId() == id) {
            item->setValue(text);
            found = true;
        }
    }
    return found;
}

QWidget *HouseSearchView::getItemWidget(int id)
{
    for (HouseSearchItem *item : qAsConst(m_items)) {
        if (item->itemId() == id)
            return item;
    }
    return nullptr;
}

QVariantMap HouseSearchView::conditionMap() const
{
    QVariantMap map = SearchKeys::searchMap(m_values);
    for (const HouseSearchItem *item : m_items) {
        const QVariantMap extra = item->extraConditions();
        for (auto it = extra.cbegin(); it != extra.cend(); ++it)
            map.insert(it.key(), it.value());
    }
    return map;
}

void HouseSearchView::searchClick()
{
    emit searchParam(conditionMap(), m_values);
}

void HouseSearchView::clearData()
{
    for (HouseSearchItem *item : qAsConst(m_items))
        item->clearValue();
    m_values.clear();
}

void HouseSearchView::changValue(int id, const QString &text)
{
    for (QVariantMap &entry : m_values) {
        if (entry.value(kId).toInt() == id) {
            entry.insert(kContent, text);
            return;
        }
    }
    m_values << QVariantMap{{kId, id}, {kContent, text}};
}
