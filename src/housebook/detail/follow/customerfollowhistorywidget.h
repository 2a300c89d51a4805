#pragma once
// The general form of a listing's follow list: compact rows and "添加跟进", which opens the
// full entry dialog with tags and a reminder. The alliance's form asks the alliance's own
// address for its pages.
#include "detail/follow/followlistwidget.h"

class CustomerFollowHistoryWidget : public FollowListWidget
{
    Q_OBJECT
public:
    explicit CustomerFollowHistoryWidget(QWidget *parent = nullptr, bool jointSale = false);

    void showHouse(int id, bool rent);

    // followSuccess(): a follow-up written in the entry dialog has been saved.

public slots:
    // Opens the entry dialog for the shown listing.
    void addFollow();

protected:
    void requestPage(int page) override;

private:
    bool m_jointSale;
};
