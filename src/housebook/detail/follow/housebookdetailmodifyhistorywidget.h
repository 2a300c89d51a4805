#pragma once
// The listing's change history, paged.
#include "detail/follow/followpagedpage.h"

#include <QJsonValue>
#include <QStringList>
#include <QWidget>

class HouseBookDetailModifyHistoryWidget : public FollowPagedPage
{
    Q_OBJECT
public:
    explicit HouseBookDetailModifyHistoryWidget(QWidget *parent = nullptr);

    // Shows the rows of a listing; rent picks the kind sent as `type` (2 rent, 1 sale).
    void showHouse(int id, bool rent);
    // A listing of the alliance's book (the default) is asked for with lianmai.
    void setJointSale(bool jointSale) { m_jointSale = jointSale; }

    // The rows of the page shown, as they read.
    QStringList lines() const { return m_lines; }
    // "name(time)：content" for each row of a reply; rows of the wrong shape are left out.
    static QStringList linesOf(const QJsonValue &data);

public slots:
    void download_modifyHistory();
    void deal_modifyHistoryList(QJsonValue resultValue);
    void showModifyList();
    // lastPage() and nextPage() step through the pages.

private:
    bool m_jointSale = true;
    QStringList m_lines;
};
