#pragma once
// One report in the reviewer's list: the listing, who reported when and what, its state
// (waiting in red, reviewed in grey) and who reviewed it when. A click on the listing asks
// for its detail window, a click anywhere else for the review of the report.
#include "services/separationmodels.h"

#include <QWidget>

class QLabel;
class QVBoxLayout;

class HighSeperateReportHistoryItemView : public QWidget
{
    Q_OBJECT
public:
    explicit HighSeperateReportHistoryItemView(const HighSeperateReportList_Model::ItemData &item,
                                               QWidget *parent = nullptr);

    const HighSeperateReportList_Model::ItemData &item() const { return m_item; }

    static QString waitingStyle();
    static QString reviewedStyle();

signals:
    void itemClick(const HighSeperateReportList_Model::ItemData &item);
    void houseClick(int houseId);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QLabel *addLine(QVBoxLayout *layout, const QString &name, const QString &text);

    HighSeperateReportList_Model::ItemData m_item;
};
