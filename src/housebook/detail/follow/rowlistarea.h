#pragma once
// The scrolling column of rows the follow-up side's lists show one page in, and the paging
// rules those lists share.
#include "widgets/pagedlistcontroller.h"

#include <QList>
#include <QScrollArea>

class LoadFailureView;
class QLabel;
class QVBoxLayout;

class RowListArea : public QScrollArea
{
    Q_OBJECT
public:
    explicit RowListArea(const QString &emptyText, QWidget *parent = nullptr);

    void clear();
    void addRow(QWidget *row);
    // Shows the empty text when no row was added since the last clear().
    void finish();
    // The page could not be loaded: the rows go, the reason shows with a retry button.
    void showFailure(const QString &reason);
    QList<QWidget *> rows() const { return m_rows; }

    // A list's refusals: its own first- and last-page texts, the common ones for the rest.
    static PagedListController::Refusals refusals(const QString &firstPage, const QString &lastPage);

signals:
    void retryRequested();

private:
    QWidget *m_body;
    QVBoxLayout *m_layout;
    QLabel *m_empty;
    LoadFailureView *m_failure;
    QList<QWidget *> m_rows;
};
