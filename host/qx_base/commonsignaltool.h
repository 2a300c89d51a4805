#pragma once
// Process-wide signal hub: modules announce changes here and every listener hears them.
#include "qx_base_global.h"

#include <QObject>
#include <QVariant>

class QX_BASE_EXPORT CommonSignalTool : public QObject
{
    Q_OBJECT
public:
    static CommonSignalTool *Instance();

    void send_localHouseChange(const QVariant &value, QObject *sender = nullptr);
    void send_localCommunityChange(const QVariant &value, QObject *sender = nullptr);
    void send_houseBookSetChange(const QVariant &value, QObject *sender = nullptr);
    void send_baseSqlReq(int type, const QVariant &value, QObject *sender = nullptr);
    void send_lostLogin(const QVariant &value, QObject *sender = nullptr);
    void send_reviceMsg(const QString &type, const QVariant &value, QObject *sender = nullptr);
    void send_refreshMicroWebSiteList(const QVariant &value, QObject *sender = nullptr);

signals:
    void localHouseChange(QVariant value, QObject *sender);
    void localCommunityChange(QVariant value, QObject *sender);
    void houseBookSetChange(QVariant value, QObject *sender);
    void baseSqlReq(int type, QVariant value, QObject *sender);
    void lostLogin(QVariant value, QObject *sender);
    void reviceMsg(QString type, QVariant value, QObject *sender);
    void refreshMicroWebSiteList(QVariant value, QObject *sender);

private:
    explicit CommonSignalTool(QObject *parent = nullptr);
};
