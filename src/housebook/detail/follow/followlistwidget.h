#pragma once
// One page of a listing's follow-ups with its paging bar: written follow-ups and call
// recordings as rows, deletion of one's own follow-ups after a confirmation, hiding and
// showing recordings. The page reloads after each change and whenever another listing is
// shown. The listing tab and the general follow list build on it.
#include "detail/follow/followpagedpage.h"
#include "detail/follow/housebookfollowdata_model.h"

#include <QJsonValue>
#include <QWidget>

class FollowListWidget : public FollowPagedPage
{
    Q_OBJECT
public:
    explicit FollowListWidget(QWidget *parent = nullptr);

    QList<HouseBookFollowData_Model::ListData> rows() const { return m_model.list(); }

    static QString deleteQuestion();

signals:
    void followSuccess();

public slots:
    void download_followData();
    void deal_followData(QJsonValue resultValue);
    void loadFollowList();
    void deleteFollow(int id);
    void hideRecord(int id, int state);

protected:
    // Starts again on the first page of the listing.
    void showListing(int id, bool rent);
    // Asks the server for the page; the general list of the alliance asks its own address.
    virtual void requestPage(int page);
    QWidget *createRow(const HouseBookFollowData_Model::ListData &data);
    // Rows in their compact form (the general list).
    void setCompactRows(bool compact) { m_compactRows = compact; }

private:
    bool m_compactRows = false;
    HouseBookFollowData_Model m_model;
};
