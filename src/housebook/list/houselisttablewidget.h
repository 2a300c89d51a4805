#pragma once
// The listing table of the list pages: a HoverTableWidget whose rows are listings. The
// column title chooses the cell kind: "小区" the community cell, "标签" the tag chips,
// "团队协作" the collaboration cell, any other title a plain text cell showing
// HouseRowTexts::cellValue(key, listing), where `key` is the column key of the settings
// catalogue (e.g. "key_price"). The last column's cell carries the read mark of listings
// whose `isread` is 1.
//
// Ids, prices, areas, times and other short values are never cut; community names and tags
// may grow wider than other texts before they are elided. The leading columns up to 编号
// and 小区 stay in view while the table scrolls sideways.
#include "sql/housemessage_datasqltable.h"
#include "widgets/hovertablewidget.h"

#include <QList>
#include <QStringList>
#include <QVariantMap>

class HouseListTableWidget : public HoverTableWidget
{
    Q_OBJECT
public:
    using Record = HouseMessage_DataSqlTable::HouseMessageData;

    explicit HouseListTableWidget(QWidget *parent = nullptr);

    // One row per listing with one cell widget per column; replaces all rows.
    void setRows(const QList<Record> &listings);
    void setRows(const QList<QVariantMap> &columns, const QList<Record> &listings);
    // Words of the current search, coloured red in the community cells: those shown now and
    // those of later fills. Words are split at blanks; empty ones are dropped.
    void setSearchWords(const QStringList &words);
    QStringList searchWords() const { return m_searchWords; }
    // Joined in the order status, main text, left tags, right tags (HouseRowTexts).
    static QString composeCommunityText(const QStringList &leftTags, const QString &mainText,
                                        const QString &statusText, const QStringList &rightTags);

protected:
    int frozenColumnsFor(const QList<QVariantMap> &columns) const override;
    int fixedWidth(const QVariantMap &column) const override;
    int widthCap(const QVariantMap &column) const override;

private:
    HoverTableCell *createCell(const QVariantMap &column, const Record &listing, int row, const QDate &today) const;

    QStringList m_searchWords;
};
