#pragma once
// The records of the separation (team cooperation) pages as the servers hand them out: one
// role row of a listing, the details of one role entry, and one report against a holder.
// Readers accept any reply shape: numbers may come as text, lists as objects, keys may be
// missing; what is unknown stays empty or 0.
#include "sql/housemessage_datasqltable.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QStringList>
#include <QList>
#include <QString>
#include <QVariantMap>

namespace HouseBookSeperateList_Model {

// Role kinds in the order the rows are shown.
enum Type { LuRu = 0, WeiHu = 1, WeiTuo = 2, ShiKan = 3, YaoShi = 4, DuJia = 5, ChengJiao = 6 };

// Review states of an entry.
enum State { NoState = 0, Waiting = 1, Approved = 2, Refused = 3 };

struct Info
{
    QString name;
    QString store;
    QString head;     // head photo address
    QString userId;   // the holder's user id ("" when nobody holds the role)
};

struct DetailInfo
{
    QString heyancode;
    QString weituocode;
    QString sp_id;    // office approval record; "" or "0" when there is none
};

struct ItemData
{
    QString id;       // role entry id; "" or "0" when the role never had an entry
    int type = 0;
    QString title;
    int state = 0;
    QString phone;
    QString deptid;
    Info info;
    QString remark;
    bool own = false;
    DetailInfo detailinfo;

    bool hasHolder() const { return !phone.isEmpty() || !info.name.isEmpty(); }
    bool hasEntry() const { return !id.isEmpty() && id != QLatin1String("0"); }
    bool inOfficeApproval() const { return !detailinfo.sp_id.isEmpty() && detailinfo.sp_id != QLatin1String("0"); }
    // The role's name: "录入人" … "成交人".
    QString roleName() const;
};

ItemData fromJson(const QJsonObject &row);
// The rows of a fd/LianmaiPosts reply (`data` as a list, or an object holding `list`).
QList<ItemData> listFromJson(const QJsonValue &data);
QString roleName(int type);

// Whether a listing's work is separated among role holders at all: private and special
// listings (sf, stype set) are not.
bool listingTakesPart(const HouseMessage_DataSqlTable::HouseMessageData &listing);

} // namespace HouseBookSeperateList_Model

namespace HouseBookSeperateDetail_Model {

struct Pdf
{
    QString name;
    QString url;
};

struct DetailInfo
{
    QString sp_id;
    QString heyancode;
    QString weituocode;
    QString heyanren;   // the verifier's name
    QString keycode;
    QString shoudate;
    QString deptName;
    QString housecernum;   // deed number
    QString hostcernum;    // owner's identity number
};

struct Data
{
    QString id;
    QString author;
    QString time;
    int state = 0;
    QString remark;
    int type = 0;
    // Photo groups by key (contract, fangchanzheng, shenfenzheng_zhenmian,
    // shenfenzheng_fanmian, weituoshu, hostcernum, housecernum, other): the photo addresses.
    QMap<QString, QStringList> picturecontent;
    QString endtime;
    QString contractid;
    QString contractNo;
    QList<Pdf> pdf;
    DetailInfo detailinfo;

    bool isEmpty() const;
};

Data fromJson(const QJsonValue &data);

} // namespace HouseBookSeperateDetail_Model

namespace HighSeperateReportList_Model {

// Review judgements of a report (also its `state` once reviewed).
enum Judgement { Pending = 0, Upheld = 1, Rework = 2, Rejected = 3 };
// The list's status filter.
enum Status { Reviewed = 1, Waiting = 0, All = 2 };

struct House
{
    QString id;
    QString title;
    QString photo;
    QString video;
    QString time;
    QString username;
    QString userdept;
};

// The reported role entry.
struct Sh
{
    QString id;
    QString xiezuoid;
    int state = 0;
    QString userid;
    QString userdeptId;
    QString username;
    QString userdept;
    QString userPhone;
    QString time;
    QString shenpi_id;
    QString data;
};

struct ItemData
{
    QString id;
    int state = 0;
    QString itemid;
    QString content;
    QString author;
    QString authorId;   // the reporter's user id
    QString time;
    QString shenpiren;
    QString shenpitime;
    QString fdstepname;
    int days = 0;
    House house;
    Sh sh;

    // "待处理", "举报属实", "限期返工(3天内)" or "驳回".
    QString stateText() const;
};

ItemData fromJson(const QJsonObject &row);

struct Page
{
    int total = 0;
    QList<ItemData> items;
};

// {total, data: [...]} (data may also be an object holding `list`).
Page pageFromJson(const QJsonValue &data);

} // namespace HighSeperateReportList_Model
