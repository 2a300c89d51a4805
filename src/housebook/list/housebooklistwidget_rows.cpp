// The list page's row actions: opening a listing, the context menu, and the changes asked
// for from it (flags, status, deletion), which the listing change service posts and stores;
// the page reloads and tells the agent.
#include "list/housebooklistwidget.h"

#include "detail/housebookmessagedetailwidget.h"
#include "detail/listingformlauncher.h"
#include "entry_forms/listingentryform.h"
#include "list/housebookchangestatechoosedayswidget.h"
#include "list/housecontextmenu.h"
#include "list/houserowtexts.h"
#include "list/housewatchrange.h"
#include "list/houselisttablewidget.h"
#include "platform/housebookcodes.h"
#include "portal/housebookxinfulipushobject.h"
#include "services/listingchangeservice.h"
#include "sql/housebookset_sqltable.h"
#include "sql/usermessage_datasqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/pagedlistcontroller.h"

#include <QMenu>

using HouseBookCodes::kJointSale;

namespace {

QString flagTitle(int type)
{
    static const char *const names[] = {"置顶", "锁盘", "封盘", "独家"};
    return HouseBookCodes::isFlagType(type)
               ? QStringLiteral("修改房源-") + QString::fromUtf8(names[type - HouseBookCodes::TopFlag])
               : QString();
}

} // namespace

QList<int> HouseBookListWidget::listingIds() const
{
    QList<int> ids;
    for (const Record &r : m_listings) {
        if (r.id > 0)
            ids << r.id;
    }
    return ids;
}

int HouseBookListWidget::rowOfId(int id) const
{
    for (int row = 0; row < m_listings.size(); ++row) {
        if (m_listings.at(row).id == id)
            return row;
    }
    return -1;
}

void HouseBookListWidget::openRow(int row)
{
    if (row < 0 || row >= m_listings.size())
        return;
    const Record record = m_listings.at(row);
    if (record.shenhestatus == 1)
        dealHouseReviewEdit(record);
    else if (record.housestatus == 0)
        dealHouseAgainEdit(record);
    else
        openDetail(row);
}

void HouseBookListWidget::openDetail(int row)
{
    auto *detail = new HouseBookMessageDetailWidget(nullptr, 1, 1);
    CommonAddWidget *popup = openPopup(this, PopupSize::Detail, QString(), detail);
    connect(detail, &HouseBookMessageDetailWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    connect(detail, &HouseBookMessageDetailWidget::lastPage, this, &HouseBookListWidget::detailPageLastPage);
    connect(detail, &HouseBookMessageDetailWidget::nextPage, this, &HouseBookListWidget::detailPageNextPage);
    detail->showHouseAt(row, listingIds(), false);
    Record &record = m_listings[row];
    if (record.isread == 0) {
        record.isread = 1;
        m_table->markRowRead(row);
        HouseBookSet_SqlTable(nullptr, kJointSale).appendHistoryId(QStringLiteral("readhistory"), QString::number(record.id));
    }
}

void HouseBookListWidget::detailPageLastPage(HouseBookMessageDetailWidget *w)
{
    if (!m_pager->stepWithoutRequest(PagedListController::Back))
        return;
    loadNow();
    if (w)
        w->showHouseAt(m_listings.size() - 1, listingIds(), false);
}

void HouseBookListWidget::detailPageNextPage(HouseBookMessageDetailWidget *w)
{
    if (!m_pager->stepWithoutRequest(PagedListController::Forward))
        return;
    loadNow();
    if (w)
        w->showHouseAt(0, listingIds(), false);
}

void HouseBookListWidget::dealHouseAgainEdit(HouseMessage_DataSqlTable::HouseMessageData model)
{
    openEntryForm(model, false);
}

void HouseBookListWidget::dealHouseReviewEdit(HouseMessage_DataSqlTable::HouseMessageData model)
{
    if (!UserMessage_DataSqlTable(nullptr, kJointSale).isHaveAuthority(136, QString(), model.deptid)) {
        AlertWidget::warning(QStringLiteral("你没有审核权限，无法审核该房源！"));
        return;
    }
    openEntryForm(model, true);
}

// The rows hold only the columns the table shows; the form fills and posts every field, so
// it gets the whole stored listing (the row itself when the store no longer has it).
void HouseBookListWidget::openEntryForm(const Record &model, bool review)
{
    using ListingFormLauncher::Purpose;
    Record whole = HouseMessage_DataSqlTable(nullptr, kJointSale).getHouseData(model.id);
    if (whole.id != model.id || model.id <= 0)
        whole = model;
    ListingEntryForm *form = ListingFormLauncher::open(this, review ? Purpose::Review : Purpose::Edit,
                                                       HouseBookCodes::isRentListing(whole.types), whole);
    connect(form, &ListingEntryForm::addHouseSuccess, this, [this, review] {
        if (review)
            AlertWidget::tip(QStringLiteral("审核房源成功！"));
        emit refreshNotDeal();
    });
}

void HouseBookListWidget::showTableMeun(QPoint pos)
{
    const int row = m_table->rowAt(pos.y());
    if (row < 0 || row >= m_listings.size())
        return;
    m_menuRow = row;
    const Record record = m_listings.at(row);
    const bool sale = !HouseBookCodes::isRentListing(record.types);
    HouseContextMenu::Handlers handlers;
    handlers.flag = [this, id = record.id](int type, int state) { modifyHouseShuXing(id, type, state); };
    handlers.remove = [this] { deleteHouse(); };
    handlers.status = [this, id = record.id](const QString &status) { modifyHouseStatus(id, status); };
    const auto entries = HouseContextMenu::entriesFor(record, ListingRights::of(record, kJointSale));
    if (entries.isEmpty())
        return;
    m_menu->setStyleSheet(HouseContextMenu::styleSheet());
    HouseContextMenu::fill(m_menu, entries, HouseContextMenu::statusNames(sale, kJointSale), record.newstate, handlers);
    m_menu->popup(m_table->viewport()->mapToGlobal(pos));
}

void HouseBookListWidget::connectChanges()
{
    m_changes = new ListingChangeService(this);
    connect(m_changes, &ListingChangeService::postFinished, m_overlay, &BusyOverlay::stop);
    connect(m_changes, &ListingChangeService::flagChanged, this,
            [this](int, int type, int) { flagChanged(type); });
    connect(m_changes, &ListingChangeService::statusChanged, this, &HouseBookListWidget::statusChanged);
    connect(m_changes, &ListingChangeService::listingDeleted, this, &HouseBookListWidget::houseDeleted);
    connect(m_changes, &ListingChangeService::takeDownDue, this, &HouseBookListWidget::takeDownFromPortal);
}

// Setting a flag asks for its term first; the days chooser posts the change itself.
void HouseBookListWidget::modifyHouseShuXing(int id, int type, int state)
{
    if (!HouseBookCodes::isFlagType(type))
        return;
    if (state == 1) {
        auto *chooser = new HouseBookChangeStateChooseDaysWidget(nullptr, id, type, 1);
        CommonAddWidget *popup = openPopup(this, PopupSize::DaysChooser, flagTitle(type), chooser);
        connect(chooser, &HouseBookChangeStateChooseDaysWidget::modifySuccess, popup, &CommonAddWidget::closeWidget);
        connect(chooser, &HouseBookChangeStateChooseDaysWidget::modifySuccess, this, &HouseBookListWidget::refreshData);
        return;
    }
    m_overlay->start();
    m_changes->changeFlag(id, type, state);
}

void HouseBookListWidget::flagChanged(int type)
{
    refreshData();
    AlertWidget::tip(ListingChangeService::flagSuccessText(type));
}

void HouseBookListWidget::modifyHouseStatus(int id, QString txt)
{
    m_overlay->start();
    m_changes->changeStatus(id, txt);
}

void HouseBookListWidget::statusChanged()
{
    refreshData();
    AlertWidget::tip(QStringLiteral("更改房源状态成功！"));
}

void HouseBookListWidget::deleteHouse()
{
    if (m_menuRow < 0 || m_menuRow >= m_listings.size())
        return;
    const Record record = m_listings.at(m_menuRow);
    const QString name = HouseRowTexts::displayName(record).toHtmlEscaped();
    const QString question =
        QStringLiteral("<p style=\"font-size:14px;\"><span style=\"color:#000000;\">是否确定要删除房源</span>"
                       "<span style=\"color:#ff0000;font-weight:600;\">&lt;%1&gt;</span></p>").arg(name);
    auto *box = new AlertWidget(question, AlertWidget::WarningIcon, AlertWidget::SureAndCancle);
    box->setTitle(QStringLiteral("删除房源"));
    box->setSureText(QStringLiteral("删除"));
    connect(box, &AlertWidget::sureClick, this, [this, id = record.id] {
        m_overlay->start();
        m_changes->deleteListing(id);
    });
}

void HouseBookListWidget::houseDeleted(int id)
{
    const int row = rowOfId(id);
    const bool wasPending = row >= 0 && m_listings.at(row).housestatus == 0;
    if (row >= 0) {
        m_listings.removeAt(row);
        m_table->removeRow(row);
    }
    // A count under way is of the query before the deletion or after it; the reload the
    // deletion's announcement brings counts again.
    if (!m_pager->isCounting())
        houseCount(qMax(0, total() - 1));
    if (wasPending)
        emit refreshNotDeal();
}

void HouseBookListWidget::takeDownFromPortal(int id, const QString &reason)
{
    (new HouseBookXinfuLiPushObject)->xiaJiaData(id, reason);
}

void HouseBookListWidget::showWatchRange()
{
    auto *box = AlertWidget::tip(HouseWatchRange::text(HouseBookCodes::isSaleMode(m_mode), kJointSale));
    box->setTitle(QStringLiteral("查看房源范围："));
}
