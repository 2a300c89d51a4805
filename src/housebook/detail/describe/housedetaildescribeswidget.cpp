#include "detail/describe/housedetaildescribeswidget.h"

#include "detail/describe/housebookdescribeevaluatewidget.h"
#include "detail/describe/housedetaildescribeeditwidget.h"
#include "detail/describe/joinertext.h"
#include "detail/follow/housebookdetailmodifyhistorywidget.h"
#include "platform/siblinglibrary.h"
#include "services/describeservice.h"
#include "services/listingdetailservice.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

enum SubTab { PushTab = 0, EvaluationTab = 1, HistoryTab = 2 };

} // namespace

HouseDetailDescribesWidget::HouseDetailDescribesWidget(QWidget *parent)
    : DescribePageBase(true, parent)
    , m_listings(new ListingDetailService(this))
{
    auto *panorama = new QPushButton(QStringLiteral("查看全景"), contentWidget());
    panorama->setObjectName(QStringLiteral("pushButton_seeQuanjing"));
    panorama->setCursor(Qt::PointingHandCursor);
    connect(panorama, &QPushButton::clicked, this, &HouseDetailDescribesWidget::seeQuanJin);
    extraLayout()->addWidget(panorama, 0, Qt::AlignLeft);

    auto *scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(contentWidget());
    m_evaluations = new HouseBookDescribeEvaluateWidget;
    m_history = new HouseBookDetailModifyHistoryWidget;
    m_history->setObjectName(QStringLiteral("modifyHistory"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("describeTabs"));
    m_tabs->addTab(scroll, QStringLiteral("房源推送"));
    m_tabs->addTab(m_evaluations, QStringLiteral("房屋评价"));
    m_tabs->addTab(m_history, QStringLiteral("修改记录"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &HouseDetailDescribesWidget::showSubTab);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tabs);
}

void HouseDetailDescribesWidget::refreshData()
{
    const auto &r = record();
    showPromotion(r.title, r.describes, DescribeTexts::photosOf(r.describespicture), r.quanjing);
    m_shownIds.clear();
    showSubTab(m_tabs->currentIndex());
}

// The evaluations and the history are asked for when their sub-tab is first seen for a listing.
void HouseDetailDescribesWidget::showSubTab(int index)
{
    if (record().id <= 0 || m_shownIds.value(index) == record().id)
        return;
    if (index == EvaluationTab)
        m_evaluations->dealHouseData(record());
    else if (index == HistoryTab)
        m_history->showHouse(record().id, true);
    m_shownIds.insert(index, record().id);
}

void HouseDetailDescribesWidget::saveCover(const QList<DescribeTexts::Photo> &photos)
{
    service()->setPromotionCover(true, record().id, DescribeTexts::photosJson(photos, false));
}

void HouseDetailDescribesWidget::seeQuanJin()
{
    const QString address = JoinerText::shown(record().quanjing).trimmed();
    if (address.isEmpty())
        return;
    using LoadUrl = void (*)(QWidget *, const QString &, const QString &, int, int);
    if (auto loadUrl = SiblingLibrary::resolveAs<LoadUrl>(QStringLiteral("qx_cefview.dll"), "loadUrl"))
        loadUrl(window(), address, QStringLiteral("720°全景"), 900, 650);
}

// Saved texts come back with the listing's next download, which the store is asked for at once.
void HouseDetailDescribesWidget::editClick()
{
    if (record().id <= 0 || !judgeEditAuth())
        return;
    auto *editor = new HouseDetailDescribeEditWidget(record());
    CommonAddWidget *popup = openPopup(this, PopupSize::EntryForm, QStringLiteral("房源推广信息编辑"), editor);
    connect(editor, &HouseDetailDescribeEditWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    connect(editor, &HouseDetailDescribeEditWidget::editSuccess, popup, [this, popup, editor] {
        auto updated = record();
        editor->applyTo(updated);
        popup->closeWidget();
        showRecord(updated);
        m_listings->refreshOneListing(updated.id);
    });
}
