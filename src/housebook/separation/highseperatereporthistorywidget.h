#pragma once
// The reviewer's list of reports filed against role holders: a status filter, 20 reports a
// page with 上一页 / 下一页, a row per report that opens its review or its listing, and the
// workbook export of the last 30 days. A judged report has its listing synced again and the
// page reloaded. A page that could not be loaded says so with a retry, never "no reports".
#include "services/separationmodels.h"

#include <QList>
#include <QWidget>

#include <functional>

class BusyOverlay;
class FailureLine;
class PagedListController;
class QComboBox;
class QLabel;
class QVBoxLayout;
class ReportService;

class HighSeperateReportHistoryWidget : public QWidget
{
    Q_OBJECT
public:
    // Loads the first page at once.
    HighSeperateReportHistoryWidget(QWidget *parent, int type);

    int type() const { return m_type; }
    // The page the next download_list() asks for.
    void setPageIndex(int index);
    int pageIndex() const;
    // HighSeperateReportList_Model::Status of the filter chosen.
    int status() const { return m_status; }
    // How many pages were asked for so far.
    int loadCount() const { return m_loadCount; }
    const QList<HighSeperateReportList_Model::ItemData> &items() const { return m_items; }

    // Opens a listing's detail window; the host module installs it, nothing opens before.
    using DetailOpener = std::function<void(QWidget *parent, int houseId)>;
    static void setDetailOpener(const DetailOpener &opener);
    // The spreadsheet library the export writes the workbook with ("qx_excel.dll").
    void setExcelLibrary(const QString &library) { m_excelLibrary = library; }

public slots:
    // index of the filter: 已审核, 待审核, 全部.
    void changeStatus(int index);
    void download_list();
    void dealData(const HighSeperateReportList_Model::Page &page);
    void showListView();
    void lastPage();
    void nextPage();
    void reportDeal(const HighSeperateReportList_Model::ItemData &item);
    void openHouseDetail(int id);
    void downloadHistoryData();
    void dealHistoryData(const QList<HighSeperateReportList_Model::ItemData> &reports);

private:
    QWidget *buildTopBar();
    QWidget *buildPagingBar();
    void clearRows();
    void judged(const HighSeperateReportList_Model::ItemData &item);
    static void syncListing(const QString &itemId);

    int m_type;
    int m_status;
    int m_loadCount = 0;
    QString m_excelLibrary = QStringLiteral("qx_excel.dll");
    QList<HighSeperateReportList_Model::ItemData> m_items;
    ReportService *m_service;
    PagedListController *m_pager;
    QComboBox *m_statusBox = nullptr;
    QWidget *m_rows = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
    QLabel *m_empty = nullptr;
    FailureLine *m_failure = nullptr;
    QLabel *m_pageLabel = nullptr;
    BusyOverlay *m_overlay;
};
