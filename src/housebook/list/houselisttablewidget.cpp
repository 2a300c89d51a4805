#include "list/houselisttablewidget.h"

#include "list/housebookxiezuoitemview.h"
#include "list/houserowtexts.h"
#include "list/housetableitemwidget.h"
#include "list/housetablelabelitemview.h"
#include "list/housetabletagitemwidget.h"

#include <QDate>
#include <QRegularExpression>

namespace {

const QString kCommunityTitle = QStringLiteral("小区");
const QString kIdTitle = QStringLiteral("编号");
const QString kTagsTitle = QStringLiteral("标签");
const QString kXieZuoTitle = QStringLiteral("团队协作");
// The collaboration cell: seven icons and the progress in a pill.
const int kXieZuoWidth = 215;
const int kCommunityCap = 360;
const int kTagsCap = 220;
// Frozen columns are leading ones: 编号 and 小区 further right are not kept in view.
const int kMaxFrozenColumns = 4;

QString columnTitle(const QVariantMap &column)
{
    return column.value(QStringLiteral("title")).toString();
}

} // namespace

HouseListTableWidget::HouseListTableWidget(QWidget *parent) : HoverTableWidget(parent)
{
}

void HouseListTableWidget::setRows(const QList<QVariantMap> &columns, const QList<Record> &listings)
{
    setColumns(columns);
    setRows(listings);
}

void HouseListTableWidget::setRows(const QList<Record> &listings)
{
    const QDate today = QDate::currentDate();
    const QList<QVariantMap> shown = columns();
    const int last = shown.size() - 1;
    fillRows(listings.size(), [&](int row, int column) {
        const Record &listing = listings.at(row);
        HoverTableCell *cell = createCell(shown.at(column), listing, row, today);
        if (column == last && listing.isread == 1)
            cell->setRead(true);
        return cell;
    });
}

HoverTableCell *HouseListTableWidget::createCell(const QVariantMap &column, const Record &listing, int row,
                                                 const QDate &today) const
{
    const QString title = columnTitle(column);
    if (title == kCommunityTitle) {
        auto *cell = new HouseTableItemWidget(row, nullptr, true);
        cell->setSearchWords(m_searchWords);
        cell->setText(HouseRowTexts::communityText(listing, today));
        return cell;
    }
    if (title == kTagsTitle) {
        auto *cell = new HouseTableTagItemWidget(row, nullptr, true);
        cell->setText(listing.tags);
        return cell;
    }
    if (title == kXieZuoTitle) {
        auto *cell = new HouseBookXieZuoItemView(row, nullptr, true);
        cell->setData(listing);
        return cell;
    }
    auto *cell = new HouseTableLabelItemView(row);
    cell->setText(HouseRowTexts::cellValue(column.value(QStringLiteral("key")).toString(), listing, today));
    return cell;
}

void HouseListTableWidget::setSearchWords(const QStringList &words)
{
    QStringList cleaned;
    for (const QString &word : words) {
        for (const QString &part : word.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            if (!cleaned.contains(part))
                cleaned << part;
        }
    }
    m_searchWords = cleaned;
    const QList<QVariantMap> shown = columns();
    for (int column = 0; column < shown.size(); ++column) {
        if (columnTitle(shown.at(column)) != kCommunityTitle)
            continue;
        for (int row = 0; row < rowCount(); ++row) {
            if (auto *cell = qobject_cast<HouseTableItemWidget *>(cellAt(row, column)))
                cell->setSearchWords(m_searchWords);
        }
    }
}

QString HouseListTableWidget::composeCommunityText(const QStringList &leftTags, const QString &mainText,
                                                   const QString &statusText, const QStringList &rightTags)
{
    return HouseRowTexts::composeCommunityText(leftTags, mainText, statusText, rightTags);
}

int HouseListTableWidget::frozenColumnsFor(const QList<QVariantMap> &columns) const
{
    int last = -1;
    for (int i = 0; i < columns.size() && i < kMaxFrozenColumns; ++i) {
        const QString title = columnTitle(columns.at(i));
        if (title == kIdTitle || title == kCommunityTitle)
            last = i;
    }
    return last + 1;
}

int HouseListTableWidget::fixedWidth(const QVariantMap &column) const
{
    const int fixed = HoverTableWidget::fixedWidth(column);
    if (fixed > 0)
        return fixed;
    return columnTitle(column) == kXieZuoTitle ? kXieZuoWidth : 0;
}

int HouseListTableWidget::widthCap(const QVariantMap &column) const
{
    const QString title = columnTitle(column);
    if (title == kCommunityTitle)
        return kCommunityCap;
    return title == kTagsTitle ? kTagsCap : HoverTableWidget::widthCap(column);
}
