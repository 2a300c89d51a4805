#pragma once
// The listing detail window proper: a title bar of four tabs over a stack of pages (each
// created when first chosen), the view record of every shown listing, the "follow up before
// leaving" rule, handing the listing to another entering agent, and the edit entry point.
//
// A listing is shown from its local record at once; the server's view record runs
// alongside and only a refusal (the window closes) or a pending follow-up elsewhere (the
// agent is sent there) changes what the agent sees.
//
// Keys: Alt+Left / Page Up and Alt+Right / Page Down step to the previous and next listing,
// Esc closes, each through the follow-up rule; Ctrl+C that no child has taken (no selected
// text) copies the listing's number.
#include "sql/housemessage_datasqltable.h"

#include <QMap>
#include <QVariant>
#include <QVariantMap>
#include <QWidget>

class AlertWidget;
class BusyOverlay;
class CommonAddWidget;
class HouseDetailFirstPageWidget;
class ListingViewService;
class QPushButton;
class QStackedWidget;

class MySaleHouseDetailWidget : public QWidget
{
    Q_OBJECT
public:
    enum Tab { DetailTab = 1, SurveyTab = 2, CommunityTab = 3, PromotionTab = 4 };

    MySaleHouseDetailWidget(QWidget *parent, int firstTab, int firstPageFlag);

    const HouseMessage_DataSqlTable::HouseMessageData &record() const { return m_record; }
    int requestedId() const { return m_requestedId; }
    bool hideNavigation() const { return m_hideNavigation; }
    bool refreshed() const { return m_refreshed; }
    bool isRent() const { return m_rent; }
    bool mustFollowActive() const { return m_mustFollowActive; }
    int currentTab() const { return m_currentTab; }
    // The page of a tab; null until the tab was first chosen.
    QWidget *tabPage(int tab) const { return m_pages.value(tab); }
    HouseDetailFirstPageWidget *firstPage() const { return m_firstPage; }
    // The shown listing's community as the community library keeps it; empty when unknown.
    QVariantMap communityData() const { return m_communityData; }

    // Shows a tab, creating its page on first use.
    void showTab(int tab);
    // The follow-up rule: may the agent leave the shown listing? showMessage: say why not.
    bool mustFollowPasses(bool showMessage);

signals:
    void closeWidget();
    void lastPage();
    void nextPage();
    void refreshBaseMessage();
    void loadHouseId(int id);

public slots:
    void closeThisWidget();
    void houseDataDeal(const HouseMessage_DataSqlTable::HouseMessageData &model, int page,
                       bool hideNavigation, bool refreshed);
    void refreshBaseMsg(QVariant value);
    void loadLastPage();
    void loadNextPage();
    void fenPeiDeal();
    void fenPeiHouse(QVariantMap map);
    void houseEdit(bool oa);
    void realDataEdit(HouseMessage_DataSqlTable::HouseMessageData model, bool oa);
    void loadLocalData();
    void watchKeyMessage();
    void sendMustFollow();
    void clearMustFollow();
    void readSuccess();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildTitleBar();
    QPushButton *tabButton(QWidget *bar, const char *name, const QString &text, int tab);
    void styleTabButtons();
    QWidget *createPage(int tab);
    QWidget *createFirstPage();
    QWidget *createCommunityPage();
    QWidget *createPromotionPage();
    void fillPromotionPage();
    void showCommunity();
    void fillFirstPage();
    void readCommunityData();
    AlertWidget *ownBox(const QString &text, int buttonMode);
    void offerRefresh();
    void followFirst(int waitingId, const QString &message);
    void viewAnswered(int id, bool refused);
    void assignEnded();

    int m_firstTab;
    int m_firstPageFlag;
    HouseMessage_DataSqlTable::HouseMessageData m_record;
    int m_requestedId = 0;
    bool m_rent = false;
    bool m_hideNavigation = false;
    bool m_refreshed = false;
    bool m_mustFollowActive = false;
    // The listing the agent was sent to by "去跟进": the rule applies to it once it shows.
    int m_followTarget = 0;
    // A follow-up of the shown listing was saved while it was shown.
    bool m_followedHere = false;
    QVariantMap m_communityData;
    int m_communityShown = -1;

    int m_currentTab = 0;
    QMap<int, QWidget *> m_pages;
    QMap<int, QPushButton *> m_tabButtons;
    HouseDetailFirstPageWidget *m_firstPage = nullptr;
    QWidget *m_communityPage = nullptr;
    QStackedWidget *m_stack = nullptr;
    BusyOverlay *m_overlay = nullptr;
    ListingViewService *m_views = nullptr;
};
