#pragma once

#include <QString>
#include <QtCore/qcontainerfwd.h>

class ServerConfig;

// Every server address the module talks to, one process-wide constant each.
// An address is one of six roots (scheme, host, trailing "/") followed
// directly by a relative path; pages and the local store never assemble
// addresses themselves, they hand one of these to the request object.
//
// The list below is the only place the endpoints are written down:
// X(root member, endpoint member, relative path). The endpoint member is the
// path with "/" and "." replaced by "_".
#define HOUSEBOOK_ENDPOINT_TABLE(X) \
    /* ---- Application server ---- */ \
    /* Local-store sync and reference data */ \
    X(appRoot, account_initialize, "account/initialize") \
    X(appRoot, app_LianmaiSyncHousebook, "app/LianmaiSyncHousebook") \
    X(appRoot, app_SyncHousebookDetail, "app/SyncHousebookDetail") \
    X(appRoot, app_getclientbookbconfig, "app/getclientbookbconfig") \
    X(appRoot, app_getclientbookconfig, "app/getclientbookconfig") \
    X(appRoot, app_getdistric, "app/getdistric") \
    X(appRoot, app_gethousebookcategory, "app/gethousebookcategory") \
    X(appRoot, app_gethousebookconfig, "app/gethousebookconfig") \
    X(appRoot, app_getpublicofferconfig, "app/getpublicofferconfig") \
    X(appRoot, app_scontractSetting, "app/scontractSetting") \
    X(appRoot, app_scontractrentsetting, "app/scontractrentsetting") \
    X(appRoot, app_synchouseInfo, "app/synchouseInfo") \
    X(appRoot, app_synchousebook, "app/synchousebook") \
    X(appRoot, call_getsetting, "call/getsetting") \
    X(appRoot, fd_GetRentFendanguize, "fd/GetRentFendanguize") \
    X(appRoot, fd_getfendanguize, "fd/getfendanguize") \
    X(appRoot, publics_housecategory, "publics/housecategory") \
    X(appRoot, workcenter_currentauth, "workcenter/currentauth") \
    X(appRoot, workcenter_jobposts, "workcenter/jobposts") \
    /* Listing entry */ \
    X(appRoot, fd_HouseAdd, "fd/HouseAdd") \
    X(appRoot, fd_HouseEidt, "fd/HouseEidt") \
    X(appRoot, fd_HouseShenhe, "fd/HouseShenhe") \
    X(appRoot, fd_HouseBohui, "fd/HouseBohui") \
    X(appRoot, app_housebookcheck, "app/housebookcheck") \
    /* List page and worklists */ \
    X(appRoot, app_housebookdel, "app/housebookdel") \
    X(appRoot, app_housebooknewstate, "app/housebooknewstate") \
    X(appRoot, app_houseshuxing, "app/houseshuxing") \
    X(appRoot, app_HouseMaintain, "app/HouseMaintain") \
    X(appRoot, app_clearhistory, "app/clearhistory") \
    X(appRoot, app_housepromptdelete, "app/housepromptdelete") \
    X(appRoot, app_messagepromptadd, "app/messagepromptadd") \
    X(appRoot, app_messagepromptposts, "app/messagepromptposts") \
    /* Detail window */ \
    X(appRoot, app_addviews, "app/addviews") \
    X(appRoot, app_addgenjinlimt, "app/addgenjinlimt") \
    X(appRoot, app_cleargenjinlimt, "app/cleargenjinlimt") \
    X(appRoot, app_collection, "app/collection") \
    X(appRoot, app_housebookdetailInfo, "app/housebookdetailInfo") \
    X(appRoot, app_housebookzhuangongpan, "app/housebookzhuangongpan") \
    X(appRoot, app_showphone, "app/showphone") \
    X(appRoot, app_LianmaiHouseFenpei, "app/LianmaiHouseFenpei") \
    X(appRoot, fd_Changeoperator, "fd/Changeoperator") \
    X(appRoot, fd_JieChu, "fd/JieChu") \
    X(appRoot, fd_ShikanShenpi, "fd/ShikanShenpi") \
    X(appRoot, fd_hbpicturedel, "fd/hbpicturedel") \
    X(appRoot, fd_hbvoddel, "fd/hbvoddel") \
    X(appRoot, fd_uploadvod, "fd/uploadvod") \
    X(appRoot, map_residence_html, "map/residence.html") \
    X(appRoot, call_player_html, "call/player.html") \
    /* Follow-ups, tags and calls */ \
    X(appRoot, app_LianmaiFollowPosts, "app/LianmaiFollowPosts") \
    X(appRoot, app_followadd, "app/followadd") \
    X(appRoot, app_followdel, "app/followdel") \
    X(appRoot, app_followposts, "app/followposts") \
    X(appRoot, app_modifyrecord, "app/modifyrecord") \
    X(appRoot, app_addtag, "app/addtag") \
    X(appRoot, app_deltag, "app/deltag") \
    X(appRoot, app_gettag, "app/gettag") \
    X(appRoot, call_followcall, "call/followcall") \
    X(appRoot, call_getrecordfileX, "call/getrecordfileX") \
    X(appRoot, call_recordhidden, "call/recordhidden") \
    /* Photos */ \
    X(appRoot, fd_hbpictureadd, "fd/hbpictureadd") \
    X(appRoot, fd_photonavigation, "fd/photonavigation") \
    X(appRoot, fd_HousePhotoNavigation, "fd/HousePhotoNavigation") \
    /* Descriptions and evaluation */ \
    X(appRoot, app_housebookeditdes, "app/housebookeditdes") \
    X(appRoot, app_housepjadd, "app/housepjadd") \
    X(appRoot, app_housepjdel, "app/housepjdel") \
    X(appRoot, app_housepjposts, "app/housepjposts") \
    X(appRoot, app_updatehousebookvr, "app/updatehousebookvr") \
    X(appRoot, anxuan_gethousetag, "anxuan/gethousetag") \
    X(appRoot, call_LianmaiGetPhoneV2, "call/LianmaiGetPhoneV2") \
    X(appRoot, housebook2_housebookdesdetail, "housebook2/housebookdesdetail") \
    X(appRoot, housebook2_housebookeditdes, "housebook2/housebookeditdes") \
    /* Separation records */ \
    X(appRoot, app_LianmaiScontractPosts, "app/LianmaiScontractPosts") \
    X(appRoot, app_LianmaiScontractRentPosts, "app/LianmaiScontractRentPosts") \
    X(appRoot, fd_Jubao, "fd/Jubao") \
    X(appRoot, fd_LianmaiChangeWeihuren, "fd/LianmaiChangeWeihuren") \
    X(appRoot, fd_LianmaiPosts, "fd/LianmaiPosts") \
    X(appRoot, fd_fendanrecord, "fd/fendanrecord") \
    X(appRoot, fd_hbaddkey, "fd/hbaddkey") \
    X(appRoot, fd_hbchengjiao, "fd/hbchengjiao") \
    X(appRoot, fd_hbdujia, "fd/hbdujia") \
    X(appRoot, fd_hbfendandetail, "fd/hbfendandetail") \
    X(appRoot, fd_hbweihuren, "fd/hbweihuren") \
    X(appRoot, fd_hbweituo, "fd/hbweituo") \
    X(appRoot, fd_shenpi, "fd/shenpi") \
    X(appRoot, itcontract_LianmaiPosts, "itcontract/LianmaiPosts") \
    /* Reports */ \
    X(appRoot, fd_jubaoDownload, "fd/jubaoDownload") \
    X(appRoot, fd_jubaoposts, "fd/jubaoposts") \
    X(appRoot, fd_jubaoshenpi, "fd/jubaoshenpi") \
    /* Settings and permissions */ \
    X(appRoot, app_housebookconfig, "app/housebookconfig") \
    X(appRoot, app_sethousebookcategory, "app/sethousebookcategory") \
    X(appRoot, fd_fendanguize, "fd/fendanguize") \
    X(appRoot, workcenter_jobauthInfo, "workcenter/jobauthInfo") \
    X(appRoot, workcenter_jobedit, "workcenter/jobedit") \
    /* Portal push */ \
    X(appRoot, app_housebooktongbu, "app/housebooktongbu") \
    X(appRoot, fd_getHouseVod, "fd/getHouseVod") \
    /* Material houses */ \
    X(appRoot, zb_posts, "zb/posts") \
    X(appRoot, zb_detail, "zb/detail") \
    X(appRoot, zb_singleadd, "zb/singleadd") \
    X(appRoot, zb_modify, "zb/modify") \
    X(appRoot, zb_delete, "zb/delete") \
    X(appRoot, zb_excelAddfile, "zb/excelAddfile") \
    X(appRoot, zb_recordposts, "zb/recordposts") \
    X(appRoot, zb_recordmodify, "zb/recordmodify") \
    X(appRoot, app_hcheckaccount, "app/hcheckaccount") \
    X(appRoot, app_hcheckphone, "app/hcheckphone") \
    X(appRoot, cloud_quickuadd, "cloud/quickuadd") \
    X(appRoot, map_search_html, "map/search.html") \
    /* Common widgets */ \
    X(appRoot, call_getcompanyrecordfilex, "call/getcompanyrecordfilex") \
    X(appRoot, publics_updateinfot, "publics/updateinfot") \
    /* ---- Organisation and building-data server ---- */ \
    /* Department trees (alliance, own company), staff, start-up checks */ \
    X(softRoot, lmai_lwpV2, "lmai/lwpV2") \
    X(softRoot, lmai_dept_lwpSub, "lmai/dept/lwpSub") \
    X(softRoot, omp_lwpV2, "omp/lwpV2") \
    X(softRoot, omp_dept_lwpSub, "omp/dept/lwpSub") \
    X(softRoot, lmai_user_info, "lmai/user/info") \
    X(softRoot, omp_emp_dept_staff_info, "omp/emp/dept_staff_info") \
    X(softRoot, softpack_basePcAppPosts, "softpack/basePcAppPosts") \
    X(softRoot, hbook_checkhousedb, "hbook/checkhousedb") \
    X(softRoot, community_search_range, "community/search/range") \
    /* Communities, buildings, units and rooms */ \
    X(softRoot, house_xiaoqu_search, "house/xiaoqu/search") \
    X(softRoot, house_jinggeng_loudongInfo, "house/jinggeng/loudongInfo") \
    X(softRoot, house_jinggeng_unitInfo, "house/jinggeng/unitInfo") \
    X(softRoot, house_jinggeng_danyuanInfo, "house/jinggeng/danyuanInfo") \
    X(softRoot, house_jinggeng_RoomDetail, "house/jinggeng/RoomDetail") \
    X(softRoot, house_jinggeng_getLocks, "house/jinggeng/getLocks") \
    /* Schools */ \
    X(softRoot, house_schoolSearch, "house/schoolSearch") \
    X(softRoot, house_search_schoolRelation, "house/search/schoolRelation") \
    /* Viewings, watermark, VR and promotion data */ \
    X(softRoot, client_house_daikan_posts, "client/house_daikan_posts") \
    X(softRoot, Propaganda_WatermarkDetail, "Propaganda/WatermarkDetail") \
    X(softRoot, house_vr_VRContent, "house/vr/VRContent") \
    X(softRoot, search_xinfuli_info, "search/xinfuli/info") \
    X(softRoot, xinfuli_getCompanyPromotion, "xinfuli/getCompanyPromotion") \
    /* ---- Portal exchange server ---- */ \
    X(webRoot, Wubapush_datahouse, "Wubapush/datahouse") \
    X(webRoot, Wubapush_dataxiaoqu, "Wubapush/dataxiaoqu") \
    X(webRoot, Wubapush_housestatus, "Wubapush/housestatus") \
    X(webRoot, Wubapush_delclaimhouse, "Wubapush/delclaimhouse") \
    X(webRoot, Wubapush_addhousevideo, "Wubapush/addhousevideo") \
    X(webRoot, VtApp_houseimport, "VtApp/houseimport") \
    X(webRoot, VtApp_houserecord, "VtApp/houserecord") \
    X(webRoot, VtApp_houseremove, "VtApp/houseremove") \
    X(webRoot, VtApp_housestatus, "VtApp/housestatus") \
    /* ---- Unit data service ---- */ \
    X(unitRoot, intensiveFarming_getUnitList, "intensiveFarming/getUnitList") \
    X(unitRoot, intensiveFarming_getHouseList, "intensiveFarming/getHouseList") \
    /* ---- Help and approval-check service ---- */ \
    X(helpRoot, apiv3_0_2_ArCheckApplyRecordCtr_isCanCheck, "apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck") \
    X(helpRoot, apiv3_0_2_ArCheckApplyRecordCtr_isSetPrime, "apiv3_0_2/ArCheckApplyRecordCtr/isSetPrime") \
    /* ---- Gathering service ---- */ \
    X(gatherRoot, gather_community, "gather/community") \
    X(gatherRoot, black_cityList, "black/cityList")

class Endpoints
{
public:
    // One row of the table, for code that needs to walk all endpoints.
    struct Entry
    {
        const QString Endpoints::*root;   // the root the path is appended to
        const QString Endpoints::*member; // the finished address
        const char *name;                 // name of the member
        const char *path;                 // relative path as posted to
    };

    // The roots, each ending in "/".
    const QString appRoot;    // application server (http)
    const QString softRoot;   // organisation and building-data server (http)
    const QString webRoot;    // portal exchange server (https)
    const QString unitRoot;   // unit data service (http)
    const QString helpRoot;   // help and approval-check service (http)
    const QString gatherRoot; // gathering service (https)

    // Photo upload address: the application server's host plus "app/upphoto".
    const QString photoUpload;

#define HOUSEBOOK_ENDPOINT_MEMBER(root, member, path) const QString member;
    HOUSEBOOK_ENDPOINT_TABLE(HOUSEBOOK_ENDPOINT_MEMBER)
#undef HOUSEBOOK_ENDPOINT_MEMBER

    // The addresses of this process, built on first use from
    // ServerConfig::load(); they never change afterwards.
    static const Endpoints &instance();
    // The configuration instance() is built from (also carries the TLS switch).
    static const ServerConfig &config();

    // Addresses for an explicit configuration.
    static Endpoints build(const ServerConfig &config);

    // All endpoints in table order (roots and the upload address excluded).
    static const QVector<Entry> &entries();

private:
    explicit Endpoints(const ServerConfig &config);
};
