#include "commonsignaltool.h"

CommonSignalTool::CommonSignalTool(QObject *parent) : QObject(parent) {}

CommonSignalTool *CommonSignalTool::Instance()
{
    static CommonSignalTool instance;
    return &instance;
}

void CommonSignalTool::send_localHouseChange(const QVariant &value, QObject *sender)
{
    emit localHouseChange(value, sender);
}

void CommonSignalTool::send_localCommunityChange(const QVariant &value, QObject *sender)
{
    emit localCommunityChange(value, sender);
}

void CommonSignalTool::send_houseBookSetChange(const QVariant &value, QObject *sender)
{
    emit houseBookSetChange(value, sender);
}

void CommonSignalTool::send_baseSqlReq(int type, const QVariant &value, QObject *sender)
{
    emit baseSqlReq(type, value, sender);
}

void CommonSignalTool::send_lostLogin(const QVariant &value, QObject *sender)
{
    emit lostLogin(value, sender);
}

void CommonSignalTool::send_reviceMsg(const QString &type, const QVariant &value, QObject *sender)
{
    emit reviceMsg(type, value, sender);
}

void CommonSignalTool::send_refreshMicroWebSiteList(const QVariant &value, QObject *sender)
{
    emit refreshMicroWebSiteList(value, sender);
}
