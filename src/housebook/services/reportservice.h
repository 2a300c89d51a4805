#pragma once
// The requests of reports against role holders: filing one, the reviewer's pages of them,
// the reports of the last 30 days for the workbook export, and judging one. Pages build the
// user's input and show what comes back; this class owns every path and form key. Each call
// ends with finished(); a refusal, and a failure of anything but the list, has been shown by
// the request object and ends in failed() as well. Every form carries lianmai=1.
#include "services/separationmodels.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class ReportService : public QObject
{
    Q_OBJECT
public:
    enum Request { Report, Page, LastMonth, Judge };
    Q_ENUM(Request)

    static constexpr int kPageSize = 20;

    // A reviewer's decision on one report.
    struct Judgement
    {
        QString reportId;
        int state = HighSeperateReportList_Model::Upheld;
        QString holderId;     // the reported holder's user id
        QString newHolderId;  // who takes the role over; "" releases it
        QString days;         // the rework period, "" unless reworking
        QString content;      // the reason
    };

    explicit ReportService(QObject *parent = nullptr);

    // fd/Jubao against the holder of row on listing itemId.
    void report(const QString &itemId, const HouseBookSeperateList_Model::ItemData &row, const QString &content);
    // fd/jubaoposts, kPageSize reports a page from 1; status: HighSeperateReportList_Model::Status.
    void loadPage(int pageIndex, int status);
    // fd/jubaoDownload
    void loadLast30Days();
    // fd/jubaoshenpi
    void judge(const Judgement &judgement);

signals:
    void reported();
    // The request's page and status come back so that a page may drop an outdated answer.
    void pageLoaded(int pageIndex, int status, const HighSeperateReportList_Model::Page &page);
    void last30DaysLoaded(const QList<HighSeperateReportList_Model::ItemData> &reports);
    void judged(const QString &reportId);
    void failed(ReportService::Request request, const QString &message);
    void finished(ReportService::Request request);

private:
    // failureNotice: told to the user when the request fails otherwise than by the server's
    // own refusal ("%1" takes the reason); empty when the page shows failures itself.
    void post(Request request, const QString &url, const QVariantMap &form,
              const std::function<void(const QJsonValue &)> &onSuccess, const QString &failureNotice = QString());
};
