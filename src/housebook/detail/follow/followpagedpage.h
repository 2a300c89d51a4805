#pragma once
// What the paged lists of a listing's detail share: the listing shown, the list of rows
// with its paging bar and waiting animation, and the steps "上一页" / "下一页" with the
// list's own refusals. A subclass asks for its page when pager() requests one.
#include "widgets/pagedlistcontroller.h"

#include <QWidget>

class BusyOverlay;
class FollowService;
class ListPagingBar;
class QVBoxLayout;
class RowListArea;

class FollowPagedPage : public QWidget
{
    Q_OBJECT
public:
    int houseId() const { return m_id; }
    bool isRent() const { return m_rent; }
    int page() const;

public slots:
    void lastPage();
    void nextPage();

protected:
    FollowPagedPage(const QString &firstPageRefusal, const QString &lastPageRefusal, int pageSize,
                    const QString &emptyText, QWidget *parent);

    // A new listing starts on the first page.
    void setListing(int id, bool rent);
    FollowService *service() const { return m_service; }
    PagedListController *pager() const { return m_pager; }
    RowListArea *rowList() const { return m_list; }
    BusyOverlay *overlay() const { return m_overlay; }
    // The place above the list for a page's own parts.
    QVBoxLayout *topLayout() const { return m_top; }

private:
    int m_id = 0;
    bool m_rent = false;
    FollowService *m_service;
    PagedListController *m_pager;
    RowListArea *m_list;
    ListPagingBar *m_bar;
    QVBoxLayout *m_top;
    BusyOverlay *m_overlay;
};
