#pragma once
// The photo side of a listing: its survey records with photos and videos, the photos of the
// agent's own survey record, the company's survey standard, the photo set post, VR views and
// the watermark. Each call posts one form and answers with one signal; a refusal or a lost
// connection has been shown by the request object and ends in failed(); every call ends
// with finished().
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace HouseBookPhotos_Model {

// Photo categories of a listing (the `type` of a photo).
enum Category { Other = 0, FloorPlan = 1, Kitchen = 2, LivingRoom = 3, Bedroom = 4, Bathroom = 5,
                Outside = 6, DiningRoom = 8 };

struct Photo
{
    QString id;
    QString url;
    int type = Other;
    QString title;
};

struct Video
{
    QString id;
    QString url;
    QString cover;
    QString title;
    bool ready = false; // false while the server is still transcoding it
};

// One survey record of a listing: who took the photos, its review state, its photos and videos.
struct DataItem
{
    QString id;       // the record (sent as shikaneditid / shikanid)
    QString xiezuoid; // the survey role entry
    QString username;
    QString userphone;
    QString deptname;
    QString time;
    int state = 0;    // 0 awaiting review, 1 approved, 2 rejected
    bool oa = false;  // awaiting the office approval flow
    QList<Photo> photos;
    QList<Video> videos;
};

struct StandardEntry
{
    int type = 0;
    int count = 0;
    bool choose = false;
};

struct Standard
{
    QList<StandardEntry> entries;
    QString shikancontent;
};

} // namespace HouseBookPhotos_Model

class PhotoService : public QObject
{
    Q_OBJECT
public:
    enum Request { Records, OwnPhotos, Standard, SubmitSet, Vrs, Watermark };
    Q_ENUM(Request)

    explicit PhotoService(QObject *parent = nullptr);

    // Reply readers (any shape accepted).
    static QList<HouseBookPhotos_Model::DataItem> recordsOf(const QJsonValue &data);
    static HouseBookPhotos_Model::Standard standardOf(const QJsonValue &data);
    static QList<HouseBookPhotos_Model::Photo> photosOf(const QJsonValue &data);

    void loadRecords(int houseId);        // fd/HousePhotoNavigation
    void loadOwnPhotos(int houseId);      // fd/photonavigation
    void loadStandard();                  // fd/getfendanguize
    void loadVrs(int houseId, bool rent); // house/vr/VRContent
    void loadWatermark();                 // Propaganda/WatermarkDetail
    // fd/hbpictureadd; form: houseid, xiaoquname, shikan, shikaneditid, pass, photos, photodels,
    // photodelurls (lianmai is added here).
    void submitSet(const QVariantMap &form);

    // Tolerant field readers shared by the pages: ids and numbers as text or numbers.
    static QString textOf(const QJsonValue &value);
    static int numberOf(const QJsonValue &value, int fallback = 0);
    // The entries of a list sent as an array, as an object of entries or under "list".
    static QList<QJsonValue> entriesOf(const QJsonValue &value);
    // An object sent as such or as JSON text; anything else reads as empty.
    static QJsonObject objectOf(const QJsonValue &value);

signals:
    void recordsArrived(const QList<HouseBookPhotos_Model::DataItem> &records);
    // The agent's own record id (0: none yet) and its stored photos.
    void ownPhotosArrived(const QString &recordId, const QList<HouseBookPhotos_Model::Photo> &photos);
    void standardArrived(const HouseBookPhotos_Model::Standard &standard);
    void vrsArrived(const QList<HouseBookPhotos_Model::Video> &vrs);
    void watermarkArrived(const QString &platform, int imagestyle);
    // passed: the server approved the set itself.
    void setSubmitted(bool passed);
    void failed(PhotoService::Request request, const QString &message);
    void finished(PhotoService::Request request);

private:
    template <typename Accepted>
    void post(Request kind, const QString &url, QVariantMap form, const QString &failureNotice, Accepted accepted);
};

Q_DECLARE_METATYPE(HouseBookPhotos_Model::DataItem)
Q_DECLARE_METATYPE(HouseBookPhotos_Model::Photo)
