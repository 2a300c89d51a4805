#pragma once
// The local copy of the communities (residential estates) in the company database: stored in
// clear, written by the sync a page at a time, searched by the community choosers.
#include "sql/basesqlobject.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class CommunityMessage_DataSqlTable : public BaseSqlObject
{
    Q_OBJECT
public:
    // One community: a member for each column.
    struct ListData
    {
        int id = 0;
        int companyid = 0;
        QString name;
        int district = 0;
        QString districtname;
        int areaid = 0;
        QString areaname;
        QString othrename;  // other names
        QString address;
        QString pinyin;
        QString lng;
        QString lat;
        QString years;
        QString green;
        QString primaryschool;
        QString middleschool;
        QString buildingtype;
        QString propertyfee;
        QString propertycompany;
        QString buildingcompany;
        QString buildingcount;
        QString housecount;
        QString picture;
        QString price;
        QString createtime;
        QString lasttime;
        QString building;  // JSON tree of buildings (see buildings())
        QString complete;
        QString remark;
        QString panid;
        int cityid = 0;
    };

    // Creates the table when it is missing.
    CommunityMessage_DataSqlTable(QObject *parent, bool isJointSale);

    static QString table() { return QStringLiteral("community"); }
    static QString createSql();
    // Only the keys present in the row are copied.
    static ListData toListData(const QVariantMap &row);

    // Search keys: keyWord (part of the name, other name or pinyin), name (a whole name, other
    // name, address or pinyin), districtname, areaname, price_up / price_down, primaryschool,
    // middleschool, id, ids (comma list) and houseKind (my_rent_house, store_rent_house,
    // my_sale_house, store_sale_house: communities with such listings). Texts are searched as
    // SqlLiteral::text() gives them; one of which nothing storable is left matches nothing.
    QString whereClause(const QVariantMap &search);
    // Newest first; pageSize 0 or less: every match.
    QList<ListData> getCommunityList(const QVariantMap &search, int page = 1, int pageSize = 100,
                                     const QStringList &fields = QStringList());
    int getCommunityCount(const QVariantMap &search);
    // A query of this object has failed (logged); an empty list is then no answer.
    bool queryFailed() const { return m_queryFailed; }
    // id 0 when there is none.
    ListData getCommunityData(int id);

    // Stores server records with "replace into" in one transaction; moveTimeMark: the newest
    // lasttime moves community_lastupdatatime forward in the same transaction. Returns the
    // number written, -1 when nothing could be written.
    int insertOrReplaceCommunities(const QList<QVariantMap> &records, bool moveTimeMark = true);
    // The named columns of the communities in records (each with its id).
    bool updateCommunities(const QList<QVariantMap> &records, const QStringList &columns);
    // Ids that are not numbers are ignored.
    bool deleteCommunities(const QStringList &ids);

    // The buildings of a community: nodes {name, lng, lat, unit, children} decoded from
    // `building`; empty when it holds no JSON list.
    QVariantList buildings(int communityId);

private:
    QString kindClause(const QString &kind) const;
    QList<QVariantMap> rows(const QString &sql, const char *purpose);

    bool m_queryFailed = false;
};

Q_DECLARE_METATYPE(CommunityMessage_DataSqlTable::ListData)
