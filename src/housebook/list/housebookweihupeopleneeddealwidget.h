#pragma once
// The maintainer worklist ("维护人即将到期"): the sale or the rent listings whose maintainer
// term is about to run out, with the days of the term, one page at a time. The terms are
// downloaded from the server into the local maintainer table and joined with the local
// listings; the columns are those of the sale or rent book, sized to the window, and sort
// as on the list page; a row opens the listing's detail window.
#include "sql/housemessage_datasqltable.h"

#include <QJsonValue>
#include <QList>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class HouseBookMessageDetailWidget;
class HouseListTableHeadView;
class HouseListTableWidget;
class ListPagingBar;
class MaintainerTermsService;
class PagedListController;
class QPushButton;
class QTimer;

class HouseBookWeiHuPeoPleNeedDealWidget : public QWidget
{
    Q_OBJECT
public:
    using Record = HouseMessage_DataSqlTable::HouseMessageData;

    // flag: the sale listings (true) or the rent listings (false).
    HouseBookWeiHuPeoPleNeedDealWidget(QWidget *parent, bool flag);

    bool flag() const { return m_flag; }
    bool isSale() const { return m_flag; }
    QList<QVariantMap> columns() const { return m_columns; }
    int refreshCount() const { return m_refreshCount; }
    int page() const;
    int pageSize() const;
    int total() const;
    int pageCount() const;
    QString sortKey() const;
    bool sortDescending() const;
    QList<Record> listings() const { return m_listings; }

signals:
    // The back button: return to the host's main page.
    void back_mainPage();
    // The number of listings on the worklist, after each load.
    void back_count(int count);

public slots:
    // A listing changed locally: reload the current page.
    void dealMsg(QVariant value);
    void refreshPage();
    void updataSqlData();
    void downloadData();
    void dealDealData(QJsonValue value);
    void initCurrentPageDataList();
    void houseListData(QList<HouseMessage_DataSqlTable::HouseMessageData> list);
    void houseCount(int count);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildUi();
    QWidget *buildTopBar();
    void connectSignals();
    void refreshColumns();
    void sortBySection(int section);
    void loadWithOverlay();
    void openRow(int row);
    QList<int> listingIds() const;
    void detailPageLastPage(HouseBookMessageDetailWidget *w);
    void detailPageNextPage(HouseBookMessageDetailWidget *w);
    void termsStored();
    QString emptyText() const;

    bool m_flag;
    int m_refreshCount = 0;
    QList<Record> m_listings;
    QList<QVariantMap> m_columns;
    // Why the last download of the maintainer terms failed; empty after a success.
    QString m_downloadFailure;

    HouseListTableWidget *m_table = nullptr;
    HouseListTableHeadView *m_header = nullptr;
    ListPagingBar *m_paging = nullptr;
    PagedListController *m_pager = nullptr;
    BusyOverlay *m_overlay = nullptr;
    QTimer *m_loadTimer = nullptr;
    MaintainerTermsService *m_terms = nullptr;
};
