#include "detail/listingformlauncher.h"

#include "detail/housebookmessagedetailwidget.h"
#include "entry_forms/addrenthousetobookwidget.h"
#include "entry_forms/addsalehousetobookwidget.h"
#include "services/listingdetailservice.h"
#include "widgets/alertwidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QCoreApplication>
#include <QPointer>

namespace ListingFormLauncher {

namespace {

QString kindWord(bool rent)
{
    return rent ? QStringLiteral("出租") : QStringLiteral("出售");
}

// The store fetches what changed on the server; the service goes once the download ends.
void fetchChangedListings()
{
    auto *service = new ListingDetailService(QCoreApplication::instance());
    QObject::connect(service, &ListingDetailService::storeDownloadFinished, service, &QObject::deleteLater);
    service->fetchChangedListings();
}

void offerToView(QWidget *parent, bool rent, int houseId)
{
    auto *box = new AlertWidget(QStringLiteral("%1房源已成功添加到房源本，是否查看?").arg(kindWord(rent)),
                                AlertWidget::TipIcon, AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("查看"));
    box->setCancleText(QStringLiteral("我知道了"));
    QPointer<QWidget> owner(parent);
    QObject::connect(box, &AlertWidget::sureClick, box, [owner, houseId] {
        if (owner)
            openDetail(owner, houseId);
    });
}

} // namespace

QString titleOf(Purpose purpose, bool rent)
{
    switch (purpose) {
    case Purpose::NewListing:
        return QStringLiteral("添加") + kindWord(rent);
    case Purpose::Publish:
        return QStringLiteral("发布%1房源至联卖系统").arg(kindWord(rent));
    case Purpose::Edit:
        return kindWord(rent) + QStringLiteral("房源编辑");
    case Purpose::Review:
        return kindWord(rent) + QStringLiteral("房源审核");
    }
    return QString();
}

ListingEntryForm *open(QWidget *parent, Purpose purpose, bool rent,
                       const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    const bool edit = purpose == Purpose::Edit || purpose == Purpose::Review;
    const bool review = purpose == Purpose::Review;
    ListingEntryForm *form = rent ? static_cast<ListingEntryForm *>(new addRentHouseToBookWidget(nullptr, edit, review))
                                  : new AddSaleHouseToBookWidget(nullptr, edit, review);
    if (purpose == Purpose::Publish)
        form->setSourceData(QString::number(record.id), QStringLiteral("20"), 0);
    if (purpose != Purpose::NewListing)
        form->setHouseData(record);
    CommonAddWidget *popup = openPopup(parent, PopupSize::EntryForm, titleOf(purpose, rent), form);
    QPointer<QWidget> owner(parent);
    QObject::connect(form, &ListingEntryForm::closeWidget, popup, &CommonAddWidget::closeWidget);
    QObject::connect(form, &ListingEntryForm::viewListingRequested, popup, [owner](int id) {
        if (owner)
            openDetail(owner, id);
    });
    QObject::connect(form, &ListingEntryForm::addHouseSuccess, popup, [popup, owner, purpose, rent](int id) {
        fetchChangedListings();
        popup->closeWidget();
        if (purpose == Purpose::NewListing)
            offerToView(owner, rent, id);
        else if (purpose == Purpose::Edit)
            AlertWidget::tip(QStringLiteral("修改房源成功！"));
    });
    return form;
}

void openDetail(QWidget *parent, int houseId)
{
    auto *detail = new HouseBookMessageDetailWidget(nullptr, 1, 1);
    CommonAddWidget *popup = openPopup(parent, PopupSize::Detail, QString(), detail);
    QObject::connect(detail, &HouseBookMessageDetailWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    detail->showHouseId(houseId);
}

} // namespace ListingFormLauncher
