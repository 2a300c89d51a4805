#pragma once
// The requests of the listing entry forms: the duplicate check of a new listing, saving a
// new or edited listing, approving a listing under review (the edit is applied with the
// approval) and rejecting one. Each call posts one form; the forms hear of the outcome
// through signals and never see a reply. While a save, approval or rejection runs the
// service is busy and refuses a second one, so a double click posts once. A refusal or a lost
// connection has been shown to the agent by the request object and ends in failed().
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

class NetRequestObjecet;
class QJsonValue;

class ListingEntryService : public QObject
{
    Q_OBJECT
public:
    enum Operation { Add, Edit, Approve, Reject };
    Q_ENUM(Operation)

    // Keys and values in the order they are posted.
    using PostForm = QList<QPair<QString, QString>>;

    explicit ListingEntryService(QObject *parent = nullptr);

    // Asks whether the book already holds the listing (community name, building, room, unit).
    void checkDuplicate(bool rent, const QString &name, const QString &buildingNo, const QString &roomNo,
                        const QString &unitNo);

    // False (and nothing posted) while another save is still running.
    bool addListing(const PostForm &form);
    bool editListing(const PostForm &form);
    bool approveListing(const PostForm &form);
    bool rejectListing(int houseId);

    bool isBusy() const { return m_busy; }

    // The listing id of a save reply ({"id": N}, the id as a number or as text); 0 when none.
    static int savedId(const QJsonValue &data);

signals:
    // The book holds the listing or one like it: the server's message and the listing's id.
    void duplicateFound(const QString &message, int houseId);
    void saved(ListingEntryService::Operation operation, int houseId);
    void failed(ListingEntryService::Operation operation);
    // A save, approval or rejection started or ended (the form shows its waiting animation).
    void busyChanged(bool busy);

private:
    bool save(Operation operation, const QString &url, const PostForm &form);
    void setBusy(bool busy);

    bool m_busy = false;
};
