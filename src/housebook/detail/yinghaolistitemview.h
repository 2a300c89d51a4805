#pragma once
// One row of the hidden-number ("隐号") contact list. The first page shows the contact with
// "查看真实号码" (where the listing allows it) and "拨打"; calling asks the server for a safe
// number bound to the agent's authorised phone and turns to the second page, which tells the
// agent what to dial and counts the minute the binding lasts, then turns back.
#include <QString>
#include <QWidget>

class ListingDetailService;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTimer;

class YingHaoListItemView : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kCallSeconds = 60;

    explicit YingHaoListItemView(QWidget *parent = nullptr);

    // itemId: the contact entry as the server knows it; realAllowed shows "查看真实号码".
    void setData(const QString &name, const QString &phone, const QString &itemId, bool rent, bool realAllowed);

    int currentPage() const;
    int remainingSeconds() const { return m_remaining; }
    bool isCounting() const;

    // The library "去购买" loads (the host ships "qx_callBaby.dll").
    static void setCallBabyLibrary(const QString &name);

public slots:
    void callClick();
    void showRealNumber();
    // One second of the call's minute; at 0 the row returns to its first page.
    void countDown();

private:
    QWidget *createFirstPage();
    QWidget *createSecondPage();
    void showSafeNumber(const QString &caller, const QString &called);
    void offerRecharge(const QString &message);
    void endWaiting();

    ListingDetailService *m_service;
    QString m_name;
    QString m_phone;
    QString m_itemId;
    bool m_rent = false;
    int m_remaining = 0;
    QStackedWidget *m_stack = nullptr;
    QLabel *m_nameLabel = nullptr;
    QLabel *m_realLabel = nullptr;
    QPushButton *m_realButton = nullptr;
    QPushButton *m_callButton = nullptr;
    QLabel *m_safeLabel = nullptr;
    QLabel *m_tipLabel = nullptr;
    QLabel *m_countLabel = nullptr;
    QTimer *m_timer = nullptr;
};
