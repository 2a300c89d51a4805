#pragma once
// Pushes a listing of the book to the 58 portal (its AnXuan service) and takes it down
// again, through the portal exchange server. A push runs: status query, promotion text and
// photos, VR views, video, the checks, the community post, the listing post, the video post.
// A refusal shows its message box and ends the push; a failed request has been reported by
// the request object and ends it too. Every request to the exchange carries the company id
// in its address ("<endpoint>?companyid=<id>").
//
// The object is short-lived: made without a parent it deletes itself once its work ended.
#include "portal/portalpushbase.h"

#include <QJsonValue>

class HouseBook58AnXuanPushObject : public PortalPushBase
{
    Q_OBJECT
public:
    explicit HouseBook58AnXuanPushObject(QObject *parent = nullptr);

    // The year the build-year check counts from (the current year unless set).
    void setCurrentYear(int year) { m_currentYear = year; }

public slots:
    void pushHouse(int id);
    void downloadHouseStatus();
    void dealHouseStatus(QJsonValue value);
    void downloadDetailData();
    void dealDetailData(QJsonValue value);
    void downloadHouseVrs();
    void dealHouseVrs(QJsonValue value);
    void downloadHouseVideo();
    void dealHouseVideo(QJsonValue value);
    void prepareCheckData();
    // "前往标注": the community position editor. The refused push ends with the editor, saved
    // or not; a saved position is kept locally for the next push.
    void checkCommunityLocation();
    // "前往修改": the community editor for the build year, ending the push the same way.
    void checkCommunityYear();
    void submitXiaoQu();
    void submitHouse();
    void realPushVideo();
    void realPutDown(int id);

protected:
    void communityEdited(const QVariantMap &saved) override;

private:
    int currentYear() const;
    // A reply the push needs to read held nothing readable: told to the agent, the push ends.
    void failUnreadable();
    // The success box, then pushSuccess().
    void pushed();

    int m_currentYear = 0;
    PortalRecords::Refusal m_refusal = PortalRecords::Refusal::None;
};
