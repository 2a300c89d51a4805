#include "detail/follow/followpagedpage.h"

#include "detail/follow/rowlistarea.h"
#include "services/followservice.h"
#include "widgets/busyoverlay.h"
#include "widgets/listpagingbar.h"

#include <QVBoxLayout>

FollowPagedPage::FollowPagedPage(const QString &firstPageRefusal, const QString &lastPageRefusal, int pageSize,
                                 const QString &emptyText, QWidget *parent)
    : QWidget(parent)
    , m_service(new FollowService(this))
    , m_pager(new PagedListController(RowListArea::refusals(firstPageRefusal, lastPageRefusal),
                                      PagedListController::SizeChange::FirstPage, this))
    , m_list(new RowListArea(emptyText, this))
    , m_bar(new ListPagingBar(this))
    , m_top(new QVBoxLayout)
    , m_overlay(new BusyOverlay(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(m_top);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_bar);
    m_pager->setPageSize(pageSize);
    m_pager->bind(m_bar);
    connect(m_service, &FollowService::finished, m_overlay, &BusyOverlay::stop);
    // A page that could not be loaded says so in place of its rows, never "nothing here".
    connect(m_service, &FollowService::listFailed, m_list, &RowListArea::showFailure);
    connect(m_list, &RowListArea::retryRequested, m_pager, &PagedListController::reload);
}

int FollowPagedPage::page() const
{
    return m_pager->page();
}

void FollowPagedPage::setListing(int id, bool rent)
{
    m_id = id;
    m_rent = rent;
    m_pager->setPage(1);
}

void FollowPagedPage::lastPage()
{
    m_pager->step(PagedListController::Back);
}

void FollowPagedPage::nextPage()
{
    m_pager->step(PagedListController::Forward);
}
