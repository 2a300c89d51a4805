#pragma once
// What the listing pages share about paging: the texts with which they refuse a step, and
// their page size, kept in the house-book settings under "page".
#include "widgets/pagedlistcontroller.h"

#include <QString>

namespace HouseBookPaging {

PagedListController::Refusals refusals();
// The stored page size: 20 when not positive, at most 100.
int storedPageSize(bool isJointSale);
// Stores a typed page size: 1..100 is kept and returned; anything else stores 20 and
// returns 0 (the page keeps its current size until it reloads the setting).
int storePageSizeText(const QString &text, bool isJointSale);

} // namespace HouseBookPaging
