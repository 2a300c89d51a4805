// Approving or refusing an entry.
#include "services/separationservice.h"

void SeparationService::review(const QString &, int, const QString &) {}
