// The survey page's layout and filling; its actions are in housedetailsecondpagewidget_actions.cpp.
#include "detail/photos/housedetailsecondpagewidget.h"

#include "detail/photos/housebookphotosonitemview.h"
#include "detail/xiezuoroles.h"
#include "services/listingdetailservice.h"
#include "widgets/busyoverlay.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace HouseBookPhotos_Model;

namespace {

constexpr int kColumns = 5;
const QList<int> kRoleTypes{HouseDetailSecondPageWidget::WeiTuo, HouseDetailSecondPageWidget::ShiKan,
                            HouseDetailSecondPageWidget::YaoShi, HouseDetailSecondPageWidget::DuJia,
                            HouseDetailSecondPageWidget::ChengJiao};

QPushButton *button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

QString stateText(const DataItem &record)
{
    switch (record.state) {
    case 0: return QStringLiteral("<span style=\"color:red\">(待审核)</span>");
    case 2: return QStringLiteral("<span style=\"color:gray\">(已驳回)</span>");
    default: return QString();
    }
}

} // namespace

HouseDetailSecondPageWidget::HouseDetailSecondPageWidget(QWidget *parent)
    : QWidget(parent)
    , m_playerLibrary(QStringLiteral("qx_cefview.dll"))
    , m_reviewLibrary(QStringLiteral("qx_reviewBook.dll"))
{
    setObjectName(QStringLiteral("houseDetailSecondPage"));
    m_service = new SurveyService(this);
    m_listingService = new ListingDetailService(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("label_record"));
    m_header->setTextFormat(Qt::RichText);
    layout->addWidget(m_header);
    layout->addWidget(buildToolBar());
    layout->addWidget(buildRoles());

    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget(scroll);
    m_groups = new QVBoxLayout(content);
    m_groups->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);

    m_overlay = new BusyOverlay(this);
    connectService();
}

QWidget *HouseDetailSecondPageWidget::buildToolBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    auto *edit = button(bar, QStringLiteral("pushButton_editPhotos"), QStringLiteral("编辑/添加图片"));
    connect(edit, &QPushButton::clicked, this, [this] {
        if (mayEdit())
            emit editPhotos(m_record.id);
    });
    auto *video = button(bar, QStringLiteral("pushButton_video"), QStringLiteral("添加/修改视频"));
    connect(video, &QPushButton::clicked, this, &HouseDetailSecondPageWidget::chooseVideo);
    auto *download = button(bar, QStringLiteral("pushButton_download"), QStringLiteral("下载图片/视频"));
    connect(download, &QPushButton::clicked, this, &HouseDetailSecondPageWidget::chooseFolder);
    m_pass = button(bar, QStringLiteral("pushButton_pass"), QStringLiteral("审核通过"));
    connect(m_pass, &QPushButton::clicked, this, &HouseDetailSecondPageWidget::approve);
    m_refuse = button(bar, QStringLiteral("pushButton_refuse"), QStringLiteral("驳回"));
    connect(m_refuse, &QPushButton::clicked, this, &HouseDetailSecondPageWidget::askRejectReason);
    m_oa = button(bar, QStringLiteral("pushButton_oa"), QStringLiteral("待审核(OA)"));
    connect(m_oa, &QPushButton::clicked, this, &HouseDetailSecondPageWidget::reviewOa);
    for (QWidget *w : {static_cast<QWidget *>(edit), static_cast<QWidget *>(video), static_cast<QWidget *>(download)})
        row->addWidget(w);
    row->addStretch(1);
    for (QWidget *w : {m_pass, m_refuse, m_oa})
        row->addWidget(w);
    return bar;
}

// One row per role: who holds it and what can be done with it.
QWidget *HouseDetailSecondPageWidget::buildRoles()
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("rolesBox"));
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 4, 0, 4);
    int row = 0;
    for (int type : kRoleTypes) {
        auto *label = new QLabel(box);
        label->setObjectName(QStringLiteral("label_role_%1").arg(type));
        m_roleLabels.insert(type, label);
        grid->addWidget(label, row, 0);
        const QList<QPair<QString, QString>> actions{{QStringLiteral("assign"), QStringLiteral("分配")},
                                                     {QStringLiteral("release"), QStringLiteral("解除")},
                                                     {QStringLiteral("report"), QStringLiteral("举报")},
                                                     {QStringLiteral("history"), QStringLiteral("操作记录")}};
        int column = 1;
        for (const auto &action : actions) {
            auto *b = button(box, QStringLiteral("pushButton_%1_%2").arg(action.first).arg(type), action.second);
            b->setFlat(true);
            b->setStyleSheet(QStringLiteral("color:rgb(12,145,235);"));
            grid->addWidget(b, row, column++);
            const QString kind = action.first;
            connect(b, &QPushButton::clicked, this, [this, kind, type] {
                if (kind == QLatin1String("assign"))
                    assignRole(type);
                else if (kind == QLatin1String("release"))
                    releaseRole(type);
                else if (kind == QLatin1String("report"))
                    reportRole(type);
                else
                    emit historyRequested(type);
            });
        }
        ++row;
    }
    grid->setColumnStretch(5, 1);
    return box;
}

void HouseDetailSecondPageWidget::setData(const HouseMessage_DataSqlTable::HouseMessageData &listing,
                                          const DataItem &record, const QList<Video> &vrs)
{
    m_listing = listing;
    m_record = record;
    m_vrs = vrs;
    m_holders = XieZuoRoles::holdersOf(listing);
    fillHeader();
    fillRoles();
    fillGroups();
}

void HouseDetailSecondPageWidget::setWatermark(const QString &platform, int imagestyle)
{
    m_watermark = platform;
    m_watermarkStyle = imagestyle;
}

void HouseDetailSecondPageWidget::setLibraries(const QString &player, const QString &review)
{
    m_playerLibrary = player;
    m_reviewLibrary = review;
}

void HouseDetailSecondPageWidget::fillHeader()
{
    const bool pending = !m_record.id.isEmpty() && m_record.state == 0;
    if (m_record.id.isEmpty()) {
        m_header->setText(QStringLiteral("暂无实勘记录"));
    } else {
        const QStringList parts{m_record.username, m_record.deptname, m_record.time};
        m_header->setText(QStringLiteral("实勘人：%1 %2").arg(parts.join(QLatin1Char(' ')).toHtmlEscaped(), stateText(m_record)));
    }
    const bool reviewer = pending && !m_record.oa && SurveyRights::of(m_listing, m_record.userphone).review;
    m_pass->setVisible(reviewer);
    m_refuse->setVisible(reviewer);
    m_oa->setVisible(pending && m_record.oa);
}

void HouseDetailSecondPageWidget::fillRoles()
{
    for (int type : kRoleTypes)
        m_roleLabels.value(type)->setText(XieZuoRoles::text(type, m_holders.value(type)));
}

void HouseDetailSecondPageWidget::fillGroups()
{
    while (QLayoutItem *item = m_groups->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_groupTitles.clear();
    QList<QWidget *> videos;
    for (const Video &video : qAsConst(m_record.videos))
        videos << videoItem(video);
    addGroup(QStringLiteral("房源视频(%1)").arg(videos.size()), videos);
    QList<QWidget *> vrs;
    for (const Video &vr : qAsConst(m_vrs))
        vrs << vrItem(vr);
    addGroup(QStringLiteral("VR(%1)").arg(vrs.size()), vrs);
    for (int category : SurveyService::categoryOrder()) {
        QList<QWidget *> photos;
        for (const Photo &photo : qAsConst(m_record.photos)) {
            if (photo.type == category)
                photos << photoItem(photo);
        }
        addGroup(QStringLiteral("%1(%2)").arg(SurveyService::groupName(category)).arg(photos.size()), photos);
    }
    m_groups->addStretch(1);
}

void HouseDetailSecondPageWidget::addGroup(const QString &caption, const QList<QWidget *> &items)
{
    auto *group = new QWidget;
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(0, 6, 0, 6);
    auto *title = new QLabel(caption, group);
    title->setObjectName(QStringLiteral("groupTitle"));
    title->setStyleSheet(QStringLiteral("font-size:14px;font-weight:bold;"));
    layout->addWidget(title);
    m_groupTitles << title;
    auto *grid = new QGridLayout;
    grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (int i = 0; i < items.size(); ++i) {
        items.at(i)->setParent(group);
        grid->addWidget(items.at(i), i / kColumns, i % kColumns);
    }
    layout->addLayout(grid);
    m_groups->addWidget(group);
}

QStringList HouseDetailSecondPageWidget::groupTitles() const
{
    QStringList titles;
    for (QLabel *title : m_groupTitles)
        titles << title->text();
    return titles;
}

QWidget *HouseDetailSecondPageWidget::photoItem(const Photo &photo)
{
    auto *item = new HouseBookPhotoSonItemView(photo.url, photo.title);
    const QString url = photo.url;
    connect(item, &HouseBookPhotoSonItemView::clickItem, this, [this, url] { showLarge(url); });
    connect(item, &HouseBookPhotoSonItemView::operatesClick, this,
            [this, url](const QString &text) { photoOperation(text, url, false); });
    return item;
}

QWidget *HouseDetailSecondPageWidget::videoItem(const Video &video)
{
    auto *item = new HouseBookPhotoSonItemView(video.cover, video.title,
                                               {QStringLiteral("播放"), QStringLiteral("下载"), QStringLiteral("删除")});
    item->setProperty("videoUrl", video.url);
    connect(item, &HouseBookPhotoSonItemView::clickItem, this, [this, video] { playVideo(video); });
    connect(item, &HouseBookPhotoSonItemView::operatesClick, this, [this, video](const QString &text) {
        if (text == QLatin1String("播放"))
            playVideo(video);
        else
            photoOperation(text, video.url, true);
    });
    return item;
}

QWidget *HouseDetailSecondPageWidget::vrItem(const Video &vr)
{
    auto *item = new HouseBookPhotoSonItemView(vr.cover, vr.title, {});
    connect(item, &HouseBookPhotoSonItemView::clickItem, this, [this, vr] { openVr(vr); });
    return item;
}

void HouseDetailSecondPageWidget::chooseVideo()
{
    if (!mayEdit())
        return;
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("选择视频"), QString(),
                                                      QStringLiteral("Video Files(*.mp4 *.mov *.avi *.wmv *.flv)"));
    if (!path.isEmpty())
        uploadVideo(path);
}
