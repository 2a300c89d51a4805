#include "widgets/pagedlistcontroller.h"

#include "widgets/alertwidget.h"
#include "widgets/listpagingbar.h"

PagedListController::PagedListController(const Refusals &refusals, SizeChange sizeChange, QObject *parent)
    : QObject(parent)
    , m_refusals(refusals)
    , m_sizeChange(sizeChange)
{
}

void PagedListController::bind(ListPagingBar *bar)
{
    m_bar = bar;
    connect(bar, &ListPagingBar::stepRequested, this, &PagedListController::step);
    connect(bar, &ListPagingBar::jumpRequested, this, &PagedListController::jumpTo);
    connect(this, &PagedListController::refused, bar, &ListPagingBar::restoreFields);
    connect(bar, &QObject::destroyed, this, [this] { m_bar = nullptr; });
}

void PagedListController::setPage(int page)
{
    m_page = qMax(1, page);
}

void PagedListController::setPageSize(int pageSize)
{
    if (pageSize <= 0)
        return;
    m_pageSize = pageSize;
}

void PagedListController::setSort(const QString &key, bool descending)
{
    m_sortKey = key;
    m_sortDescending = descending;
}

void PagedListController::setTotal(int total)
{
    m_counting = false;
    m_total = qMax(0, total);
    m_pageCount = pagesFor(m_total, m_pageSize);
    showOnBar();
}

void PagedListController::setCounting(bool pageFull)
{
    m_counting = true;
    m_total = 0;
    m_pageCount = m_page + (pageFull ? 1 : 0);
    if (m_bar)
        m_bar->showCounting(m_page, m_pageSize);
}

int PagedListController::targetOf(Step step) const
{
    switch (step) {
    case Back:
        return m_page > 1 ? m_page - 1 : 0;
    case Forward:
        return m_page + 1 <= m_pageCount ? m_page + 1 : 0;
    case BackTen:
        return qMax(m_page - 10, 1);
    case ForwardTen:
        return m_page + 10 <= m_pageCount ? m_page + 10 : 0;
    }
    return 0;
}

int PagedListController::targetOfTyped(const QString &typed) const
{
    bool ok = false;
    const int n = typed.trimmed().toInt(&ok);
    return ok && n >= 1 && n <= m_pageCount ? n : 0;
}

QString PagedListController::refusalOf(Step step) const
{
    switch (step) {
    case Back:
        return m_refusals.firstPage;
    case Forward:
        return m_refusals.lastPage;
    case ForwardTen:
        return m_refusals.noTenAhead;
    case BackTen:
        break;
    }
    return QString();
}

bool PagedListController::step(Step step)
{
    const int target = targetOf(step);
    if (target == 0)
        return refuse(refusalOf(step));
    request(target);
    return true;
}

bool PagedListController::jumpTo(const QString &typed)
{
    const int target = targetOfTyped(typed);
    if (target == 0)
        return refuse(m_refusals.invalidPage);
    request(target);
    return true;
}

bool PagedListController::stepWithoutRequest(Step step)
{
    const int target = targetOf(step);
    if (target == 0)
        return refuse(refusalOf(step));
    m_page = target;
    return true;
}

bool PagedListController::changePageSize(int pageSize)
{
    if (pageSize <= 0 || pageSize == m_pageSize)
        return false;
    const int firstRow = (m_page - 1) * m_pageSize;
    m_pageSize = pageSize;
    // The bar shows the size in force until the reload; it is this one already.
    if (m_bar)
        m_bar->showPageSize(pageSize);
    request(m_sizeChange == SizeChange::KeepFirstRow ? firstRow / pageSize + 1 : 1);
    return true;
}

void PagedListController::sortBy(const QString &key, bool descending)
{
    setSort(key, descending);
    request(1);
}

void PagedListController::reload()
{
    request(m_page);
}

void PagedListController::restart()
{
    request(1);
}

int PagedListController::pagesFor(int total, int pageSize)
{
    if (total <= 0 || pageSize <= 0)
        return 0;
    return (total + pageSize - 1) / pageSize;
}

void PagedListController::request(int page)
{
    m_page = page;
    emit pageRequested(m_page, m_pageSize, m_sortKey, m_sortDescending);
}

// The bar puts its fields back before the box opens, so the box never covers a stale page.
bool PagedListController::refuse(const QString &text)
{
    emit refused(text);
    AlertWidget::warning(text);
    return false;
}

void PagedListController::showOnBar()
{
    if (m_bar)
        m_bar->showState(m_page, m_pageCount, m_total, m_pageSize);
}
