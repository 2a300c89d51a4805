#include "communitystructureservice.h"

CommunityStructureService::CommunityStructureService(QObject *parent)
    : QObject(parent)
{
}

void CommunityStructureService::searchCommunities(const QString &) {}
void CommunityStructureService::fetchLocks(const QString &) {}
void CommunityStructureService::fetchBuildings(const QString &) {}
void CommunityStructureService::fetchUnits(const QString &, const CommunityStructure::LouDong &) {}
void CommunityStructureService::fetchRooms(const CommunityStructure::DanYuan &, bool) {}
void CommunityStructureService::fetchRoomDetail(const QString &, const QString &) {}
