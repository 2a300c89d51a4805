// Listing photos: uploaded files kept as bytes and served back, the survey records of a
// listing with their photos and videos, the agent's own record, the photo set post, deletes,
// video uploads, VR views and the company watermark. Seeded records use small generated
// JPEGs, one per category, stored once.
#include "alliancestore.h"

#include <QBuffer>
#include <QColor>
#include <QCoreApplication>
#include <QDateTime>
#include <QGuiApplication>
#include <QImage>
#include <QJsonDocument>
#include <QPainter>
#include <QSqlError>
#include <QSqlQuery>

namespace Alliance {

namespace {

// Stored addresses start with a token for the server's own base address, which changes
// with the port: "{base}" for the upload host, "{local}" for the same server under the name
// "localhost" (a collected picture: not on the upload host).
const QString kBase = QStringLiteral("{base}");
const QString kLocal = QStringLiteral("{local}");

struct Category
{
    int type;
    const char *name;
    QRgb colour;
};

const QVector<Category> &categories()
{
    static const QVector<Category> list{{1, "户型图", qRgb(0, 177, 255)},  {2, "厨房图", qRgb(73, 200, 166)},
                                        {3, "客厅图", qRgb(160, 96, 188)}, {4, "卧室图", qRgb(249, 147, 63)},
                                        {5, "卫生间", qRgb(249, 66, 131)}, {6, "室外图", qRgb(253, 184, 0)},
                                        {0, "其他", qRgb(76, 168, 18)},    {8, "餐厅", qRgb(18, 170, 200)}};
    return list;
}

// A 320 x 240 picture in the category's colour with a frame and its number of bars; the
// category's name is drawn too when fonts are at hand (a GUI application).
QByteArray categoryJpeg(const Category &c, int index)
{
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(c.colour);
    QPainter p(&image);
    p.setPen(QPen(Qt::white, 6));
    p.drawRect(10, 10, 300, 220);
    for (int k = 0; k <= index; ++k)
        p.fillRect(24 + k * 34, 180, 24, 36, Qt::white);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QFont font = p.font();
        font.setPixelSize(40);
        p.setFont(font);
        p.drawText(QRect(0, 40, 320, 120), Qt::AlignCenter, QString::fromUtf8(c.name));
    }
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 80);
    return bytes;
}

bool run(QSqlQuery &q, const QString &sql, QString *error)
{
    if (q.exec(sql))
        return true;
    *error = q.lastError().text() + QStringLiteral(" in ") + sql;
    return false;
}

bool insertFile(QSqlQuery &q, const QByteArray &bytes, const QString &type, QString *error)
{
    q.prepare(QStringLiteral("insert into photofiles(type, bytes) values(?, ?)"));
    q.addBindValue(type);
    q.addBindValue(bytes);
    if (q.exec())
        return true;
    *error = q.lastError().text();
    return false;
}

// Listings 3, 23, 43, … carry an approved survey record with one photo of every category
// (the outside one collected from another host); 3, 43, 83, … also a second record
// awaiting review; 3, 63, 123, … a video on the approved record.
QStringList seedRecordStatements()
{
    const QString record = QStringLiteral(
        "insert into photorecords(houseid, phone, username, deptname, ms, state, xiezuoid) "
        "select id, userphone, author, deptname, lastms - %1, %2, id * 10 + %3 from house where id % %4 = 3");
    QStringList statements{record.arg(86400).arg(1).arg(1).arg(20), record.arg(3600).arg(0).arg(2).arg(40)};
    for (int k = 0; k < categories().size(); ++k) {
        const Category &c = categories().at(k);
        const QString host = c.type == 6 ? kLocal : kBase;
        statements << QStringLiteral("insert into recordphotos(recordid, url, type, title, pos) select id, "
                                     "'%1/files/photos/%2.jpg', %3, '%4', %5 from photorecords where state = 1")
                          .arg(host).arg(k + 1).arg(c.type).arg(QString::fromUtf8(c.name)).arg(k);
    }
    statements << QStringLiteral("insert into recordphotos(recordid, url, type, title, pos) select id, "
                                 "'%1/files/photos/3.jpg', 3, '客厅', 0 from photorecords where state = 0").arg(kBase)
               << QStringLiteral("insert into recordphotos(recordid, url, type, title, pos) select id, "
                                 "'%1/files/photos/1.jpg', 1, '户型', 1 from photorecords where state = 0").arg(kBase)
               << QStringLiteral("insert into recordvideos(recordid, url, cover, title, seen) select r.id, "
                                 "'%1/files/photos/%2.mp4', '%1/files/photos/3.jpg', '看房视频', 1 from photorecords r "
                                 "where r.state = 1 and r.houseid % 60 = 3").arg(kBase).arg(categories().size() + 1);
    return statements;
}

} // namespace

bool createPhotoTables(QSqlQuery &q, QString *error)
{
    for (const QString &sql :
         {QStringLiteral("create table photofiles(id integer primary key autoincrement, type text, bytes blob)"),
          QStringLiteral("create table photorecords(id integer primary key autoincrement, houseid integer, phone text, "
                         "username text, deptname text, ms integer, state integer, oa integer default 0, xiezuoid integer, "
                         "remark text default '')"),
          QStringLiteral("create index photorecords_house on photorecords(houseid)"),
          QStringLiteral("create table recordphotos(id integer primary key autoincrement, recordid integer, url text, "
                         "type integer, title text, pos integer)"),
          QStringLiteral("create table recordvideos(id integer primary key autoincrement, recordid integer, url text, "
                         "cover text, title text, seen integer default 0)")}) {
        if (!run(q, sql, error))
            return false;
    }
    return true;
}

bool seedPhotoRecords(QSqlQuery &q, QString *error)
{
    for (int k = 0; k < categories().size(); ++k) {
        if (!insertFile(q, categoryJpeg(categories().at(k), k), QStringLiteral("image/jpeg"), error))
            return false;
    }
    if (!insertFile(q, QByteArray("\x00\x00\x00\x18" "ftypmp42", 12), QStringLiteral("video/mp4"), error))
        return false;
    for (const QString &sql : seedRecordStatements()) {
        if (!run(q, sql, error))
            return false;
    }
    return true;
}

// The handlers of the photo paths, one per path.
struct PhotoRoutes
{
    static QString localBase(const Store &s)
    {
        QString local = s.m_baseUrl;
        return local.replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost"));
    }

    static QString resolve(const Store &s, QString url)
    {
        if (url.startsWith(kBase))
            return url.replace(0, kBase.size(), s.m_baseUrl);
        if (url.startsWith(kLocal))
            return url.replace(0, kLocal.size(), localBase(s));
        return url;
    }

    static QString stored(const Store &s, QString url)
    {
        if (!s.m_baseUrl.isEmpty() && url.startsWith(s.m_baseUrl))
            return url.replace(0, s.m_baseUrl.size(), kBase);
        const QString local = localBase(s);
        if (!local.isEmpty() && url.startsWith(local))
            return url.replace(0, local.size(), kLocal);
        return url;
    }

    // Keeps the uploaded bytes; the answer is the address that serves them.
    static qint64 storeFile(Store &s, const Form &form, const QString &fallbackType)
    {
        const QByteArray bytes = QByteArray::fromBase64(form.value(QStringLiteral("file.bytes")).toLatin1());
        QString type = form.value(QStringLiteral("file.type"));
        if (type.isEmpty() || type == QLatin1String("application/octet-stream"))
            type = fallbackType;
        QSqlQuery q(s.db());
        QString error;
        if (bytes.isEmpty() || !insertFile(q, bytes, type, &error))
            return 0;
        return q.lastInsertId().toLongLong();
    }

    static QString fileUrl(qint64 id, const QString &type)
    {
        const QString ext = type.contains(QLatin1String("png")) ? QStringLiteral("png")
                            : type.startsWith(QLatin1String("video")) ? QStringLiteral("mp4") : QStringLiteral("jpg");
        return QStringLiteral("%1/files/photos/%2.%3").arg(kBase).arg(id).arg(ext);
    }

    static Answer upload(Store &s, const Form &form, const User &)
    {
        const QString name = form.value(QStringLiteral("file"));
        const QString type = name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ? QStringLiteral("image/png")
                                                                                        : QStringLiteral("image/jpeg");
        const qint64 id = storeFile(s, form, type);
        if (id <= 0)
            return refusal(QStringLiteral("上传失败：没有收到文件"));
        // The plug-in's upload reads the address from the message; the data carries it too.
        const QString url = resolve(s, fileUrl(id, type));
        return fetched(QJsonObject{{"url", url}}, url);
    }

    static Answer serveFile(Store &s, const Form &form, const User &)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select bytes, type from photofiles where id = ?"));
        q.addBindValue(form.value(QStringLiteral("file")).toLongLong());
        Answer answer;
        answer.isRaw = true;
        if (!q.exec() || !q.next()) {
            answer.raw = "not found";
            answer.rawType = "text/plain";
            answer.code = 404;
            return answer;
        }
        answer.raw = q.value(0).toByteArray();
        answer.rawType = q.value(1).toString().toLatin1();
        return answer;
    }

    static Answer serveVr(Store &, const Form &form, const User &)
    {
        Answer answer;
        answer.isRaw = true;
        answer.rawType = "text/html; charset=utf-8";
        answer.raw = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>VR看房</title></head>"
                                    "<body><h1>VR看房</h1><p>房源 %1 的全景</p></body></html>")
                         .arg(form.value(QStringLiteral("file")).toLongLong()).toUtf8();
        return answer;
    }

    static QJsonArray photosOfRecord(Store &s, qint64 recordId)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select id, url, type, title from recordphotos where recordid = ? order by pos, id"));
        q.addBindValue(recordId);
        QJsonArray list;
        if (q.exec()) {
            while (q.next())
                list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"url", resolve(s, q.value(1).toString())},
                                        {"type", q.value(2).toInt()}, {"title", q.value(3).toString()}});
        }
        return list;
    }

    // A video reads "transcoding" in the first listing after its upload, ready afterwards.
    static QJsonArray videosOfRecord(Store &s, qint64 recordId)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select id, url, cover, title, seen from recordvideos where recordid = ? order by id"));
        q.addBindValue(recordId);
        QJsonArray list;
        if (q.exec()) {
            while (q.next())
                list.append(QJsonObject{{"id", q.value(0).toLongLong()}, {"url", resolve(s, q.value(1).toString())},
                                        {"cover", resolve(s, q.value(2).toString())}, {"title", q.value(3).toString()},
                                        {"status", q.value(4).toInt() ? 1 : 0}});
        }
        q.prepare(QStringLiteral("update recordvideos set seen = 1 where recordid = ?"));
        q.addBindValue(recordId);
        q.exec();
        return list;
    }

    static QJsonObject recordObject(Store &s, const QSqlQuery &q)
    {
        const qint64 id = q.value(0).toLongLong();
        return QJsonObject{{"id", id}, {"xiezuoid", q.value(1).toLongLong()}, {"username", q.value(2).toString()},
                           {"userphone", q.value(3).toString()}, {"deptname", q.value(4).toString()},
                           {"time", QDateTime::fromSecsSinceEpoch(q.value(5).toLongLong()).toString(QStringLiteral("yyyy-MM-dd HH:mm"))},
                           {"state", q.value(6).toInt()}, {"oa", q.value(7).toInt()}, {"remark", q.value(8).toString()},
                           {"photos", photosOfRecord(s, id)}, {"videos", videosOfRecord(s, id)}};
    }

    static Answer records(Store &s, const Form &form, const User &)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select id, xiezuoid, username, phone, deptname, ms, state, oa, remark from photorecords "
                                 "where houseid = ? order by ms desc, id desc"));
        q.addBindValue(formId(form, {"houseid", "id", "itemid"}));
        QJsonArray list;
        if (q.exec()) {
            while (q.next())
                list.append(recordObject(s, q));
        }
        return fetched(QJsonObject{{"list", list}});
    }

    static qint64 ownRecord(Store &s, qint64 houseId, const QString &phone)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select id from photorecords where houseid = ? and phone = ? order by ms desc, id desc limit 1"));
        q.addBindValue(houseId);
        q.addBindValue(phone);
        return q.exec() && q.next() ? q.value(0).toLongLong() : 0;
    }

    static Answer ownPhotos(Store &s, const Form &form, const User &u)
    {
        const qint64 id = ownRecord(s, formId(form, {"itemid", "houseid", "id"}), u.phone);
        return fetched(QJsonObject{{"id", id}, {"list", id > 0 ? photosOfRecord(s, id) : QJsonArray()}});
    }

    // The record a post edits: the one named when it is of this listing, else a new one of the user.
    static qint64 editedRecord(Store &s, qint64 houseId, const Form &form, const User &u, const QVariantMap &row)
    {
        const qint64 named = form.value(QStringLiteral("shikaneditid")).toLongLong();
        QSqlQuery q(s.db());
        if (named > 0) {
            q.prepare(QStringLiteral("select id from photorecords where id = ? and houseid = ?"));
            q.addBindValue(named);
            q.addBindValue(houseId);
            if (q.exec() && q.next())
                return named;
        }
        q.prepare(QStringLiteral("insert into photorecords(houseid, phone, username, deptname, ms, state, xiezuoid) "
                                 "values(?,?,?,?,?,0,?)"));
        for (const QVariant &v : QVariantList{houseId, u.phone, u.name, row.value(QStringLiteral("deptname")),
                                              QDateTime::currentSecsSinceEpoch(), houseId * 10 + 3})
            q.addBindValue(v);
        return q.exec() ? q.lastInsertId().toLongLong() : 0;
    }

    // The listing's photo column: the photos of its approved records, newest record first,
    // so the head photo leads.
    static void followListing(Store &s, qint64 houseId)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select p.url from recordphotos p join photorecords r on r.id = p.recordid "
                                 "where r.houseid = ? and r.state = 1 order by r.ms desc, r.id desc, p.pos, p.id"));
        q.addBindValue(houseId);
        QStringList urls;
        if (q.exec()) {
            while (q.next())
                urls << resolve(s, q.value(0).toString());
        }
        s.updateHouse(houseId, {{"photo", urls.join(QLatin1Char(','))}});
    }

    static void replacePhotos(Store &s, qint64 recordId, const Form &form)
    {
        const QStringList dels = form.value(QStringLiteral("photodels")).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QStringList delUrls = form.value(QStringLiteral("photodelurls")).split(QLatin1Char(','), Qt::SkipEmptyParts);
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("delete from recordphotos where recordid = ?"));
        q.addBindValue(recordId);
        q.exec();
        const QJsonArray photos = QJsonDocument::fromJson(form.value(QStringLiteral("photos")).toUtf8()).array();
        int pos = 0;
        for (const QJsonValue &v : photos) {
            const QJsonObject p = v.toObject();
            const QString url = p.value(QStringLiteral("url")).toString(v.toString());
            if (url.isEmpty() || delUrls.contains(url) || dels.contains(p.value(QStringLiteral("id")).toVariant().toString()))
                continue;
            q.prepare(QStringLiteral("insert into recordphotos(recordid, url, type, title, pos) values(?,?,?,?,?)"));
            for (const QVariant &value : QVariantList{recordId, stored(s, url), p.value(QStringLiteral("type")).toVariant().toInt(),
                                                      p.value(QStringLiteral("title")).toString(), pos++})
                q.addBindValue(value);
            q.exec();
        }
    }

    // The survey-review right: the joint-sale manager and the users with every right.
    static bool mayApprove(const User &u)
    {
        return u.manager || u.rights == User::Full;
    }

    static Answer addSet(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"houseid", "id", "itemid"});
        const QVariantMap row = s.houseRow(houseId);
        if (row.isEmpty())
            return refusal(QStringLiteral("房源不存在或已被删除"));
        const qint64 recordId = editedRecord(s, houseId, form, u, row);
        if (recordId <= 0)
            return refusal(QStringLiteral("保存房源图片失败"));
        replacePhotos(s, recordId, form);
        const bool pass = mayApprove(u);
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("update photorecords set state = ?, ms = ?, remark = '' where id = ?"));
        q.addBindValue(pass ? 1 : 0);
        q.addBindValue(QDateTime::currentSecsSinceEpoch());
        q.addBindValue(recordId);
        q.exec();
        followListing(s, houseId);
        return fetched(QJsonObject{{"id", recordId}, {"pass", pass ? 1 : 0}}, QStringLiteral("提交成功"));
    }

    static Answer remove(Store &s, const Form &form, const User &)
    {
        const qint64 recordId = form.value(QStringLiteral("shikaneditid")).toLongLong();
        const bool video = form.value(QStringLiteral("isvideo")).toInt() == 1;
        const QString url = stored(s, form.value(QStringLiteral("photoName")));
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("delete from %1 where recordid = ? and url = ?")
                      .arg(video ? QStringLiteral("recordvideos") : QStringLiteral("recordphotos")));
        q.addBindValue(recordId);
        q.addBindValue(url);
        q.exec();
        q.prepare(QStringLiteral("select houseid from photorecords where id = ?"));
        q.addBindValue(recordId);
        if (q.exec() && q.next())
            followListing(s, q.value(0).toLongLong());
        return fetched(QJsonObject(), QStringLiteral("删除成功"));
    }

    static Answer uploadVideo(Store &s, const Form &form, const User &u)
    {
        const qint64 houseId = formId(form, {"houseid", "id"});
        const QVariantMap row = s.houseRow(houseId);
        if (row.isEmpty())
            return refusal(QStringLiteral("房源不存在或已被删除"));
        const qint64 fileId = storeFile(s, form, QStringLiteral("video/mp4"));
        if (fileId <= 0)
            return refusal(QStringLiteral("上传失败：没有收到文件"));
        const qint64 recordId = editedRecord(s, houseId, form, u, row);
        const QString url = fileUrl(fileId, QStringLiteral("video/mp4"));
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("insert into recordvideos(recordid, url, cover, title, seen) values(?,?,'',?,0)"));
        q.addBindValue(recordId);
        q.addBindValue(url);
        q.addBindValue(form.value(QStringLiteral("title"), QStringLiteral("看房视频")));
        if (!q.exec())
            return refusal(QStringLiteral("上传失败"));
        return fetched(QJsonObject{{"id", q.lastInsertId().toLongLong()}, {"url", resolve(s, url)}, {"status", 0}},
                       QStringLiteral("上传成功"));
    }

    // Listings 3, 33, 63, … have a VR view.
    static Answer vrs(Store &s, const Form &form, const User &)
    {
        const qint64 houseId = formId(form, {"houseid", "id"});
        QJsonArray list;
        if (houseId % 30 == 3 && s.houseExists(houseId))
            list.append(QJsonObject{{"id", houseId}, {"url", QStringLiteral("%1/files/vr/%2.html").arg(s.m_baseUrl).arg(houseId)},
                                    {"cover", resolve(s, kBase + QStringLiteral("/files/photos/3.jpg"))},
                                    {"title", QStringLiteral("VR看房")}});
        return fetched(QJsonObject{{"list", list}});
    }

    static int photoCount(Store &s, qint64 houseId)
    {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral("select count(*), (select count(*) from recordphotos p join photorecords r on r.id = p.recordid "
                                 "where r.houseid = ? and r.state = 1) from photorecords where houseid = ?"));
        q.addBindValue(houseId);
        q.addBindValue(houseId);
        if (!q.exec() || !q.next() || q.value(0).toInt() == 0)
            return -1;
        return q.value(1).toInt();
    }

    static void addTo(RouteTable &t)
    {
        addRoutes(t, {{"app/upphoto", upload}, {"files/photos", serveFile}, {"files/vr", serveVr},
                      {"fd/HousePhotoNavigation", records}, {"fd/photonavigation", ownPhotos},
                      {"fd/hbpictureadd", addSet}, {"fd/hbpicturedel", remove}, {"fd/hbvoddel", remove},
                      {"fd/uploadvod", uploadVideo}, {"house/vr/VRContent", vrs},
                      {"Propaganda/WatermarkDetail", [](Store &, const Form &, const User &) {
                           return fetched(QJsonObject{{"platform", QStringLiteral("合肥房产联卖联盟")}, {"imagestyle", 1}});
                       }}});
    }
};

void addPhotoRoutes(RouteTable &table)
{
    PhotoRoutes::addTo(table);
}

void followListingPhotos(Store &store, qint64 houseId)
{
    PhotoRoutes::followListing(store, houseId);
}

QString servedPhotoUrl(const Store &store, const QString &stored)
{
    return PhotoRoutes::resolve(store, stored);
}

// The photos of the listing's approved records; -1 when it has no survey record.
int recordPhotoCount(Store &store, qint64 houseId)
{
    return PhotoRoutes::photoCount(store, houseId);
}

} // namespace Alliance
