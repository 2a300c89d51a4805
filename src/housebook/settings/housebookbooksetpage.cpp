#include "settings/housebookbooksetpage.h"

#include "net/wholenumber.h"
#include "platform/housebookcodes.h"
#include "services/housebooksettingsservice.h"
#include "settings/settingssave.h"
#include "sql/housebookcatalogue.h"
#include "sql/housebookset_sqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/namedwidgets.h"
#include "widgets/sortwidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kSortColumns = 5;
// Id 1 is the community in the search items and the number in the list columns; a book
// without either cannot be searched or told apart.
constexpr int kRequiredId = 1;

const QString kId = QStringLiteral("id");
const QString kTitle = QStringLiteral("title");
const QString kChoose = QStringLiteral("choose");
const QString kDefaultChoose = QStringLiteral("default_choose");
const QString kTipId = QStringLiteral("tip_id");

// The catalogues also hold the contract and customer books' entries; a listing book offers
// its own: search fields 1..38 and the two team-cooperation filters, list columns 1..36 and
// the team-cooperation and type columns.
bool isListingSearch(int id)
{
    return (id >= 1 && id <= 38) || id == 76 || id == 77;
}

bool isListingColumn(int id)
{
    return (id >= 1 && id <= 36) || id == 61 || id == 62;
}

// The books search by 区域/片区 (83), which took the place of the plain area field (2); a
// search list that has the first is not offered the second as well.
QSet<int> notOffered(QSet<int> foreign, const QList<QVariantMap> &searchItems)
{
    constexpr int kAreaField = 2;
    constexpr int kAreaAndZoneField = 83;
    for (const QVariantMap &entry : searchItems) {
        if (WholeNumber::toInt(entry.value(kId)) == kAreaAndZoneField)
            foreign.insert(kAreaField);
    }
    return foreign;
}

// A list the settings object holds, as an array or as its JSON text.
QList<QVariantMap> storedList(const QVariant &value)
{
    const QVariantList list = value.type() == QVariant::List ? value.toList()
                                                             : HouseBookCatalogue::listFromText(value.toString());
    QList<QVariantMap> maps;
    for (const QVariant &entry : list) {
        if (entry.type() == QVariant::Map)
            maps << entry.toMap();
    }
    return maps;
}

bool anyChosen(const QList<QVariantMap> &entries)
{
    for (const QVariantMap &entry : entries) {
        if (entry.value(kChoose).toBool())
            return true;
    }
    return false;
}

// The posted form of a list: {id, title, choose} of every entry, in the shown order.
QString choiceText(const QList<QVariantMap> &entries)
{
    QList<QVariantMap> choices;
    for (const QVariantMap &entry : entries)
        choices << QVariantMap{{kId, WholeNumber::toInt(entry.value(kId))},
                               {kTitle, entry.value(kTitle).toString()},
                               {kChoose, entry.value(kChoose).toBool()}};
    return HouseBookSettingsService::listText(choices);
}

} // namespace

const BookSetKind &BookSetKind::sale()
{
    // Search: 入住时间, 租房方式, 付款方式, 租金, the rent states and tags; columns: 租房方式,
    // 付款方式, 租金, 入住时间.
    static const BookSetKind kind{HouseBookSet_SqlTable::SaleBook, QStringLiteral("出售"), QStringLiteral("sale"),
                                  {15, 16, 17, 36, 37, 38}, {11, 12, 13, 14}};
    return kind;
}

const BookSetKind &BookSetKind::rent()
{
    // Search: the sale tags and states, 总价, 产权, 产证, 单价; columns: 总价, 产权, 产证, 单价.
    static const BookSetKind kind{HouseBookSet_SqlTable::RentBook, QStringLiteral("出租"), QStringLiteral("rent"),
                                  {19, 20, 26, 31, 32, 35}, {26, 27, 28, 32}};
    return kind;
}

HouseBookBookSetPage::HouseBookBookSetPage(const BookSetKind &kind, QWidget *parent)
    : QWidget(parent), m_kind(kind), m_service(new HouseBookSettingsService(this))
{
    auto *content = new QWidget;
    auto *grid = new QGridLayout(content);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(16);
    m_mySearch = addSortRow(grid, QStringLiteral("mySearchSort"), QStringLiteral("我的%1搜索项：").arg(kind.word));
    m_myShow = addSortRow(grid, QStringLiteral("myShowSort"), QStringLiteral("我的%1列表项：").arg(kind.word));
    m_storeSearch = addSortRow(grid, QStringLiteral("storeSearchSort"), QStringLiteral("门店%1搜索项：").arg(kind.word));
    m_storeShow = addSortRow(grid, QStringLiteral("storeShowSort"), QStringLiteral("门店%1列表项：").arg(kind.word));

    m_companyStyle = new QCheckBox(QStringLiteral("全公司统一设置"), content);
    m_companyStyle->setObjectName(QStringLiteral("companyStyleCheck"));
    m_companyStyle->setToolTip(QStringLiteral("勾选后，全公司的我的%1都使用这里的设置（仅管理员可修改）").arg(kind.word));
    grid->addWidget(m_companyStyle, grid->rowCount(), 1);
    grid->setRowStretch(grid->rowCount(), 1);

    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(content);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    m_overlay = new BusyOverlay(this);

    SettingsSave::bind(m_service, HouseBookSettingsService::Config, m_overlay, [this] { showSet(); },
                       [this] { emit setSuccess(); });
    showSet();
}

SortWidget *HouseBookBookSetPage::addSortRow(QGridLayout *grid, const QString &objectName, const QString &title)
{
    const int row = grid->rowCount();
    auto *label = new QLabel(title + QStringLiteral("\n（拖动排序）"), grid->parentWidget());
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto *sort = new SortWidget(grid->parentWidget());
    sort->setObjectName(objectName);
    grid->addWidget(label, row, 0);
    grid->addWidget(sort, row, 1);
    return sort;
}

void HouseBookBookSetPage::showSet()
{
    HouseBookSet_SqlTable store(nullptr, HouseBookCodes::kJointSale);
    const QList<QVariantMap> mySearch = store.searchItems(m_kind.book);
    const QList<QVariantMap> myShow = store.showItems(m_kind.book);
    QList<QVariantMap> storeSearch = storedList(store.bookSetValue(key("store", "search")));
    QList<QVariantMap> storeShow = storedList(store.bookSetValue(key("store", "show")));
    const QList<QVariantMap> searchCatalogue = store.searchCatalogue();
    const QList<QVariantMap> columnCatalogue = store.columnCatalogue();

    if (storeSearch.isEmpty())
        storeSearch = mySearch;
    if (storeShow.isEmpty())
        storeShow = myShow;

    m_mySearch->setItems(offered(mySearch, searchCatalogue, notOffered(m_kind.foreignSearch, mySearch), isListingSearch),
                         kSortColumns);
    m_myShow->setItems(offered(myShow, columnCatalogue, m_kind.foreignColumns, isListingColumn), kSortColumns);
    m_storeSearch->setItems(
        offered(storeSearch, searchCatalogue, notOffered(m_kind.foreignSearch, storeSearch), isListingSearch),
        kSortColumns);
    m_storeShow->setItems(offered(storeShow, columnCatalogue, m_kind.foreignColumns, isListingColumn), kSortColumns);

    m_companyStyle->setChecked(WholeNumber::toInt(store.bookSetValue(key("company_", "_style"))) == 1);
    m_companyStyle->setEnabled(SettingsSave::mayChangeCompanyChoices());
}

// The stored entries in their order, then every other entry of the book's catalogue
// unchosen, so that a column the agent never had can be chosen here.
QList<QVariantMap> HouseBookBookSetPage::offered(const QList<QVariantMap> &chosen, const QList<QVariantMap> &catalogue,
                                                 const QSet<int> &foreign, bool (*inBook)(int))
{
    QList<QVariantMap> entries;
    QSet<int> seen;
    for (const QVariantMap &entry : chosen) {
        const int id = WholeNumber::toInt(entry.value(kId));
        if (id > 0 && !foreign.contains(id) && !seen.contains(id)) {
            seen.insert(id);
            entries << entry;
        }
    }
    for (QVariantMap entry : catalogue) {
        const int id = WholeNumber::toInt(entry.value(kId));
        if (inBook(id) && !foreign.contains(id) && !seen.contains(id)) {
            seen.insert(id);
            entry.insert(kChoose, false);
            entries << entry;
        }
    }
    return gaiZaoData(entries);
}

QList<QVariantMap> HouseBookBookSetPage::gaiZaoData(const QList<QVariantMap> &list)
{
    QList<QVariantMap> entries;
    for (const QVariantMap &item : list) {
        const int id = WholeNumber::toInt(item.value(kId));
        const bool required = id == kRequiredId || item.value(kDefaultChoose).toBool();
        QVariantMap entry{{kId, id},
                          {kTitle, item.value(kTitle).toString()},
                          {kChoose, required || item.value(kChoose).toBool()},
                          {kDefaultChoose, required}};
        const int tip = WholeNumber::toInt(item.value(kTipId));
        if (tip > 0)
            entry.insert(kTipId, tip);
        entries << entry;
    }
    return entries;
}

QString HouseBookBookSetPage::key(const char *prefix, const char *suffix) const
{
    return QLatin1String(prefix) + m_kind.keyStem + QLatin1String(suffix);
}

void HouseBookBookSetPage::submit()
{
    if (m_overlay->isRunning())
        return;
    const QString refusal = QStringLiteral("请至少选择一个我的%1%2项显示").arg(m_kind.word);
    if (!anyChosen(m_mySearch->items())) {
        AlertWidget::warning(refusal.arg(QStringLiteral("搜索")));
        return;
    }
    if (!anyChosen(m_myShow->items())) {
        AlertWidget::warning(refusal.arg(QStringLiteral("列表")));
        return;
    }
    const QVariantMap form{{key("my", "search"), choiceText(m_mySearch->items())},
                           {key("my", "show"), choiceText(m_myShow->items())},
                           {key("store", "search"), choiceText(m_storeSearch->items())},
                           {key("store", "show"), choiceText(m_storeShow->items())},
                           {key("company_", "_style"), m_companyStyle->isChecked() ? QStringLiteral("1")
                                                                                   : QStringLiteral("0")}};
    m_overlay->start(QStringLiteral("提交设置中..."));
    m_service->saveConfig(form);
}
