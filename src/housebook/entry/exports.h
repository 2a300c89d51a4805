#pragma once
// What the host calls: undecorated C exports, each building one page of the module into a
// host-owned slot and container, or into a pop-up of the module's own.
#include "entry/hostcallback.h"
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QPointer>
#include <QVariantMap>
#include <QtGlobal>

#if defined(QX_JOINTSALE_HOUSEBOOK_LIBRARY)
#  define QX_JOINTSALE_HOUSEBOOK_EXPORT Q_DECL_EXPORT
#else
#  define QX_JOINTSALE_HOUSEBOOK_EXPORT Q_DECL_IMPORT
#endif
#define HOUSEBOOK_C_EXPORT extern "C" QX_JOINTSALE_HOUSEBOOK_EXPORT

class QWidget;
class QStackedWidget;
class CustomTabWidget;
class HouseBookListWidget;
class HouseBookWeiHuPeoPleNeedDealWidget;
class HighSeperateReportHistoryWidget;
class MySaleHouseDetailWidget;
class PermissionHouseBookWidget;

// Lets the host link against the library; it carries nothing.
class QX_JOINTSALE_HOUSEBOOK_EXPORT Qx_jointsale_housebook
{
public:
    Qx_jointsale_housebook();
    Qx_jointsale_housebook &operator=(const Qx_jointsale_housebook &other);
};

HOUSEBOOK_C_EXPORT int getVersion();

HOUSEBOOK_C_EXPORT void loadHouseListWidget(QWidget *parent, CustomTabWidget **tabWidget,
                                            QPointer<HouseBookListWidget> *page, int listKind, int subMode);
HOUSEBOOK_C_EXPORT void loadHouseListWidget_2(QWidget *parent, QStackedWidget **stackedWidget,
                                              HouseBookListWidget **page, int listKind, int subMode);
HOUSEBOOK_C_EXPORT void loadNeedDealHouseList(QWidget *parent, QStackedWidget **stackedWidget,
                                              HouseBookListWidget **page, int kind);
HOUSEBOOK_C_EXPORT void loadNeedReviewHouseList(QWidget *parent, QStackedWidget **stackedWidget,
                                                HouseBookListWidget **page, int kind);
HOUSEBOOK_C_EXPORT void loadNeedXieZuoHouseList(QWidget *parent, QStackedWidget **stackedWidget,
                                                HouseBookListWidget **page, int kind);
HOUSEBOOK_C_EXPORT void loadWeiHuHouseList(QWidget *parent, QStackedWidget **stackedWidget,
                                           HouseBookWeiHuPeoPleNeedDealWidget **page, int flag);
HOUSEBOOK_C_EXPORT void loadJubaoReviewHouseList(QWidget *parent, QStackedWidget **stackedWidget,
                                                 HighSeperateReportHistoryWidget **page);
HOUSEBOOK_C_EXPORT void houseListRefresh(HouseBookListWidget **page);
HOUSEBOOK_C_EXPORT void weihuListRefresh(HouseBookWeiHuPeoPleNeedDealWidget **page);
HOUSEBOOK_C_EXPORT void reportListRefresh(HighSeperateReportHistoryWidget **page);

HOUSEBOOK_C_EXPORT void loadHouseDetail(QWidget *parent, QStackedWidget *stackedWidget,
                                        QPointer<MySaleHouseDetailWidget> *page, QString json,
                                        HostCallback callback, void *context);
HOUSEBOOK_C_EXPORT void loadHouseBookDetail(QWidget *parent, int houseId, int firstTab, int firstPageFlag,
                                            HostCallback callback, void *context);

HOUSEBOOK_C_EXPORT void addNewRentHouse(QWidget *parent);
HOUSEBOOK_C_EXPORT void addNewSaleHouse(QWidget *parent);
HOUSEBOOK_C_EXPORT void addRentHouse(QWidget *parent, HouseMessage_DataSqlTable::HouseMessageData model,
                                     HostCallback callback, void *context);
HOUSEBOOK_C_EXPORT void addSaleHouse(QWidget *parent, HouseMessage_DataSqlTable::HouseMessageData model,
                                     HostCallback callback, void *context);

HOUSEBOOK_C_EXPORT void showHouseBookSet(QWidget *parent, HostCallback callback, void *context);
HOUSEBOOK_C_EXPORT void initAutuView(QWidget *parent, QStackedWidget *stackedWidget,
                                     PermissionHouseBookWidget **page, QList<QVariantMap> ranges,
                                     HostCallback callback, void *context);
