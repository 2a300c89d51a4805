#pragma once
// The paging bar under the list tables ("pageWidget"): page size, page description, the
// typed page with its jump button and the four stepping buttons. It shows what its
// PagedListController says and hands the steps to it; the rules live there.
#include "widgets/pagedlistcontroller.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class ListPagingBar : public QWidget
{
    Q_OBJECT
public:
    explicit ListPagingBar(QWidget *parent = nullptr);

    // Shows the state of the loaded page: size, " 条，共%1页，共计%2条，当前第 " and the page.
    void showState(int page, int pageCount, int total, int pageSize);
    // The loaded page while its count is still to come: " 条，共…页，共计…条，当前第 ".
    void showCounting(int page, int pageSize);
    int page() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    int total() const { return m_total; }
    // Sets the size field alone (when the size changed before the next load).
    void showPageSize(int pageSize);

signals:
    // A stepping button was clicked.
    void stepRequested(PagedListController::Step step);
    // The jump button or Return in the page field: the typed page.
    void jumpRequested(const QString &typed);
    // The page size field was edited (Return or leaving it) to a text other than the size
    // shown; the page stores it and reloads at the new size when it is valid. The field
    // shows the size in force again when it is not.
    void pageSizeEdited(const QString &text);

public slots:
    void jumpToTyped();
    // Puts the shown page and size back into the two fields (after a refused step).
    void restoreFields();

private:
    void buildUi();
    QLineEdit *newEdit(const QString &objectName);
    QPushButton *newStepButton(const QString &objectName, const QString &text, const QString &corners);
    void sizeEditFinished();

    int m_page = 1;
    int m_pageCount = 0;
    int m_total = 0;
    int m_shownPageSize = 0;
    QLineEdit *m_pageSize = nullptr;
    QLabel *m_description = nullptr;
    QLineEdit *m_currentPage = nullptr;
};
