#pragma once
// Pushes a listing of the book to the XinfuLi portal and takes it down again, through the
// portal exchange server. Both start with the status query; a listing whose status is 0 is
// not handled by the portal and nothing further happens. A takedown then asks for a reason
// (unless one was given) and posts the removal; a push reads the listing from the local
// store, downloads the promotion text and photos, VR views, watermark and the portal's data,
// checks them and posts the listing.
//
// The list page and the detail window take listings down when they go off the market or are
// deleted: they create one without a parent, call xiaJiaData() and forget it; such an object
// deletes itself once its work ended.
#include "portal/portalpushbase.h"

#include <QJsonValue>
#include <QString>

class HouseBookXinfuLiPushObject : public PortalPushBase
{
    Q_OBJECT
public:
    explicit HouseBookXinfuLiPushObject(QObject *parent = nullptr);

    QString reason() const { return m_reason; }

    // Starts a push of the listing.
    void pushHouse(int id);

    // Every takedown asked for in this process, as "id:reason" (diagnostics and tests).
    static QStringList putDownLog();
    static void clearPutDownLog();

    // Process-wide announcer of takedown requests, so a caller that does not keep the
    // short-lived object can still be heard.
    static HouseBookXinfuLiPushObject *announcer();

signals:
    // A takedown of listing id with this reason was asked for.
    void putDownRequested(int id, QString reason);

public slots:
    void downloadXinfuliPushStatus();
    void dealXinfuLiPushStatusData(QJsonValue value);
    void downloadHouseDescriceData();
    void dealHouseDescriceData(QJsonValue value);
    void downloadHouseVrs();
    void dealHouseVrs(QJsonValue value);
    void downloadWaterMark();
    void dealWaterMark(QJsonValue value);
    void downloadXinfuLiNeedData();
    void dealXinfuLiNeedData(QJsonValue value);
    // Checks and posts the listing; a position "lng,lat" waives the map position check.
    void submitData(const QString &lat_lng = QString());
    // The reason box ("下架原因：", "请输入下架的原因", "下架").
    void fillXiaJiaReason();
    // The takedown: stores the id, sets the takedown mode, stores the reason and starts the
    // status query.
    void xiaJiaData(int id, const QString &reason);

protected:
    // A position saved in the position editor goes with the listing ("lng,lat").
    void communityEdited(const QVariantMap &saved) override;

private:
    // The portal's data of the listing gives the removal its city and promotion holder; the
    // removal goes out without them when that download fails.
    void removeFromPortal();
    void postRemoval();
    // What the agent is told when a request fails, by mode and by who gave the reason.
    QString failureNotice() const;

    QString m_reason;
    bool m_reasonTyped = false;     // the agent typed the reason in the box
    bool m_positionWaived = false;  // the agent chose "继续推送" without a map position
};
