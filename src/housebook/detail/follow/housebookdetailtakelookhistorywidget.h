#pragma once
// The listing's viewings, client groups shown or masked by what the viewer may see.
#include "detail/follow/followpagedpage.h"
#include "detail/follow/housebooktakelooklist_model.h"

#include <QJsonValue>
#include <QVariantMap>
#include <QWidget>

class HouseBookDetailTakeLookHistoryWidget : public FollowPagedPage
{
    Q_OBJECT
public:
    explicit HouseBookDetailTakeLookHistoryWidget(QWidget *parent = nullptr);

    // Shows the rows of a listing; rent picks the kind sent as `type` (2 rent, 1 sale).
    void showHouse(int id, bool rent);

    // Clients the viewer may see whoever showed them the listing, keyed by client id.
    void setVisibleCustomers(const QVariantMap &customers) { m_customers = customers; }
    QList<HousebookTakeLookList_Model::ListData> rows() const { return m_model.list(); }

    // Whether the viewer may see a viewing's client: managers of the company or of the
    // alliance see every client, an agent sees the clients he showed the listing himself and
    // those listed in customer_map (keyed by client id). itemType is the listing kind; both
    // kinds follow the same rule.
    static bool judgeCanSeeCustomer(int itemType, const HousebookTakeLookList_Model::ListData &data,
                                    const QVariantMap &customer_map);

public slots:
    // lastPage() and nextPage() step through the pages.
    void download_followLookData();
    void deal_followLookData(QJsonValue resultValue);
    void loadFollowLookList();

private:
    QVariantMap m_customers;
    HousebookTakeLookList_Model m_model;
};
