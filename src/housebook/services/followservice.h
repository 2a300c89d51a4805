#pragma once
// The follow-up side of a listing: its follow-ups (list, add, delete), its tags, its call
// recordings (audio address, hide, follow-up of a call), its viewings and its change
// history. Each call posts one form and answers with one signal carrying the reply's data;
// the pages turn that data into rows. A refusal or a lost connection has been shown to the
// agent by the request object already and ends in requestFailed(); every post ends with
// finished(), where pages stop their waiting animation.
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class FollowService : public QObject
{
    Q_OBJECT
public:
    explicit FollowService(QObject *parent = nullptr);

    // The listing kind as the server counts it: 2 rent, 1 sale.
    static int kindOf(bool rent) { return rent ? 2 : 1; }

    static constexpr int kViewingPageSize = 15;
    static constexpr int kHistoryPageSize = 15;

    void loadFollows(int id, bool rent, int page);
    // The same list from the alliance's own address (the joint-sale form of the general list).
    void loadAllianceFollows(int id, bool rent, int page);
    // form: type, id, content, tag and the reminder keys; lianmai is added here.
    void addFollow(const QVariantMap &form);
    void deleteFollow(int followId);

    void loadTags(bool rent);
    void addTag(bool rent, const QString &tag);
    void deleteTag(bool rent, const QString &tag);

    void loadRecordFile(int recordId);
    // state 1 hides the recording, 2 shows it again.
    void hideRecord(int recordId, int state);
    void followCall(int recordId, const QString &content);

    void loadViewings(int houseId, int page);
    // jointSale marks a listing of the alliance's book.
    void loadModifyHistory(int id, bool rent, int page, bool jointSale);

    // Why a text cannot be posted (empty when it can).
    static QString contentRefusal(const QString &content);
    static QString tagRefusal(const QString &tag);
    // Characters as the agent sees them: an emoji with its modifiers counts once.
    static int visibleLength(const QString &text);
    static constexpr int kMaxTagLength = 6;

    // The tag form value: names joined with "," in the order given, blanks and repeats left out.
    static QString joinTags(const QStringList &tags);

signals:
    void followsLoaded(QJsonValue data);
    void followAdded(QJsonValue data);
    void followDeleted(int followId);
    void tagsLoaded(QJsonValue data);
    void tagsChanged();
    // data holds the audio address as `url`; an empty one: the recording is still being converted.
    void recordFileLoaded(int recordId, QJsonValue data);
    void recordHidden(int recordId, int state);
    void followCallSaved(int recordId, QString content);
    void viewingsLoaded(QJsonValue data);
    void modifyHistoryLoaded(QJsonValue data);

    void requestFailed(QString reason);
    // A list (follow-ups, viewings, history) could not be loaded; the page shows it in place.
    void listFailed(QString reason);
    void finished();

private:
    // A list load's failure is shown by its page in place (listFailed); the tag list is a
    // convenience beside the follow-ups, so when it fails the tags already shown stay.
    enum class Failure { InList, Quiet };
    // A change the agent asked for: its failure warns with failureNotice ("%1" = the reason).
    template <typename Accepted>
    void post(const QString &url, const QVariantMap &form, const QString &failureNotice, Accepted accepted);
    template <typename Accepted>
    void post(const QString &url, const QVariantMap &form, Failure failure, Accepted accepted);
    template <typename Accepted>
    void send(const QString &url, const QVariantMap &form, const QString &failureNotice, bool listLoad,
              Accepted accepted);
};
