#pragma once
// How the last download of each book's listings went, process-wide: pages read it to tell
// "nothing found" from "could not be fetched" and offer a retry; the host hears failures
// through the signal hub (baseSqlReq state 2).
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class NetRequestObjecet;

class BookSyncStatus : public QObject
{
    Q_OBJECT
public:
    enum State { Idle, Running, Succeeded, Failed };

    static BookSyncStatus *instance();

    State state(bool isJointSale) const;
    // A short reason an agent understands; empty unless the state is Failed.
    QString lastError(bool isJointSale) const;
    // Fetches the book again: the first-book download while the book holds no listings,
    // otherwise a listing sync on an object of its own.
    void retry(bool isJointSale);

    // Set by the first-book download and the listing sync.
    void setRunning(bool isJointSale);
    void setSucceeded(bool isJointSale);
    void setFailed(bool isJointSale, const QString &reason);
    // Back to Idle: a sync broken off (sign-out, its owner gone) says nothing either way.
    void setIdle(bool isJointSale);
    // Both books Idle, for a new signed-in user.
    void reset();

    // Posts the form on the request; a failure's reason goes to onFail (in context).
    static void postForm(NetRequestObjecet *request, const QString &url, const QVariantMap &form, QObject *context,
                         const std::function<void(const QString &)> &onFail);
    static QString unreadableReply();
    static QString storeFailure();
    static QString tooManyPages();

    // Pages one listing sync asks for at most; the sync fails once it has stored that many
    // and the server still announces another. Far beyond any real book.
    static constexpr int kMaxSyncPages = 10000;
    static int maxSyncPages();
    // A lower cap for tests; 0 restores kMaxSyncPages.
    static void setMaxSyncPages(int pages);

signals:
    void stateChanged(bool isJointSale);

private:
    BookSyncStatus() = default;
    void set(bool isJointSale, State state, const QString &reason);

    State m_state[2] = {Idle, Idle};
    QString m_reason[2];
};
