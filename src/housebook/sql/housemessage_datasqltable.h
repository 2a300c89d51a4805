#pragma once
// The listing record of the local house table and its role holders.
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

class HouseMessage_DataSqlTable
{
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
};

Q_DECLARE_METATYPE(HouseMessage_DataSqlTable::XieZuoItemData)
Q_DECLARE_METATYPE(HouseMessage_DataSqlTable::HouseMessageData)
