#pragma once
// The numbers the plug-in shares with the server, the host and its own pages: which book is
// browsed, listing kinds, list modes, listing flags, the type codes of the local store's
// downloads and the states the host's signal hub hears of them. One place for each, so a
// page and the store never disagree on what a number means.

namespace HouseBookCodes {

// The alliance's joint-sale book is the one this plug-in browses. The store keeps the
// normal book apart under the same classes with false.
constexpr bool kJointSale = true;

// A listing's kind, as its `types` column and the server hold it.
enum ListingKind { SaleListing = 0, RentListing = 1 };

constexpr bool isRentListing(int types) { return types == RentListing; }

// What a list of listings shows: the user's own, the active ones, or every one of a kind.
enum ListMode {
    MyRentMode = 1,
    MySaleMode = 2,
    ActiveRentMode = 3,
    ActiveSaleMode = 4,
    AllSaleMode = 5,
    AllRentMode = 6
};

// Whether a list mode shows the sale book; every choice between the sale and the rent
// settings, columns and status names follows it.
constexpr bool isSaleMode(int mode)
{
    return mode == MySaleMode || mode == ActiveSaleMode || mode == AllSaleMode;
}

constexpr bool isRentMode(int mode)
{
    return mode == MyRentMode || mode == ActiveRentMode || mode == AllRentMode;
}

// The every-listing mode of a book.
constexpr ListMode allListingsMode(bool sale) { return sale ? AllSaleMode : AllRentMode; }

// The flags an agent sets on a listing, as the server numbers them.
enum FlagType { TopFlag = 1, LockFlag = 2, SealFlag = 3, ExclusiveFlag = 4 };

constexpr bool isFlagType(int type) { return type >= TopFlag && type <= ExclusiveFlag; }

// The downloads that fill the local store, by the type code that names each one in
// loadDataFinish / loadDataSuccess, download_id and the host's signal hub.
enum DownloadCode {
    OneHouseDownload = -1,
    HouseSyncDownload = 1,
    DistrictAndAreaDownload = 2,
    PublicCategoryDownload = 3,
    JobListDownload = 4,
    UserInitDownload = 5,
    HouseBookSetDownload = 6,
    HouseBookCategoryDownload = 7,
    AllStaffListDownload = 8,
    AllStoreListDownload = 9,
    AppListDownload = 10,
    UserAuthDownload = 11,
    CityHouseSetDownload = 12,
    CloudDistrictDownload = 13,
    CustomerBookSetDownload = 14,
    CustomerBookBaseSetDownload = 15,
    SaleContractSetDownload = 16,
    RentContractSetDownload = 17,
    KeyHouseDownload = 18,
    CallBabyBaseSetDownload = 19,
    WatchCommunityListDownload = 20,
    CompanyAllStaffDepartmentDownload = 21,
    MyDepartmentDownload = 22,
    JointSaleMsgDownload = 23,
    IsJointReviewDownload = 24,
    SaleXieZuoSetDownload = 25,
    RentXieZuoSetDownload = 26
};

// What the host's signal hub (send_baseSqlReq) is told of a download.
// HubSyncProgress carries {"type": 1, "pages": stored pages, "listings": stored listings}.
enum HubState { HubSyncStarted = 0, HubSucceeded = 1, HubFailed = 2, HubEnded = 3, HubSnapshotProgress = 4, HubSyncProgress = 5 };

} // namespace HouseBookCodes
