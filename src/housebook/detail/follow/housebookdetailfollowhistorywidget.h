#pragma once
// The listing's tags and its follow-up list, with add and delete.
#include <QWidget>

class HouseBookDetailFollowHistoryWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookDetailFollowHistoryWidget(QWidget *parent = nullptr);

    // Shows the follow-ups of a listing; rent picks the kind sent as `type` (2 rent, 1 sale).
    void showHouse(int id, bool rent);

signals:
    // A follow-up of the shown listing has been saved.
    void followSuccess();

private:
    int m_id = 0;
    bool m_rent = false;
};
