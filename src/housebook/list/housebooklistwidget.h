#pragma once
// The page on which an agent browses the shared house book: one page of listings at a time
// from the local house table, the search bar above, the listing table in the middle and the
// paging bar below. The same page serves the six list modes (sale or rent book, the user's
// own sale or rent listings, all sale or all rent listings) and the three worklists; from a
// row the agent opens the detail window, re-edits or reviews a listing, and through the
// context menu sets flags, changes the status or deletes the listing.
#include "platform/housebookcodes.h"
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QPoint>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class HouseCountWorker;
class HouseBookMessageDetailWidget;
class HouseListTableHeadView;
class HouseSearchView;
class HouseListTableWidget;
class ListingChangeService;
class ListPagingBar;
class PagedListController;
class QJsonValue;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

class HouseBookListWidget : public QWidget
{
    Q_OBJECT
public:
    using Record = HouseMessage_DataSqlTable::HouseMessageData;

    explicit HouseBookListWidget(QWidget *parent = nullptr);

    // List mode 1..6 and sub-mode 0..3; called once, right after construction.
    void setMode(int mode, int subMode);
    int mode() const { return m_mode; }
    int subMode() const { return m_subMode; }
    QString keyWord() const { return m_conditions.value(QStringLiteral("keyWord")).toString(); }
    int page() const;
    int pageSize() const;
    int total() const;
    int pageCount() const;
    // The page is shown and its count is still to come.
    bool counting() const;
    int menuRow() const { return m_menuRow; }
    QString sortKey() const;
    bool sortDescending() const;
    QVariantMap conditions() const { return m_conditions; }
    QStringList fields() const { return m_fields; }
    QList<Record> listings() const { return m_listings; }
    QMenu *tableMenu() const { return m_menu; }

    // Counts run on a worker thread (the default) or, as before, before the page is shown;
    // the benchmarks measure both ways. Process-wide.
    static void setCountsInBackground(bool on);

    // The three worklists: each selects its keyword and reloads from the first page.
    void showNeedDeal();
    void showNeedReview();
    void showNeedXieZuo();

signals:
    // A pending listing was deleted, or a listing was re-edited or reviewed.
    void refreshNotDeal();

public slots:
    void refreshData();
    void houseSetChange();
    void sortDeal();
    void refreshPage();
    void showTableMeun(QPoint pos);
    void deleteHouse();
    void pageChange();
    void detailPageLastPage(HouseBookMessageDetailWidget *w);
    void detailPageNextPage(HouseBookMessageDetailWidget *w);
    void modifyHouseStatus(int id, QString txt);
    void modifyHouseShuXing(int id, int type, int state);
    void dealHouseAgainEdit(HouseMessage_DataSqlTable::HouseMessageData model);
    void houseListData(QList<HouseMessage_DataSqlTable::HouseMessageData> list);
    void houseCount(int count);
    void showWatchRange();
    void dealHouseReviewEdit(HouseMessage_DataSqlTable::HouseMessageData model);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // Building.
    void buildUi();
    QWidget *buildBottomBar();
    QWidget *buildSyncFailBar();
    QWidget *buildSearchNoticeBar();
    void connectSignals();
    // Loading.
    void loadNow();
    void loadWithOverlay();
    void syncStateChanged();
    void showSyncState();
    void showQueryState(bool failed, bool shortened);
    void pageSizeEdited(const QString &text);
    void renderTable();
    HouseQuery currentQuery() const;
    int knownCount(HouseMessage_DataSqlTable &store, const HouseQuery &query);
    void countArrived(int count, bool failed);
    void refreshColumns();
    void applyDefaultStatus();
    void showWorklist(const QString &keyWord);
    void newSearch(const QVariantMap &map);
    void sortBySection(int section);
    // Rows.
    void openRow(int row);
    void openDetail(int row);
    void openEntryForm(const Record &model, bool review);
    QList<int> listingIds() const;
    int rowOfId(int id) const;
    // Changes posted to the server, and what the page shows of them.
    void connectChanges();
    void flagChanged(int type);
    void statusChanged();
    void houseDeleted(int id);
    void takeDownFromPortal(int id, const QString &reason);

    int m_mode = HouseBookCodes::AllSaleMode;
    int m_subMode = 0;
    int m_menuRow = -1;
    QVariantMap m_conditions;
    QStringList m_fields;
    QList<Record> m_listings;
    QList<QVariantMap> m_columns;

    HouseSearchView *m_searchView = nullptr;
    HouseListTableWidget *m_table = nullptr;
    HouseListTableHeadView *m_header = nullptr;
    ListPagingBar *m_paging = nullptr;
    PagedListController *m_pager = nullptr;
    QMenu *m_menu = nullptr;
    BusyOverlay *m_overlay = nullptr;
    QWidget *m_syncFailBar = nullptr;
    QLabel *m_syncFailLabel = nullptr;
    QWidget *m_searchNoticeBar = nullptr;
    QLabel *m_searchNoticeLabel = nullptr;
    QPushButton *m_searchRetryButton = nullptr;
    QTimer *m_loadTimer = nullptr;
    ListingChangeService *m_changes = nullptr;
    HouseCountWorker *m_counter = nullptr;
    // The cache key and data version of the count under way.
    QString m_countKey;
    qint64 m_countVersion = -1;
};
