#pragma once
// The promotion side of a listing: its promotion text (title, introduction, photos with a
// cover, panorama, tags), the extended facts the outside portals ask for, the portal tag
// names, and the colleagues' evaluations. Each call posts one form and answers with one
// signal; a refusal or a lost connection has been shown by the request object already and
// ends in failed(); every call ends with finished(), where pages stop their waiting animation.
//
// Texts travel as the caller gives them: pages turn "&" into the stored joiner token before
// they hand a form over (see detail/describe/joinertext.h).
#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class DescribeService : public QObject
{
    Q_OBJECT
public:
    enum Request { Detail, SaveFacts, SavePromotion, Cover, HouseTags, Evaluations, AddEvaluation, DeleteEvaluation };
    Q_ENUM(Request)

    explicit DescribeService(QObject *parent = nullptr);

    // The listing kind of the promotion forms: 1 sale, 2 rent.
    static int kindOf(bool rent) { return rent ? 2 : 1; }

    void loadDetail(int id);                                   // housebook2/housebookdesdetail
    // form: id, axid and the fact keys (pic as JSON text).
    void saveFacts(const QVariantMap &form);                   // housebook2/housebookeditdes
    // The extended facts' photos with a new cover: "id, pic" alone.
    void setFactsCover(int id, const QString &picJson);
    // form: type, id, title, describes, describespicture, quanjing, purl, ptitle, tags.
    void savePromotion(const QVariantMap &form);               // app/housebookeditdes
    // The promotion photos with a new cover: "types, id, describespicture" alone.
    void setPromotionCover(bool rent, int id, const QString &picturesJson);
    void loadHouseTags();                                      // anxuan/gethousetag
    void loadEvaluations(int id);                              // app/housepjposts
    void addEvaluation(int id, const QString &content);        // app/housepjadd
    void deleteEvaluation(int evaluationId);                   // app/housepjdel

    // The tag names of a tag reply: {"list":[...]} or a bare list, names as text; blanks and
    // repeats left out.
    static QStringList tagNamesOf(const QJsonValue &data);

signals:
    void detailLoaded(QJsonValue data);
    void factsSaved();
    void promotionSaved();
    void coverSaved();
    void houseTagsLoaded(QStringList tags);
    void evaluationsLoaded(QJsonValue data);
    void evaluationAdded();
    void evaluationDeleted(int evaluationId);
    void failed(DescribeService::Request request, QString reason);
    void finished(DescribeService::Request request);

private:
    template <typename Accepted>
    void post(Request which, const QString &url, QVariantMap form, const QString &failureNotice, Accepted accepted);
};
