#pragma once
// The promotion tab of a rent listing, in three sub-tabs: "房源推送" (the shared block with
// the listing's promotion text), "房屋评价" (colleagues' evaluations) and "修改记录" (the
// listing's change history). Editing opens the promotion text editor.
#include "detail/describe/describepagebase.h"

class HouseBookDescribeEvaluateWidget;
class HouseBookDetailModifyHistoryWidget;
class ListingDetailService;
class QTabWidget;

class HouseDetailDescribesWidget : public DescribePageBase
{
    Q_OBJECT
public:
    explicit HouseDetailDescribesWidget(QWidget *parent = nullptr);

    QTabWidget *tabs() const { return m_tabs; }

public slots:
    void refreshData() override;
    void editClick() override;
    void seeQuanJin();

protected:
    void saveCover(const QList<DescribeTexts::Photo> &photos) override;
    bool mayEdit(const DescribeRights &rights) const override { return rights.edit; }

private:
    void showSubTab(int index);

    QTabWidget *m_tabs = nullptr;
    HouseBookDescribeEvaluateWidget *m_evaluations = nullptr;
    HouseBookDetailModifyHistoryWidget *m_history = nullptr;
    ListingDetailService *m_listings = nullptr;
    QMap<int, int> m_shownIds;  // sub-tab -> listing it shows
};
