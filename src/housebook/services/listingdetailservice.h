#pragma once
// The requests the first page of the detail window makes about one listing: the reveal
// statistics, collecting, turning it public, its photo and video counts, a safe number for a
// hidden-number call, and the local store's refresh of the listing or of the changed ones.
// Each request object lives for one request; the page hears of the results through signals
// and never sees a reply. Replies of an unexpected shape give what can be read of them.
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QVariantMap>

class NetRequestObjecet;

class ListingDetailService : public QObject
{
    Q_OBJECT
public:
    // Which piece of key information a reveal shows.
    enum RevealItem { ContactItem = 0, RoomItem = 1, FloorItem = 2 };

    explicit ListingDetailService(QObject *parent = nullptr);

    // The `type` every form of the detail window carries: 2 for a rent listing, 1 for a sale one.
    static int kindCode(bool rent) { return rent ? 2 : 1; }
    // The number sent for a hidden-number call: first 3, "****", last 4 of the number without
    // spaces; empty when fewer than 8 characters are left.
    static QString maskedPhone(const QString &phone);

    // The photo and video counts of a counts reply (0 for anything unreadable) and the
    // listing's update time on the server (empty when the reply had none).
    struct Counts
    {
        int photos = 0;
        int videos = 0;
        QString lastTime;
    };
    static Counts countsOf(const QJsonValue &data);

    void recordReveal(int id, bool rent, int itemType);
    void toggleCollect(int id, bool rent, bool collected);
    void turnPublic(int id);
    void fetchCounts(int id);
    // itemId: the contact entry the call is for; phone as stored (spaces allowed).
    void requestSafeNumber(bool rent, const QString &itemId, const QString &phone);

    // The local store fetches this one listing again, or every changed listing; its object is
    // released when the download ends.
    void refreshOneListing(int id);
    void fetchChangedListings();

signals:
    void revealRecorded(int itemType);
    void collectChanged(int id, bool collected);
    void turnedPublic(int id);
    // The reply's data as it came; read it with countsOf().
    void countsArrived(const QJsonValue &data);
    void safeNumberArrived(const QString &caller, const QString &called);
    // Refusals 101-103: the agent has no call credit left; message is the server's.
    void noCallCredit(const QString &message);
    void safeNumberFailed();
    void storeDownloadFinished();

private:
    template <typename Accepted>
    NetRequestObjecet *post(const QString &url, const QVariantMap &form, Accepted accepted,
                            const QString &failureNotice = QString());
    // A store object for one download, released when it ends.
    class BaseSqlObject *storeForOneDownload();
};
