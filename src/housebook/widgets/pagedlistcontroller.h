#pragma once
// The paging state of a list page: the page shown, the page size, the sort and the total,
// and the rules that move between pages. Steps that lead nowhere are refused with the texts
// the list passes in; every accepted move asks the owner for a page through pageRequested(),
// and the owner hands the count of its query back through setTotal().
//
// A bound ListPagingBar shows the state, sends its buttons, typed page and Return here, and
// puts its fields back when a step is refused. Owners that load a page themselves (a detail
// window turning past the end of the page) use the setters or stepWithoutRequest().
#include <QObject>
#include <QString>

class ListPagingBar;

class PagedListController : public QObject
{
    Q_OBJECT
public:
    enum Step { Back, Forward, BackTen, ForwardTen };
    Q_ENUM(Step)

    // What a list says when a step leads nowhere.
    struct Refusals
    {
        QString firstPage;    // back from the first page
        QString lastPage;     // forward from the last page
        QString noTenAhead;   // ten forward past the last page
        QString invalidPage;  // a typed page outside 1..pageCount
    };

    // What a new page size does to the page shown: keep the first row shown so far in view,
    // or start again from the first page.
    enum class SizeChange { KeepFirstRow, FirstPage };

    PagedListController(const Refusals &refusals, SizeChange sizeChange, QObject *parent = nullptr);

    // Shows the state of each loaded page on the bar and takes its steps; one bar at most.
    void bind(ListPagingBar *bar);

    int page() const { return m_page; }
    int pageSize() const { return m_pageSize; }
    int total() const { return m_total; }
    int pageCount() const { return m_pageCount; }
    QString sortKey() const { return m_sortKey; }
    bool sortDescending() const { return m_sortDescending; }
    Refusals refusals() const { return m_refusals; }

    // State the owner sets without asking for a page (the bar shows it with the next total).
    void setPage(int page);
    void setPageSize(int pageSize);
    void setSort(const QString &key, bool descending);
    // The count of the page just loaded: total and page count, shown on the bar.
    void setTotal(int total);
    // The page is loaded and its count is still to come: the bar says so, and until the
    // count arrives a full page may step forward (the pages known are those reached so far).
    void setCounting(bool pageFull);
    bool isCounting() const { return m_counting; }

    // The page a step or a typed page leads to; 0 when it is refused.
    int targetOf(Step step) const;
    int targetOfTyped(const QString &typed) const;
    QString refusalOf(Step step) const;

    // Moves to the step's page and asks for it; a refused step warns and changes nothing.
    bool step(Step step);
    bool jumpTo(const QString &typed);
    // As step(), for an owner that loads the page at once itself.
    bool stepWithoutRequest(Step step);
    // A valid new size (above 0 and other than the current one) applies at once as
    // SizeChange says and asks for the page; false when nothing changed.
    bool changePageSize(int pageSize);
    // A new sort starts from the first page.
    void sortBy(const QString &key, bool descending);
    // A new search or filter: the first page.
    void restart();
    // Asks again for the current page (after a failed load).
    void reload();

    // total / pageSize rounded up; 0 without rows.
    static int pagesFor(int total, int pageSize);

signals:
    void pageRequested(int page, int pageSize, const QString &sortKey, bool descending);
    // A step was refused with this text (the warning is shown as well).
    void refused(const QString &text);

private:
    void request(int page);
    bool refuse(const QString &text);
    void showOnBar();

    Refusals m_refusals;
    SizeChange m_sizeChange;
    int m_page = 1;
    int m_pageSize = 20;
    int m_total = 0;
    int m_pageCount = 0;
    bool m_counting = false;
    QString m_sortKey;
    bool m_sortDescending = false;
    ListPagingBar *m_bar = nullptr;
};
