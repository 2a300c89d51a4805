#pragma once
// What an empty listing table tells the agent. While the book is still being downloaded, or
// after its download failed, "nothing found" would be wrong (and the usual hint even points
// at the agent's rights): the table says which of the two it is instead.
#include <QString>

namespace SyncStateHint {

// Rich text of the tables' hints: one 14 px paragraph.
QString html(const QString &richText);
// The book's download under way or failed (with its reason), else `finished`.
QString emptyText(bool isJointSale, const QString &finished);

} // namespace SyncStateHint
