#pragma once
// A settings page of one book, sale or rent: which search items and list columns the agent's
// own book ("我的出售") and the store's book ("门店出售") show, in which order, each in a
// SortWidget; and the switch with which a manager gives the whole company the same lists.
// The page shows what the settings store holds, offers the rest of the book's catalogue
// unchosen, and posts the four lists and the switch to the server.
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class HouseBookSettingsService;
class QCheckBox;
class QGridLayout;
class SortWidget;

// What tells the sale page from the rent page.
struct BookSetKind
{
    int book;            // HouseBookSet_SqlTable::SaleBook or RentBook
    QString word;        // "出售" / "出租": "我的出售", "门店出售", the refusals
    QString keyStem;     // "sale" / "rent": mysalesearch, storesaleshow, company_sale_style
    // Search items and list columns that belong to the other book only (a rent list has no
    // total price, a sale list no monthly rent); the page never offers them.
    QSet<int> foreignSearch;
    QSet<int> foreignColumns;

    static const BookSetKind &sale();
    static const BookSetKind &rent();
};

class HouseBookBookSetPage : public QWidget
{
    Q_OBJECT
public:
    HouseBookBookSetPage(const BookSetKind &kind, QWidget *parent);

signals:
    void closeWidget();
    void setSuccess();

public slots:
    // Shows the lists and the switch as the settings store holds them.
    void showSet();
    // Store entries as SortWidget entries {id, title, choose, default_choose[, tip_id]}; the
    // community search item and the number column (id 1 in either list) are required.
    QList<QVariantMap> gaiZaoData(const QList<QVariantMap> &list);

protected:
    // Checks the agent's own lists, then posts all four and the switch.
    void submit();

private:
    SortWidget *addSortRow(QGridLayout *grid, const QString &objectName, const QString &title);
    QList<QVariantMap> offered(const QList<QVariantMap> &chosen, const QList<QVariantMap> &catalogue,
                               const QSet<int> &foreign, bool (*inBook)(int));
    QString key(const char *prefix, const char *suffix) const;

    const BookSetKind &m_kind;
    SortWidget *m_mySearch = nullptr;
    SortWidget *m_myShow = nullptr;
    SortWidget *m_storeSearch = nullptr;
    SortWidget *m_storeShow = nullptr;
    QCheckBox *m_companyStyle = nullptr;
    BusyOverlay *m_overlay = nullptr;
    HouseBookSettingsService *m_service = nullptr;
};
