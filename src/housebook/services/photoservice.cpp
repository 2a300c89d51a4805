#include "photoservice.h"

PhotoService::PhotoService(QObject *parent)
    : QObject(parent)
{
}

QList<HouseBookPhotos_Model::DataItem> PhotoService::recordsOf(const QJsonValue &) { return {}; }
HouseBookPhotos_Model::Standard PhotoService::standardOf(const QJsonValue &) { return {}; }
QList<HouseBookPhotos_Model::Photo> PhotoService::photosOf(const QJsonValue &) { return {}; }
void PhotoService::loadRecords(int) {}
void PhotoService::loadOwnPhotos(int) {}
void PhotoService::loadStandard() {}
void PhotoService::loadVrs(int, bool) {}
void PhotoService::loadWatermark() {}
void PhotoService::submitSet(const QVariantMap &) {}
