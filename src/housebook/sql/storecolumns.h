#pragma once
// The columns of the local listing and community tables as "name type" items, in table order.
// The plug-in creates and upgrades its tables from these lists, and the alliance server
// simulator serves records with exactly these fields.

namespace StoreColumns {

inline constexpr char kHouse[] =
    "id int,types int,userphone varchar,mycommunityid int,name varchar,buildingNo varchar,"
    "roomNo varchar,district varchar,area varchar,address varchar,author varchar,room int,"
    "hall int,floors int,allfloors int,price float,unitprice int,builtuparea float,"
    "primaryschool varchar,middleschool varchar,contacts varchar,renovation varchar,"
    "property varchar,housetype varchar,remark varchar,remarkshow int,tags varchar,"
    "follows varchar,followtime varchar,toward varchar,havekeys int,keys varchar,"
    "seetime varchar,ruzhutime varchar,source varchar,payway varchar,rentway varchar,"
    "peitao varchar,traffic varchar,createtime varchar,lasttime varchar,photo varchar,"
    "attribute varchar,havegarage int,garage varchar,propertyquan varchar,state varchar,"
    "hutype varchar,companyid int,sf int,stype int,housestatus int,unitNo varchar,"
    "storeid int,storename varchar,vrurl varchar,zuunit varchar,tongbu varchar,title varchar,"
    "describes varchar,describespicture varchar,quanjing varchar,huxingwei int,istop int,"
    "suopan int,fengpan int,hbdujia int,jindu int,lururen varchar,weihuren varchar,"
    "weituoren varchar,shikanren varchar,yaoshiren varchar,dujiaren varchar,"
    "chengjiaoren varchar,havevideo int,roomid int,dongid int,unitid int,newstate varchar,"
    "balcony int,kitchen int,anxuan int,danyuanunit varchar,dongunit varchar,cityid int,"
    "deptid int,deptname varchar,companyname varchar,shenhestatus int,aboutid int,"
    "fbcompanyid int,yinsifangwen int,heyan varchar,phonerange varchar,realuserphone varchar,"
    "isdel int";

inline constexpr char kCommunity[] =
    "id int,companyid int,name varchar,district int,districtname varchar,areaid int,"
    "areaname varchar,othrename varchar,address varchar,pinyin varchar,lng varchar,"
    "lat varchar,years varchar,green varchar,primaryschool varchar,middleschool varchar,"
    "buildingtype varchar,propertyfee varchar,propertycompany varchar,"
    "buildingcompany varchar,buildingcount varchar,housecount varchar,picture varchar,"
    "price varchar,createtime varchar,lasttime varchar,building varchar,complete varchar,"
    "remark varchar,panid varchar,cityid int";

} // namespace StoreColumns
