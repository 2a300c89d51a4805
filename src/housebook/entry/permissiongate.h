#pragma once
// Who may enter new listings: the users whose job holds authority 7, and the alliance manager.
#include <QString>

namespace PermissionGate {

// Tests the current user's authority to enter listings. When refused, shows the warning
// box with refusalText and returns false.
bool mayEnterListings(const QString &refusalText);

} // namespace PermissionGate
