#pragma once
// The visible columns of a listing table and what follows from them: their widths, the
// table columns a page must read to fill them, and the sort key a header title stands for.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "sql/housemessage_datasqltable.h"

class HouseListTableWidget;

namespace HouseListColumns {

// The chosen list columns of the sale or rent book, each with a `width` computed from the
// available width: columns with a `fixed` width keep it, the others share the rest by `rate`.
QList<QVariantMap> visibleColumns(bool sale, int availableWidth, bool isJointSale);
// Shares availableWidth among columns as visibleColumns() does.
void assignWidths(QList<QVariantMap> &columns, int availableWidth);
// The columns every page reads, then those of each visible column key (duplicates kept).
QStringList fieldsFor(const QList<QVariantMap> &columns);
// The table column a sortable header title orders by; empty for titles that do not sort.
// withDays: the maintainer worklist also sorts by "到期时间".
QString sortKeyForTitle(const QString &title, bool withDays = false);
// Lays one page of listings into the table: column widths for the available width, row
// height for the page size, then the rows, and the widths fitted to them.
void renderPage(HouseListTableWidget *table, QList<QVariantMap> columns, int availableWidth, int pageSize,
                const QList<HouseMessage_DataSqlTable::HouseMessageData> &listings);

} // namespace HouseListColumns
