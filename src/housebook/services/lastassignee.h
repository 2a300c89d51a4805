#pragma once
// The person the signed-in user last handed a listing or a role to, kept in the user's part of
// the settings file ("<phone>/lastFenPeiPeople") so that the next people chooser starts on them.
#include <QVariantMap>

namespace LastAssignee {

// The stored chooser entry (id, name, phone, ...); empty when none is stored.
QVariantMap load();
void store(const QVariantMap &person);

} // namespace LastAssignee
