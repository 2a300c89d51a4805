#pragma once
// The listing's tags and its follow-up list, with add and delete.
#include "detail/follow/followlistwidget.h"

class FollowTagBar;
class QPlainTextEdit;
class QWidget;

class HouseBookDetailFollowHistoryWidget : public FollowListWidget
{
    Q_OBJECT
public:
    explicit HouseBookDetailFollowHistoryWidget(QWidget *parent = nullptr);

    // Shows the follow-ups of a listing; rent picks the kind sent as `type` (2 rent, 1 sale).
    void showHouse(int id, bool rent);

    // followSuccess(): a follow-up of the shown listing has been saved.

public slots:
    void download_tagList();
    void deal_tagData(QJsonValue resultValue);
    void followTagShow();
    void deal_addTag();
    void addFollow();
    void addfollowSuccess();

private:
    FollowTagBar *m_tags;
    QWidget *m_editor;
    QPlainTextEdit *m_edit;
};
