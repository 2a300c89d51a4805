#pragma once
// The reviewer's list of reports filed against role records.
#include <QWidget>

class HighSeperateReportHistoryWidget : public QWidget
{
    Q_OBJECT
public:
    HighSeperateReportHistoryWidget(QWidget *parent, int type);

    int type() const { return m_type; }
    void setPageIndex(int index) { m_pageIndex = index; }
    int pageIndex() const { return m_pageIndex; }
    int loadCount() const { return m_loadCount; }

public slots:
    void download_list();

private:
    int m_type;
    int m_pageIndex = 1;
    int m_loadCount = 0;
};
