#include "detail/photos/housebookphotostackwidget.h"

#include "datacenter.h"
#include "detail/photos/housebookphotosaddwidget.h"
#include "detail/photos/housedetailsecondpagewidget.h"
#include "services/listingdetailservice.h"
#include "widgets/commonaddwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace HouseBookPhotos_Model;

namespace {

constexpr int kListWidth = 200;

QString rowText(const DataItem &record)
{
    const QString name = (record.username.isEmpty() ? record.userphone : record.username).toHtmlEscaped();
    const QString pending = record.state == 0 ? QStringLiteral(" <span style=\"color:red\">(待审核)</span>") : QString();
    return QStringLiteral("%1%2<br><span style=\"color:gray\">%3</span>").arg(name, pending, record.time.toHtmlEscaped());
}

} // namespace

HouseBookPhotoStackWidget::HouseBookPhotoStackWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("houseBookPhotoStack"));
    m_photos = new PhotoService(this);
    m_listingService = new ListingDetailService(this);
    connect(m_photos, &PhotoService::recordsArrived, this, &HouseBookPhotoStackWidget::dealData);
    connect(m_photos, &PhotoService::vrsArrived, this, &HouseBookPhotoStackWidget::dealVrData);
    connect(m_photos, &PhotoService::watermarkArrived, this, &HouseBookPhotoStackWidget::dealWaterMarkData);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *left = new QWidget(this);
    left->setFixedWidth(kListWidth);
    auto *column = new QVBoxLayout(left);
    column->setContentsMargins(6, 6, 0, 6);
    m_apply = new QPushButton(QStringLiteral("申请实勘人>"), left);
    m_apply->setObjectName(QStringLiteral("applyShiKanButton"));
    m_apply->setFlat(true);
    m_apply->setCursor(Qt::PointingHandCursor);
    m_apply->setStyleSheet(QStringLiteral("color:rgb(12,145,235);text-align:left;"));
    connect(m_apply, &QPushButton::clicked, this, &HouseBookPhotoStackWidget::applyShiKanPeople);
    column->addWidget(m_apply);
    m_list = new QListWidget(left);
    m_list->setObjectName(QStringLiteral("recordListWidget"));
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0)
            return;
        m_chosen = row;
        updateChooseUI();
    });
    column->addWidget(m_list, 1);
    layout->addWidget(left);

    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("photoPageStack"));
    layout->addWidget(m_stack, 1);
}

void HouseBookPhotoStackWidget::setListing(const HouseMessage_DataSqlTable::HouseMessageData &listing)
{
    if (listing.id != m_listing.id) {
        m_records.clear();
        m_vrs.clear();
        m_chosen = 0;
    }
    m_listing = listing;
    // The page shows the listing (its roles, its VR views) while the records are on their way.
    showLeftList();
    fillPages();
    updateChooseUI();
    if (listing.id <= 0)
        return;
    refreshListDeal();
    downloadVrs();
    downloadWaterMark();
}

void HouseBookPhotoStackWidget::downloadPhotos()
{
    m_photos->loadRecords(m_listing.id);
}

void HouseBookPhotoStackWidget::downloadVrs()
{
    m_photos->loadVrs(m_listing.id, m_listing.types == 1);
}

void HouseBookPhotoStackWidget::downloadWaterMark()
{
    m_photos->loadWatermark();
}

void HouseBookPhotoStackWidget::refreshListDeal()
{
    downloadPhotos();
}

// The record chosen before a reload stays chosen when it is still there; after the agent
// has submitted photos, her own record is shown.
void HouseBookPhotoStackWidget::dealData(const QList<DataItem> &records)
{
    const QString chosenId = m_records.value(m_chosen).id;
    m_records = records;
    m_chosen = 0;
    for (int row = records.size() - 1; row >= 0; --row) {
        const bool own = records.at(row).userphone == DataCenter::UserPhoneNumber;
        if (m_showOwnRecord ? own : (!chosenId.isEmpty() && records.at(row).id == chosenId))
            m_chosen = row;
    }
    m_showOwnRecord = false;
    showLeftList();
    fillPages();
    updateChooseUI();
}

void HouseBookPhotoStackWidget::dealVrData(const QList<Video> &vrs)
{
    m_vrs = vrs;
    fillPages();
}

void HouseBookPhotoStackWidget::dealWaterMarkData(const QString &platform, int imagestyle)
{
    m_watermark = platform;
    m_watermarkStyle = imagestyle;
    for (HouseDetailSecondPageWidget *page : qAsConst(m_pages))
        page->setWatermark(platform, imagestyle);
}

void HouseBookPhotoStackWidget::showLeftList()
{
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const DataItem &record : qAsConst(m_records)) {
        auto *item = new QListWidgetItem(m_list);
        auto *label = new QLabel(rowText(record), m_list);
        label->setObjectName(QStringLiteral("recordLabel"));
        label->setTextFormat(Qt::RichText);
        label->setContentsMargins(6, 4, 6, 4);
        item->setSizeHint(label->sizeHint());
        m_list->setItemWidget(item, label);
    }
    if (!m_records.isEmpty())
        m_list->setCurrentRow(m_chosen);
}

// Pages of rows that no longer exist go; the others show their record anew.
void HouseBookPhotoStackWidget::fillPages()
{
    const int rows = qMax(1, m_records.size());
    for (auto it = m_pages.begin(); it != m_pages.end();) {
        if (it.key() >= rows) {
            it.value()->deleteLater();
            it = m_pages.erase(it);
            continue;
        }
        it.value()->setData(m_listing, m_records.value(it.key()), m_vrs);
        ++it;
    }
}

void HouseBookPhotoStackWidget::updateChooseUI()
{
    m_stack->setCurrentWidget(getPhotoShowView());
}

HouseDetailSecondPageWidget *HouseBookPhotoStackWidget::getPhotoShowView()
{
    return pageFor(m_records.isEmpty() ? 0 : qBound(0, m_chosen, m_records.size() - 1));
}

HouseDetailSecondPageWidget *HouseBookPhotoStackWidget::pageFor(int row)
{
    if (HouseDetailSecondPageWidget *page = m_pages.value(row))
        return page;
    auto *page = new HouseDetailSecondPageWidget(m_stack);
    page->setWatermark(m_watermark, m_watermarkStyle);
    page->setData(m_listing, m_records.value(row), m_vrs);
    connect(page, &HouseDetailSecondPageWidget::refreshList, this, &HouseBookPhotoStackWidget::refreshListDeal);
    connect(page, &HouseDetailSecondPageWidget::editPhotos, this, &HouseBookPhotoStackWidget::editPhotos);
    m_stack->addWidget(page);
    m_pages.insert(row, page);
    return page;
}

// Applying for the survey role is the role's assignment: the agent picks who takes it
// (usually themself) and the server records the holder, pending review where it wants one.
void HouseBookPhotoStackWidget::applyShiKanPeople()
{
    if (m_listing.id > 0)
        getPhotoShowView()->assignRole(HouseDetailSecondPageWidget::ShiKan);
}

// The window edits the agent's own record, whose photos it loads; a record of another agent
// shown on the page is not replaced by them, the agent's set becomes a record of her own.
void HouseBookPhotoStackWidget::editPhotos(const QString &recordId)
{
    QString own;
    for (const DataItem &record : qAsConst(m_records)) {
        if (record.id == recordId && record.userphone == DataCenter::UserPhoneNumber)
            own = recordId;
    }
    HouseBookPhotosAddWidget *editor = HouseBookPhotosAddWidget::openEditor(this, m_listing, own);
    auto *frame = qobject_cast<CommonAddWidget *>(editor->window());
    connect(editor, &HouseBookPhotosAddWidget::addSuccess, frame, [this, frame] {
        frame->closeWidget();
        m_showOwnRecord = true;
        refreshListDeal();
        // The listing's photo column and count changed with the set: the local store fetches
        // the listing again and its change notice brings the window the new counts.
        m_listingService->refreshOneListing(m_listing.id);
    });
}
