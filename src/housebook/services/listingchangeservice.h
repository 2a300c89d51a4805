#pragma once
// The changes an agent makes to one listing of the book: its flags (top, lock, seal,
// exclusive; set for good or for a number of days, or cancelled), its status, and its
// deletion. For each change the service posts the one form the server takes; once the
// server has accepted it, it writes the change into the local house table, starts one house
// synchronisation and reports the change. A status that takes the listing off the market,
// and a deletion, also hand the listing over for its portal takedown.
//
// A change the server refused or never answered leaves the local table alone: the request
// object has told the agent why (with the change's failure notice), and changeFailed()
// carries the reason to the page.
#include <QObject>
#include <QString>
#include <QVariantMap>

class NetRequestObjecet;

class ListingChangeService : public QObject
{
    Q_OBJECT
public:
    explicit ListingChangeService(QObject *parent = nullptr);

    // type: HouseBookCodes::FlagType; state 1 sets the flag, 0 cancels it; days > 0 sets it
    // for that many days. Other types are ignored.
    void changeFlag(int id, int type, int state, int days = 0);
    // status: the status name in clear text.
    void changeStatus(int id, const QString &status);
    void deleteListing(int id);

    // A change has been posted and its answer has not arrived yet.
    bool isPosting() const { return m_posting > 0; }

    // The local column that holds a flag type; empty for other types.
    static QString flagColumn(int type);
    static QString flagSuccessText(int type);
    // The warning shown when a flag change did not reach the server; %1 is the reason.
    static QString flagFailureText(int type);
    // Statuses that take a listing off the market, and so off the outside portal.
    static bool takesOffMarket(const QString &status);

signals:
    // A post has ended, accepted or not; pages stop their busy overlay here.
    void postFinished();
    void flagChanged(int id, int type, int state);
    void statusChanged(int id, const QString &status);
    void listingDeleted(int id);
    // The listing is to be taken down from the outside portal for this reason.
    void takeDownDue(int id, const QString &reason);
    void changeFailed(int id, const QString &reason);
    // The house synchronisation started after a change has ended.
    void houseSyncFinished();

private:
    // Posts form to url; accepted runs on the server's acceptance, a failure tells the agent
    // failureNotice and emits changeFailed.
    template <typename Accepted>
    void post(int id, const QString &url, const QVariantMap &form, const QString &failureNotice,
              Accepted accepted);
    void startHouseSync();
    void flagAccepted(int id, int type, int state);
    void statusAccepted(int id, const QString &status);
    void deletionAccepted(int id);

    int m_posting = 0;
};
