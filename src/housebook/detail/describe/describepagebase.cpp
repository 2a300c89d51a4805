#include "detail/describe/describepagebase.h"

#include "detail/describe/housedescribeitemlistview.h"
#include "detail/describe/joinertext.h"
#include "detail/listingmap.h"
#include "portal/housebook58anxuanpushobject.h"
#include "portal/housebookxinfulipushobject.h"
#include "services/describeservice.h"
#include "widgets/alertwidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/thumbnailview.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QLabel *wrappedLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QPushButton *linkButton(const char *name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QStringLiteral("QPushButton{border:none;color:#0c91eb;padding:2px 6px;}"));
    return button;
}

} // namespace

DescribePageBase::DescribePageBase(bool rent, QWidget *parent)
    : QWidget(parent)
    , m_rent(rent)
    , m_service(new DescribeService(this))
{
    buildContent();
    connect(m_service, &DescribeService::coverSaved, this, [] { AlertWidget::tip(QStringLiteral("设置封面成功！")); });
}

QWidget *DescribePageBase::buildHeader()
{
    auto *header = new QWidget(m_content);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    m_titleLabel = wrappedLabel(QStringLiteral("label_title"), header);
    m_titleLabel->setStyleSheet(QStringLiteral("font-size:16px;font-weight:bold;color:#333333;"));
    row->addWidget(m_titleLabel, 1);
    QPushButton *edit = linkButton("pushButton_edit", QStringLiteral("编辑"), header);
    QPushButton *last = linkButton("lastPushButton", QStringLiteral("上一条"), header);
    QPushButton *next = linkButton("nextPushButton", QStringLiteral("下一条"), header);
    connect(edit, &QPushButton::clicked, this, &DescribePageBase::editClick);
    connect(last, &QPushButton::clicked, this, &DescribePageBase::lastHouse);
    connect(next, &QPushButton::clicked, this, &DescribePageBase::nextHouse);
    for (QPushButton *b : {edit, last, next})
        row->addWidget(b);
    return header;
}

void DescribePageBase::buildContent()
{
    m_content = new QWidget;
    m_content->setObjectName(QStringLiteral("describeContent"));
    auto *layout = new QVBoxLayout(m_content);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->setSpacing(10);
    layout->addWidget(buildHeader());
    m_factsGrid = new QGridLayout;
    m_factsGrid->setHorizontalSpacing(30);
    layout->addLayout(m_factsGrid);
    m_tagRow = new QHBoxLayout;
    m_tagRow->setSpacing(6);
    layout->addLayout(m_tagRow);
    m_describesLabel = wrappedLabel(QStringLiteral("label_describes"), m_content);
    layout->addWidget(m_describesLabel);
    m_noDataLabel = new QLabel(m_content);
    m_noDataLabel->setObjectName(QStringLiteral("label_noData"));
    m_noDataLabel->setText(QStringLiteral("<a href=\"edit\">暂无推广信息，点击编辑></a>"));
    connect(m_noDataLabel, &QLabel::linkActivated, this, &DescribePageBase::noDataClick);
    layout->addWidget(m_noDataLabel);
    auto *photoArea = new QScrollArea(m_content);
    photoArea->setObjectName(QStringLiteral("photoArea"));
    photoArea->setFrameShape(QFrame::NoFrame);
    photoArea->setWidgetResizable(true);
    photoArea->setFixedHeight(160);
    auto *strip = new QWidget(photoArea);
    m_photoRow = new QHBoxLayout(strip);
    m_photoRow->setContentsMargins(0, 0, 0, 0);
    photoArea->setWidget(strip);
    layout->addWidget(photoArea);
    auto *links = new QHBoxLayout;
    m_panoramaLabel = wrappedLabel(QStringLiteral("label_quanjing"), m_content);
    m_panoramaLabel->setOpenExternalLinks(true);
    m_panoramaLabel->setTextInteractionFlags(Qt::TextBrowserInteraction);
    links->addWidget(m_panoramaLabel, 1);
    QPushButton *map = linkButton("pushButton_map", QStringLiteral("查看地图"), m_content);
    connect(map, &QPushButton::clicked, this, &DescribePageBase::showHouseMap);
    links->addWidget(map);
    layout->addLayout(links);
    layout->addWidget(buildPushRow());
    m_extra = new QVBoxLayout;
    layout->addLayout(m_extra);
    layout->addStretch(1);
}

QWidget *DescribePageBase::buildPushRow()
{
    m_pushRow = new QWidget(m_content);
    m_pushRow->setObjectName(QStringLiteral("pushRow"));
    auto *row = new QHBoxLayout(m_pushRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    m_pushWuba = linkButton("pushWubaButton", QStringLiteral("推送到58安选"), m_pushRow);
    m_pushXinfuLi = linkButton("pushXinfuLiButton", QStringLiteral("推送到幸福里"), m_pushRow);
    connect(m_pushWuba, &QPushButton::clicked, this, &DescribePageBase::pushToWuba);
    connect(m_pushXinfuLi, &QPushButton::clicked, this, &DescribePageBase::pushToXinfuLi);
    row->addWidget(m_pushWuba);
    row->addWidget(m_pushXinfuLi);
    m_pushRow->hide();
    return m_pushRow;
}

void DescribePageBase::pushToWuba()
{
    auto *push = new HouseBook58AnXuanPushObject(this);
    startPush(push);
    push->pushHouse(m_record.id);
}

void DescribePageBase::pushToXinfuLi()
{
    auto *push = new HouseBookXinfuLiPushObject(this);
    startPush(push);
    push->pushHouse(m_record.id);
}

// One push at a time from this page; the object goes when its work has ended.
void DescribePageBase::startPush(PortalPushBase *push)
{
    m_pushWuba->setEnabled(false);
    m_pushXinfuLi->setEnabled(false);
    connect(push, &PortalPushBase::finished, this, [this, push] {
        m_pushWuba->setEnabled(true);
        m_pushXinfuLi->setEnabled(true);
        push->deleteLater();
    });
}

void DescribePageBase::showRecord(const HouseMessage_DataSqlTable::HouseMessageData &record)
{
    m_record = record;
    m_pushRow->setVisible(DescribeRights::of(record).push);
    fillFacts();
    showHouseTag(FirstPageTexts::tagNames(record));
    refreshData();
}

void DescribePageBase::clearLayout(QLayout *layout)
{
    while (QLayoutItem *item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
}

void DescribePageBase::fillFacts()
{
    clearLayout(m_factsGrid);
    const QList<DescribeTexts::Line> lines = DescribeTexts::factLines(m_record, m_rent);
    for (int i = 0; i < lines.size(); ++i) {
        QLabel *label = wrappedLabel(lines.at(i).objectName, m_content);
        label->setText(lines.at(i).text);
        label->setStyleSheet(QStringLiteral("color:#666666;"));
        m_factsGrid->addWidget(label, i / 3, i % 3);
    }
}

void DescribePageBase::showHouseTag(const QStringList &houseTagList)
{
    clearLayout(m_tagRow);
    for (int i = 0; i < houseTagList.size(); ++i) {
        auto *tag = new QLabel(QStringLiteral(" %1 ").arg(houseTagList.at(i)), m_content);
        tag->setObjectName(QStringLiteral("label_tag"));
        tag->setStyleSheet(FirstPageTexts::tagStyle(i));
        m_tagRow->addWidget(tag);
    }
    m_tagRow->addStretch(1);
}

void DescribePageBase::showPromotion(const QString &title, const QString &describes,
                                     const QList<DescribeTexts::Photo> &photos, const QString &panorama)
{
    m_titleLabel->setText(JoinerText::shown(title));
    m_describesLabel->setText(JoinerText::shown(describes));
    m_describesLabel->setVisible(!describes.trimmed().isEmpty());
    m_noDataLabel->setVisible(title.trimmed().isEmpty() && describes.trimmed().isEmpty() && photos.isEmpty());
    const QString address = JoinerText::shown(panorama).toHtmlEscaped();
    m_panoramaLabel->setText(QStringLiteral("全景地址：") +
                             (address.isEmpty() ? QString() : QStringLiteral("<a href=\"%1\">%1</a>").arg(address)));
    m_photos = DescribeTexts::coverFirst(photos);
    fillPhotos();
}

void DescribePageBase::fillPhotos()
{
    clearLayout(m_photoRow);
    QWidget *strip = m_photoRow->parentWidget();
    if (m_photos.isEmpty()) {
        auto *none = new QLabel(strip);
        none->setObjectName(QStringLiteral("label_noPhoto"));
        none->setPixmap(QPixmap(QStringLiteral("://res/icon_no_photo.png")));
        m_photoRow->addWidget(none);
    }
    const bool editable = mayEdit(DescribeRights::of(m_record));
    for (int i = 0; i < m_photos.size(); ++i) {
        auto *item = new HouseDescribeItemListView(i, m_photos.at(i).url, m_photos.at(i).cover, strip);
        item->setEditable(editable);
        connect(item, &HouseDescribeItemListView::coverClicked, this, &DescribePageBase::corverPhoto);
        connect(item, &HouseDescribeItemListView::photoClicked, this, &DescribePageBase::showBigPhoto);
        m_photoRow->addWidget(item);
    }
    m_photoRow->addStretch(1);
}

void DescribePageBase::corverPhoto(int index)
{
    if (index < 0 || index >= m_photos.size() || !judgeEditAuth())
        return;
    m_photos = DescribeTexts::withCover(m_photos, index);
    saveCover(m_photos);
    fillPhotos();
}

bool DescribePageBase::judgeEditAuth()
{
    if (mayEdit(DescribeRights::of(m_record)))
        return true;
    AlertWidget::warning(QStringLiteral("您没有权限修改该房源推广信息，如需操作请联系管理员！"));
    return false;
}

void DescribePageBase::showBigPhoto(int index)
{
    if (index < 0 || index >= m_photos.size())
        return;
    auto *view = new ThumbnailView;
    view->setObjectName(QStringLiteral("bigPhoto"));
    view->setFixedSize(800, 600);
    view->setAlignment(Qt::AlignCenter);
    view->setPlaceholder(QStringLiteral("://res/icon_no_photo.png"));
    view->setSource(m_photos.at(index).url);
    auto *popup = new CommonAddWidget(this, QStringLiteral("main"), true);
    popup->setTitle(QStringLiteral("查看图片"), QColor(0, 0, 0, 30));
    popup->setContentWidget(view);
    popup->resize(820, 660);
    popup->show();
}

void DescribePageBase::showHouseMap()
{
    ListingMap::open(window(), m_record);
}

void DescribePageBase::noDataClick(QString txt)
{
    Q_UNUSED(txt)
    editClick();
}
