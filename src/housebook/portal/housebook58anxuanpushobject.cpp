#include "portal/housebook58anxuanpushobject.h"

HouseBook58AnXuanPushObject::HouseBook58AnXuanPushObject(QObject *parent) : PortalPushBase(parent) {}

void HouseBook58AnXuanPushObject::pushHouse(int id) { m_data.houseId = id; m_mode = PushMode; }
void HouseBook58AnXuanPushObject::downloadHouseStatus() {}
void HouseBook58AnXuanPushObject::dealHouseStatus(QJsonValue) {}
void HouseBook58AnXuanPushObject::downloadDetailData() {}
void HouseBook58AnXuanPushObject::dealDetailData(QJsonValue) {}
void HouseBook58AnXuanPushObject::downloadHouseVrs() {}
void HouseBook58AnXuanPushObject::dealHouseVrs(QJsonValue) {}
void HouseBook58AnXuanPushObject::downloadHouseVideo() {}
void HouseBook58AnXuanPushObject::dealHouseVideo(QJsonValue) {}
void HouseBook58AnXuanPushObject::prepareCheckData() {}
void HouseBook58AnXuanPushObject::checkCommunityLocation() {}
void HouseBook58AnXuanPushObject::checkCommunityYear() {}
void HouseBook58AnXuanPushObject::submitXiaoQu() {}
void HouseBook58AnXuanPushObject::submitHouse() {}
void HouseBook58AnXuanPushObject::realPushVideo() {}
void HouseBook58AnXuanPushObject::realPutDown(int id) { m_data.houseId = id; m_mode = PutDownMode; }
