#pragma once
// What the two portal push objects share: the gathered data, the posts to the servers (a
// failed one ends the work; the request object has told the agent), reading the listing and
// its community from the local store, the refusal boxes, and opening the community editors of
// the host's community library. The work ends exactly once, with finished(); an object made
// without a parent then deletes itself.
#include "portal/portalpushdata.h"
#include "portal/portalrecords.h"

#include <QJsonValue>
#include <QObject>
#include <QVariantMap>

#include <functional>

class PortalPushBase : public QObject
{
    Q_OBJECT
public:
    enum Mode { PushMode = 1, PutDownMode = 2 };

    explicit PortalPushBase(QObject *parent = nullptr);

    int houseId() const { return m_data.houseId; }
    int mode() const { return m_mode; }
    const PortalPushData &data() const { return m_data; }
    bool hasEnded() const { return m_ended; }

signals:
    void pushSuccess();
    void putDownSuccess();
    // The work ended without success: a refusal (its text) or a failed request (its reason).
    void failed(QString reason);
    // The work ended either way; a parentless object deletes itself after this.
    void finished();

protected:
    // Posts one form with lianmai=1. The payload goes to onData; a failure ends the work with
    // failed(reason), the agent having been told with failureNotice ("%1": the reason).
    void post(const QString &url, const QVariantMap &form, const QString &failureNotice,
              std::function<void(const QJsonValue &)> onData);
    // The two downloads both portals gather: the promotion text and photos, and the VR views.
    void postPromotion(const QString &failureNotice, std::function<void(const QJsonValue &)> onData);
    void postVrs(const QString &failureNotice, std::function<void(const QJsonValue &)> onData);
    // Reads the listing and its community from the local store into m_data. A listing that is
    // not stored is told to the agent ("房源不存在或已被删除！") and ends the work: false.
    bool readListing();
    // The refusal's box. With an action text the box offers it (and the second action, when
    // given, as the other button); without one it is a plain warning. The work ends unless an
    // action keeps it going.
    void refuse(PortalRecords::Refusal refusal, bool wuba, const QString &actionText = QString(),
                std::function<void()> action = {}, const QString &secondText = QString(),
                std::function<void()> second = {});
    // The community position editor (location) or the community editor (build year) of the
    // listing's community. A saved change is written to the local community record and to
    // m_data.community, then communityEdited() runs; an editor closed without saving, or a
    // missing library, ends the work.
    void openCommunityEditor(bool location);
    virtual void communityEdited(const QVariantMap &saved);

    void succeed();            // pushSuccess() or putDownSuccess() by mode, then the end
    void fail(const QString &reason);
    void end();

    PortalPushData m_data;
    int m_mode = PushMode;

private:
    bool m_ended = false;
    friend struct PortalEditorContext;
};
