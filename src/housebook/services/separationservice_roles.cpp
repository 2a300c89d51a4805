// Requests of the role rows: the list, handing over, picking up, releasing, the history.
#include "services/separationservice.h"

void SeparationService::loadList(int) {}
void SeparationService::pickUp(int) {}
void SeparationService::assign(const HouseMessage_DataSqlTable::HouseMessageData &,
                               const HouseBookSeperateList_Model::ItemData &, const QVariantMap &) {}
void SeparationService::remove(int, const HouseBookSeperateList_Model::ItemData &) {}
void SeparationService::loadHistory(const QString &, int) {}
void SeparationService::askCanCheck(const QString &) {}
