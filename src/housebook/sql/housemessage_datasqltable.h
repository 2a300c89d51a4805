#pragma once
// The local copy of the listing book: the house table of the company database (its own file
// for the alliance's book), its records, and the filtered, sorted and paged queries pages run.
// Text columns are stored scrambled (see HouseRecord); the sync writes whole pages of server
// records in one transaction and moves the sync mark with them.
#include "sql/basesqlobject.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

struct HouseQuery;
class HousePermission;
class HouseBookSet_SqlTable;

class HouseMessage_DataSqlTable : public BaseSqlObject
{
    Q_OBJECT
public:
    // One holder of a collaboration role on a listing.
    struct XieZuoItemData
    {
        QString name;
        QString phone;
        bool review = false;  // the role has been approved
        QVariantMap data;     // the whole person object as received
    };

    // One listing: every stored column of the house table plus isread, islike and days.
    struct HouseMessageData
    {
        int id = 0;  // 0 or less: no listing
        int types = 0;  // 0 sale, 1 rent
        QString userphone;
        int mycommunityid = 0;
        QString name;
        QString buildingNo;
        int roomid = 0;
        int dongid = 0;
        int unitid = 0;
        QString roomNo;
        QString district;
        QString area;
        QString address;
        QString author;
        int room = 0;
        int hall = 0;
        int huxingwei = 0;
        int balcony = 0;
        int kitchen = 0;
        int floors = 0;
        int allfloors = 0;
        double price = 0;
        int unitprice = 0;
        double builtuparea = 0;
        QString primaryschool;
        QString middleschool;
        QString contacts;
        QString renovation;
        QString property;
        QString housetype;
        QString remark;
        int remarkshow = 0;
        QString tags;
        QString follows;
        QString followtime;
        QString toward;
        int havekeys = 0;
        QString keys;
        QString seetime;
        QString ruzhutime;
        QString source;
        QString payway;
        QString rentway;
        QString peitao;
        QString traffic;
        QString createtime;
        QString lasttime;
        QString photo;
        int isdel = 0;
        QString attribute;
        int havegarage = 0;
        QString garage;
        int islike = 0;
        int isread = 0;
        QString propertyquan;
        QString newstate;
        QString hutype;
        int companyid = 0;
        int sf = 0;
        int stype = 0;
        int housestatus = 0;  // 0 pending, 1 active
        QString unitNo;
        int deptid = 0;
        QString deptname;
        QString vrurl;
        QString zuunit;
        QString tongbu;
        QString title;
        QString describes;
        QList<QVariantMap> describespicture;
        QString quanjing;
        int istop = 0;
        int suopan = 0;
        int fengpan = 0;
        int hbdujia = 0;
        int jindu = 0;
        XieZuoItemData lururen;
        XieZuoItemData weihuren;
        XieZuoItemData weituoren;
        XieZuoItemData shikanren;
        XieZuoItemData yaoshiren;
        XieZuoItemData dujiaren;
        XieZuoItemData chengjiaoren;
        bool havevideo = false;
        bool anxuan = false;
        QString danyuanunit;
        QString dongunit;
        int cityid = 0;
        int days = 0;  // filled by the maintainer worklist
        QString companyname;
        int fbcompanyid = 0;
        int shenhestatus = 0;  // 1 awaiting review
        int aboutid = 0;
        int yinsifangwen = 0;
        // The verification object kept in heyan.
        QString heyanCode;
        QString heyanState;
        QString heyanExpires;
        QString heyanShowState;
        QString phonerange;
        QString realuserphone;
    };

    // Creates the table and its indexes when they are missing.
    HouseMessage_DataSqlTable(QObject *parent, bool isJointSale);
    ~HouseMessage_DataSqlTable() override;

    static QString table() { return QStringLiteral("house"); }
    // "create table house(id int unique,types int,...)" of the required columns.
    static QString createSql();

    // One page of a query: unscrambled, masked, with isread and islike set. Empty without a
    // signed-in user or when the statement fails (queryFailed() tells which).
    QList<HouseMessageData> getHouseList(const HouseQuery &query);
    // The number of listings matching the query ("select count(*) from %1 %2").
    int getHouseCount(const HouseQuery &query);
    // One listing by id; id 0 when there is none.
    HouseMessageData getHouseData(int id);
    // A query of this object has failed (logged); pages make one object per load.
    bool queryFailed() const { return m_queryFailed; }
    // Whether book pages may be read in the order of the sort indexes, which are then created
    // with the table's other indexes (the default). Off: neither, as in versions before them;
    // the benchmarks compare both. Process-wide; set it before the table objects are made.
    static void setSortIndexes(bool on);
    // Builds the indexes the table lacks, on this thread's connection; false when one failed.
    // Slow on a large book that lacks them: the sync worker calls it after a sync's last page.
    bool createMissingIndexes();
    // At the start of a sync into an empty book: drops the secondary indexes, to be built by
    // createMissingIndexes() after the last page, and keeps table objects from building them
    // before. False (nothing done) when the book holds a listing.
    bool deferIndexesOfEmptyBook();
    // A sync that deferred them ended without its last page: table objects may build them again.
    static void endIndexDeferral();
    // Largest book (by rowid) whose missing indexes are built when a table object is made;
    // 20,000 unless changed. For tests.
    static void setInlineIndexRows(int rows);
    static QStringList sortIndexNames();
    // The statements the two queries run, as executed (for diagnostics and comparisons).
    QString listStatement(const HouseQuery &query);
    QString countStatement(const HouseQuery &query);

    // The maintainer worklist: listings joined with weihu_house, ordered by the query's sort
    // key ("days": the term) and direction, each with its days.
    QList<HouseMessageData> weihuHouseList(const HouseQuery &query);
    int weihuHouseCount(const HouseQuery &query);

    // Stores server records (replenish merged, text scrambled) with "replace into", all in one
    // transaction. moveTimeMark: the newest lasttime of the written records moves
    // lastupdatatime of company_config forward, in the same transaction. Returns the number
    // of records written; -1 when nothing could be written.
    int insertOrReplaceHouses(const QList<QVariantMap> &records, bool moveTimeMark = true);
    // One column of one listing; value in clear, stored in the column's form.
    bool updateHouseColumn(int id, const QString &column, const QVariant &value);
    // The named columns of the listings in records (each with its id), in one transaction.
    bool updateHouseColumns(const QList<QVariantMap> &records, const QStringList &columns);
    bool deleteHouse(int id);
    // Ids that are not numbers are ignored.
    bool deleteHouses(const QStringList &ids);

private:
    void ensureSchema();
    bool readsInIndexOrder(const HouseQuery &query);
    QString whereOf(const HouseQuery &query, HousePermission &permission, HouseBookSet_SqlTable &settings,
                    const QString &idColumn);
    QString listSql(const HouseQuery &query, HousePermission &permission, HouseBookSet_SqlTable &settings);
    QString countSql(const HouseQuery &query, HousePermission &permission, HouseBookSet_SqlTable &settings);
    QList<QVariantMap> fetchRows(const QString &sql, const char *purpose);
    int fetchCount(const QString &sql, const char *purpose);
    QList<HouseMessageData> toRecords(QList<QVariantMap> rows, HousePermission &permission,
                                      HouseBookSet_SqlTable &settings);

    bool m_hasCommunityTable = false;
    bool m_indexesComplete = false;  // every index present when ensureSchema looked
    bool m_queryFailed = false;
};

Q_DECLARE_METATYPE(HouseMessage_DataSqlTable::XieZuoItemData)
Q_DECLARE_METATYPE(HouseMessage_DataSqlTable::HouseMessageData)
