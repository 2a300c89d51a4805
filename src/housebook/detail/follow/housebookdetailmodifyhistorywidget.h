#pragma once
// The listing's change history, paged.
#include <QWidget>

class HouseBookDetailModifyHistoryWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookDetailModifyHistoryWidget(QWidget *parent = nullptr);

    // Shows the rows of a listing; rent picks the kind sent as `type` (2 rent, 1 sale).
    void showHouse(int id, bool rent);

private:
    int m_id = 0;
    bool m_rent = false;
};
