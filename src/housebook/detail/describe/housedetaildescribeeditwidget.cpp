#include "detail/describe/housedetaildescribeeditwidget.h"

#include "detail/describe/describephotogrid.h"
#include "detail/describe/describephotoset.h"
#include "detail/describe/housedescribechoosephotoview.h"
#include "detail/describe/joinertext.h"
#include "net/endpoints.h"
#include "services/describeservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/forms/tagchooserwidget.h"
#include "widgets/photopicker.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QLabel *caption(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setStyleSheet(QStringLiteral("color:#333333;font-weight:bold;"));
    return label;
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace

HouseDetailDescribeEditWidget::HouseDetailDescribeEditWidget(const HouseMessage_DataSqlTable::HouseMessageData &record,
                                                             QWidget *parent)
    : QWidget(parent)
    , m_record(record)
    , m_photos(new DescribePhotoSet(this))
    , m_service(new DescribeService(this))
    , m_photoService(new PhotoService(this))
    , m_overlay(new BusyOverlay(this))
{
    setObjectName(QStringLiteral("describeEditWidget"));
    auto *inner = new QWidget;
    auto *layout = new QVBoxLayout(inner);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->setSpacing(10);
    m_title = new QLineEdit(JoinerText::shown(record.title), inner);
    m_title->setObjectName(QStringLiteral("lineEdit_title"));
    m_title->setPlaceholderText(QStringLiteral("请输入房源标题"));
    layout->addWidget(m_title);
    layout->addWidget(caption(QStringLiteral("房源介绍： "), inner));
    m_describes = new QTextEdit(inner);
    m_describes->setObjectName(QStringLiteral("textEdit_describes"));
    m_describes->setAcceptRichText(false);
    m_describes->setPlaceholderText(QStringLiteral("小区介绍  户型介绍  交通出行  核心卖点"));
    m_describes->setPlainText(JoinerText::shown(record.describes));
    m_describes->setFixedHeight(120);
    layout->addWidget(m_describes);
    layout->addWidget(buildPhotos());

    auto *panoramaRow = new QHBoxLayout;
    panoramaRow->addWidget(caption(QStringLiteral("720°全景："), inner));
    m_panorama = new QLineEdit(JoinerText::shown(record.quanjing), inner);
    m_panorama->setObjectName(QStringLiteral("lineEdit_quanjing"));
    m_panorama->setPlaceholderText(QStringLiteral("复制720°全景看房网址粘贴此处"));
    panoramaRow->addWidget(m_panorama, 1);
    QPushButton *tutorial = button("pushButton_tutorial", QStringLiteral("720°全景地址获取教程"), inner);
    tutorial->setStyleSheet(QStringLiteral("QPushButton{border:none;color:#0c91eb;}"));
    connect(tutorial, &QPushButton::clicked, this, &HouseDetailDescribeEditWidget::showQuanJinTutorial);
    panoramaRow->addWidget(tutorial);
    layout->addLayout(panoramaRow);

    auto *tagRow = new QHBoxLayout;
    tagRow->addWidget(caption(QStringLiteral("房源标签："), inner));
    QPushButton *chooseTags = button("pushButton_tags", QStringLiteral("选择标签"), inner);
    connect(chooseTags, &QPushButton::clicked, this, &HouseDetailDescribeEditWidget::deal_addTag);
    tagRow->addWidget(chooseTags);
    tagRow->addStretch(1);
    layout->addLayout(tagRow);
    m_tags = new TagChooserWidget(inner, 6);
    m_tags->setObjectName(QStringLiteral("tagChooser"));
    m_tags->setMaxChecked(6);
    m_pendingTags = JoinerText::shown(record.tags).split(QLatin1Char(','), Qt::SkipEmptyParts);
    m_tags->setCheckedItems(m_pendingTags);
    layout->addWidget(m_tags);
    layout->addStretch(1);

    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton *cancel = button("pushButton_cancel", QStringLiteral("取消"), this);
    QPushButton *submit = button("pushButton_submit", QStringLiteral("保存"), this);
    submit->setStyleSheet(QStringLiteral("QPushButton{background:#0c91eb;color:#ffffff;border:none;padding:6px 24px;}"));
    buttons->addWidget(cancel);
    buttons->addWidget(submit);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 12);
    outer->addWidget(scroll, 1);
    outer->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, &HouseDetailDescribeEditWidget::closeWidget);
    connect(submit, &QPushButton::clicked, this, &HouseDetailDescribeEditWidget::submitPhoto);

    connect(m_photos, &DescribePhotoSet::changed, this, &HouseDetailDescribeEditWidget::compressionResult);
    connect(m_photos->picker(), &PhotoPicker::progress, this, &HouseDetailDescribeEditWidget::compressionResult);
    connect(m_photos, &DescribePhotoSet::uploaded, this, &HouseDetailDescribeEditWidget::post);
    connect(m_photos, &DescribePhotoSet::uploadFailed, this, [this] {
        m_overlay->stop();
        AlertWidget::warning(QStringLiteral("图片上传失败，请重新提交！"));
    });
    connect(m_service, &DescribeService::houseTagsLoaded, this, [this](const QStringList &tags) {
        m_tags->setChoices(tags);
        m_tags->setCheckedItems(m_pendingTags);
    });
    connect(m_service, &DescribeService::promotionSaved, this, &HouseDetailDescribeEditWidget::editSuccess);
    connect(m_service, &DescribeService::finished, m_overlay, &BusyOverlay::stop);
    connect(m_photoService, &PhotoService::recordsArrived, this, &HouseDetailDescribeEditWidget::dealHousePhotosData);
    m_photos->setPhotos(DescribeTexts::photosOf(record.describespicture));
    m_service->loadHouseTags();
}

QWidget *HouseDetailDescribeEditWidget::buildPhotos()
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *head = new QHBoxLayout;
    m_countLabel = caption(QString(), box);
    m_countLabel->setObjectName(QStringLiteral("label_photoCount"));
    head->addWidget(m_countLabel);
    QPushButton *upload = button("pushButton_upload", QStringLiteral("上传"), box);
    connect(upload, &QPushButton::clicked, this, &HouseDetailDescribeEditWidget::choosePic);
    auto *fromSurvey = button("pushButton_photoEdit", QString(), box);
    fromSurvey->setIcon(QIcon(QStringLiteral("://res/icon_photo_edit.png")));
    fromSurvey->setToolTip(QStringLiteral("从房源实勘图片中选择"));
    fromSurvey->setFlat(true);
    connect(fromSurvey, &QPushButton::clicked, this, &HouseDetailDescribeEditWidget::downloadHousePic);
    head->addWidget(upload);
    head->addWidget(fromSurvey);
    head->addStretch(1);
    layout->addLayout(head);
    layout->addWidget(new DescribePhotoGrid(m_photos, -1, box));
    layout->addWidget(buildSurveyPhotos());
    return box;
}

QWidget *HouseDetailDescribeEditWidget::buildSurveyPhotos()
{
    m_survey = new QWidget;
    m_survey->setObjectName(QStringLiteral("surveyPhotos"));
    new QGridLayout(m_survey);
    m_survey->hide();
    return m_survey;
}

void HouseDetailDescribeEditWidget::compressionResult()
{
    const PhotoPicker *picker = m_photos->picker();
    QString text = QStringLiteral("房源图片：%1/30张").arg(m_photos->count());
    if (picker->isBusy())
        text += QStringLiteral("（图片处理中 %1/%2）").arg(picker->doneCount()).arg(picker->totalCount());
    m_countLabel->setText(text);
}

void HouseDetailDescribeEditWidget::choosePic()
{
    m_photos->pick(this);
}

void HouseDetailDescribeEditWidget::coverSet(int index)
{
    m_photos->setCover(index);
}

void HouseDetailDescribeEditWidget::downloadHousePic()
{
    m_survey->setVisible(!m_survey->isVisible());
    if (m_survey->isVisible() && m_record.id > 0)
        m_photoService->loadRecords(m_record.id);
}

void HouseDetailDescribeEditWidget::dealHousePhotosData(const QList<HouseBookPhotos_Model::DataItem> &records)
{
    auto *grid = static_cast<QGridLayout *>(m_survey->layout());
    while (QLayoutItem *item = grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    int n = 0;
    for (const HouseBookPhotos_Model::DataItem &record : records)
        for (const HouseBookPhotos_Model::Photo &photo : record.photos) {
            auto *item = new HouseDescribeChoosePhotoView(photo.url, photo.title, m_survey);
            item->setChosen(m_photos->contains(photo.url));
            connect(item, &HouseDescribeChoosePhotoView::clickItem, this, &HouseDetailDescribeEditWidget::surveyPhotoClicked);
            grid->addWidget(item, n / 5, n % 5);
            ++n;
        }
}

bool HouseDetailDescribeEditWidget::isCollected(const QString &url)
{
    const QString host = QUrl(url).host();
    return !host.isEmpty() && host != QUrl(Endpoints::instance().photoUpload).host();
}

void HouseDetailDescribeEditWidget::surveyPhotoClicked(HouseDescribeChoosePhotoView *item)
{
    if (item->isChosen()) {
        m_photos->removeAddress(item->url());
        item->setChosen(false);
        return;
    }
    if (isCollected(item->url())) {
        AlertWidget::warning(QStringLiteral("房源推广图片不支持采集图片，如果需要选择该图片可在<房源实勘>页下载下来图片，"
                                            "再重新上传到房源实勘！"));
        return;
    }
    if (m_photos->addAddress(item->url()))
        item->setChosen(true);
}

void HouseDetailDescribeEditWidget::deal_addTag()
{
    m_tags->setVisible(!m_tags->isVisible());
}

void HouseDetailDescribeEditWidget::showQuanJinTutorial()
{
    openTutorial(this);
}

void HouseDetailDescribeEditWidget::openTutorial(QWidget *owner)
{
    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("vrTutorial"));
    picture->setPixmap(QPixmap(QStringLiteral("://res/vr_tutorial.jpg")));
    auto *popup = new CommonAddWidget(owner, QStringLiteral("main"), true);
    popup->setTitle(QStringLiteral("720°全景地址获取教程"), QColor(0, 0, 0, 30));
    popup->setContentWidget(picture);
    popup->resize(picture->sizeHint().expandedTo(QSize(400, 300)) + QSize(20, 60));
    popup->show();
}

void HouseDetailDescribeEditWidget::submitPhoto()
{
    if (m_photos->isBusy()) {
        AlertWidget::warning(QStringLiteral("正在处理图片请稍等！"));
        return;
    }
    if (m_title->text().trimmed().isEmpty()) {
        AlertWidget::warning(QStringLiteral("请填写描述标题！"));
        return;
    }
    m_overlay->start(QStringLiteral("保存中..."));
    m_photos->upload();
}

QVariantMap HouseDetailDescribeEditWidget::form() const
{
    const QList<DescribeTexts::Photo> photos = m_photos->photos();
    const auto cover = std::find_if(photos.cbegin(), photos.cend(), [](const DescribeTexts::Photo &p) { return p.cover; });
    const QString title = JoinerText::stored(m_title->text().trimmed());
    return {{QStringLiteral("type"), m_record.types == 1 ? 2 : 1},
            {QStringLiteral("id"), m_record.id},
            {QStringLiteral("title"), title},
            {QStringLiteral("describes"), JoinerText::stored(m_describes->toPlainText())},
            {QStringLiteral("describespicture"), DescribeTexts::photosJson(photos, false)},
            {QStringLiteral("quanjing"), JoinerText::stored(m_panorama->text().trimmed())},
            // The panorama's preview: the cover photo under the listing's title.
            {QStringLiteral("purl"), cover == photos.cend() ? QString() : cover->url},
            {QStringLiteral("ptitle"), title},
            {QStringLiteral("tags"), JoinerText::stored(m_tags->value())}};
}

void HouseDetailDescribeEditWidget::post()
{
    m_service->savePromotion(form());
}

void HouseDetailDescribeEditWidget::applyTo(HouseMessage_DataSqlTable::HouseMessageData &record) const
{
    const QVariantMap sent = form();
    record.title = sent.value(QStringLiteral("title")).toString();
    record.describes = sent.value(QStringLiteral("describes")).toString();
    record.quanjing = sent.value(QStringLiteral("quanjing")).toString();
    record.describespicture.clear();
    for (const DescribeTexts::Photo &p : m_photos->photos())
        record.describespicture << QVariantMap{{QStringLiteral("url"), p.url}, {QStringLiteral("frist"), p.cover ? 1 : 0}};
}
