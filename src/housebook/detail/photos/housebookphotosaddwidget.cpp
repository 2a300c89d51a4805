#include "detail/photos/housebookphotosaddwidget.h"

#include "datacenter.h"
#include "detail/photos/housebookphotoedititemview.h"
#include "detail/photos/photocategory.h"
#include "net/endpoints.h"
#include "net/photosuploadobject.h"
#include "sql/configdatasettings.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

using namespace HouseBookPhotos_Model;

namespace {

constexpr int kMaxPhotos = 40;
constexpr int kColumns = 5;
constexpr int kApprovalNoticeMs = 2500;
const QString kNotice = QStringLiteral("选中标签后单击下方图片，给图片添加标签，添加完成后点击提交完成添加。");
const QString kHelp = QStringLiteral("选中标签后单击图片给图片添加标签，添加标签结束后鼠标右键单击结束添加");

QString buttonStyle(const QColor &colour, bool selected)
{
    return selected ? QStringLiteral("QPushButton { background: %1; color: white; border: 1px solid %1; border-radius: 3px; "
                                     "padding: 4px 10px; }").arg(colour.name())
                    : QStringLiteral("QPushButton { background: white; color: %1; border: 1px solid %1; border-radius: 3px; "
                                     "padding: 4px 10px; }").arg(colour.name());
}

QString shikanOf(const HouseMessage_DataSqlTable::HouseMessageData &listing)
{
    if (listing.shikanren.phone.isEmpty() && listing.shikanren.name.isEmpty())
        return QString();
    return QString::fromUtf8(QJsonDocument(QJsonObject{{"name", listing.shikanren.name}, {"phone", listing.shikanren.phone}})
                                 .toJson(QJsonDocument::Compact));
}

} // namespace

HouseBookPhotosAddWidget::HouseBookPhotosAddWidget(const HouseMessage_DataSqlTable::HouseMessageData &listing,
                                                   const QString &shikaneditid, QWidget *parent)
    : QWidget(parent)
    , m_listing(listing)
    , m_recordId(shikaneditid.isEmpty() ? QStringLiteral("0") : shikaneditid)
    , m_service(new PhotoService(this))
    , m_picker(new PhotoPicker(this))
{
    setObjectName(QStringLiteral("HouseBookPhotosAddWidget"));
    m_picker->setTitle(QStringLiteral("选取房源图片"));
    connect(m_picker, &PhotoPicker::progress, this, [this](int done, int total) {
        if (done < total)
            m_busy->start(QStringLiteral("图片压缩处理中(%1/%2)...").arg(done).arg(total));
    });
    connect(m_picker, &PhotoPicker::photoReady, this,
            [this](const QString &path, const QString &source) { compressionResult(path, source); });
    connect(m_picker, &PhotoPicker::finished, this, [this] { m_busy->stop(); });
    connect(m_service, &PhotoService::ownPhotosArrived, this, &HouseBookPhotosAddWidget::takeBasePhotos);
    connect(m_service, &PhotoService::standardArrived, this, &HouseBookPhotosAddWidget::takeStandard);
    connect(m_service, &PhotoService::setSubmitted, this, &HouseBookPhotosAddWidget::setSubmitted);
    connect(m_service, &PhotoService::failed, this, [this](PhotoService::Request kind) {
        if (kind == PhotoService::SubmitSet)
            setWorking(false);
    });
    buildUi();
    downloadPhotosStandardData();
    downloadBasePhotos();
    showFirstNotice();
}

HouseBookPhotosAddWidget::~HouseBookPhotosAddWidget() = default;

HouseBookPhotosAddWidget *HouseBookPhotosAddWidget::openEditor(QWidget *parent,
                                                               const HouseMessage_DataSqlTable::HouseMessageData &listing,
                                                               const QString &shikaneditid)
{
    auto *editor = new HouseBookPhotosAddWidget(listing, shikaneditid);
    editor->setObjectName(QStringLiteral("photosAddWidget"));
    auto *frame = new CommonAddWidget(parent, QStringLiteral("main"), true);
    frame->setObjectName(QStringLiteral("photosAddPopup"));
    frame->setTitle(QStringLiteral("编辑房源图片"), QColor(0, 0, 0, 30));
    frame->setContentWidget(editor);
    frame->resize(900, 700);
    connect(editor, &HouseBookPhotosAddWidget::closeWidget, frame, &CommonAddWidget::closeWidget);
    frame->show();
    return editor;
}

void HouseBookPhotosAddWidget::setFileChooser(PhotoPicker::FileChooser chooser)
{
    m_picker->setFileChooser(std::move(chooser));
}

void HouseBookPhotosAddWidget::buildUi()
{
    setMinimumSize(960, 640);
    setStyleSheet(QStringLiteral("HouseBookPhotosAddWidget { background: white; }"));
    auto *choose = new QPushButton(QStringLiteral("选取房源图片"), this);
    choose->setObjectName(QStringLiteral("chooseButton"));
    choose->setFixedHeight(32);
    choose->setStyleSheet(QStringLiteral("background: rgb(24,137,240); color: white; border-radius: 4px; padding: 0 16px;"));
    connect(choose, &QPushButton::clicked, this, &HouseBookPhotosAddWidget::choosePhotos);

    auto *help = new QLabel(kHelp, this);
    help->setObjectName(QStringLiteral("helpLabel"));
    help->setStyleSheet(QStringLiteral("color: rgb(153,153,153); font-size: 12px;"));

    auto *pictures = new QWidget;
    pictures->setObjectName(QStringLiteral("photoGrid"));
    m_grid = new QGridLayout(pictures);
    m_grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_grid->setSpacing(8);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(pictures);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setStyleSheet(QStringLiteral("QScrollArea, #photoGrid { background: white; }"));

    m_submit = new QPushButton(QStringLiteral("提交"), this);
    m_submit->setObjectName(QStringLiteral("submitButton"));
    m_submit->setFixedSize(100, 34);
    m_submit->setStyleSheet(QStringLiteral("QPushButton { background: rgb(235,110,36); color: white; border-radius: 4px; }"
                                           "QPushButton:disabled { background: rgb(200,200,200); }"));
    connect(m_submit, &QPushButton::clicked, this, &HouseBookPhotosAddWidget::click);

    auto *top = new QHBoxLayout;
    top->addWidget(choose);
    top->addWidget(help, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 12, 20, 12);
    layout->addLayout(top);
    layout->addWidget(buildCategoryRow());
    layout->addWidget(buildStandardRow());
    layout->addWidget(scroll, 1);
    layout->addWidget(m_submit, 0, Qt::AlignRight);
    m_busy = new BusyOverlay(this);
}

QWidget *HouseBookPhotosAddWidget::buildCategoryRow()
{
    auto *row = new QWidget(this);
    row->setObjectName(QStringLiteral("categoryRow"));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("快捷选择："), row));
    for (const PhotoCategory::Info &category : PhotoCategory::all()) {
        auto *button = new QPushButton(category.label.arg(0), row);
        button->setObjectName(QStringLiteral("categoryButton_%1").arg(category.type));
        button->setCursor(Qt::PointingHandCursor);
        const int type = category.type;
        connect(button, &QPushButton::clicked, this, [this, type] { getPhoto(type); });
        layout->addWidget(button);
        m_categoryButtons << button;
    }
    layout->addStretch(1);
    styleCategoryButtons();
    return row;
}

QWidget *HouseBookPhotosAddWidget::buildStandardRow()
{
    auto *row = new QWidget(this);
    auto *layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_standardLabel = new QLabel(row);
    m_standardLabel->setObjectName(QStringLiteral("standardLabel"));
    m_standardLabel->setStyleSheet(QStringLiteral("color: rgb(235,110,36);"));
    m_contentLabel = new QLabel(row);
    m_contentLabel->setObjectName(QStringLiteral("shikancontentLabel"));
    m_contentLabel->setWordWrap(true);
    m_contentLabel->setStyleSheet(QStringLiteral("color: rgb(102,102,102); font-size: 12px;"));
    layout->addWidget(m_standardLabel);
    layout->addWidget(m_contentLabel);
    m_standardLabel->hide();
    m_contentLabel->hide();
    return row;
}

// Shown until the user asks not to see it again; the choice is kept per signed-in user.
void HouseBookPhotosAddWidget::showFirstNotice()
{
    const QString phone = DataCenter::UserPhoneNumber;
    if (ConfigDataSettings::value(phone, noticeKey()) == QLatin1String("1"))
        return;
    auto *box = new AlertWidget(kNotice, AlertWidget::TipIcon, AlertWidget::SureAndCancle);
    box->setSureText(QStringLiteral("我知道了"));
    box->setCancleText(QStringLiteral("不再提醒"));
    connect(box, &AlertWidget::cancleClick, box,
            [phone] { ConfigDataSettings::setValue(phone, noticeKey(), QStringLiteral("1")); });
}

void HouseBookPhotosAddWidget::downloadPhotosStandardData()
{
    m_service->loadStandard();
}

void HouseBookPhotosAddWidget::takeStandard(const Standard &standard)
{
    m_standard = standard;
    QStringList texts;
    for (const PhotoCategory::Info &category : PhotoCategory::required()) {
        for (const StandardEntry &entry : standard.entries) {
            if (entry.choose && entry.type == category.type && entry.count > 0)
                texts << category.requirement.arg(entry.count);
        }
    }
    m_standardLabel->setText(texts.join(QStringLiteral("    ")));
    m_standardLabel->setVisible(!texts.isEmpty());
    m_contentLabel->setText(QStringLiteral("实勘标准：%1").arg(standard.shikancontent));
    m_contentLabel->setVisible(!standard.shikancontent.isEmpty());
}

void HouseBookPhotosAddWidget::downloadBasePhotos()
{
    if (m_listing.id > 0)
        m_service->loadOwnPhotos(m_listing.id);
}

void HouseBookPhotosAddWidget::dealBaseUrl(QJsonValue data)
{
    const QString id = PhotoService::textOf(data.toObject().value(QStringLiteral("id")));
    takeBasePhotos(id.isEmpty() ? QStringLiteral("0") : id, PhotoService::photosOf(data));
}

// The photos already stored come first, in the server's order.
void HouseBookPhotosAddWidget::takeBasePhotos(const QString &recordId, const QList<Photo> &photos)
{
    if ((m_recordId.isEmpty() || m_recordId == QLatin1String("0")) && recordId != QLatin1String("0"))
        m_recordId = recordId;
    QList<Entry> added = m_entries;
    m_entries.clear();
    for (const Photo &p : photos)
        addEntry(Entry{true, p.id, p.url, p.type, p.title, false, nullptr});
    for (const Entry &e : qAsConst(added))
        m_entries << e;
    loadPic();
}

void HouseBookPhotosAddWidget::choosePhotos()
{
    m_picker->pick(window());
}

void HouseBookPhotosAddWidget::compressionResult(QString path, QVariant value)
{
    Q_UNUSED(value)
    if (path.isEmpty())
        return;
    addEntry(Entry{false, QString(), path, Other, QString(), false, nullptr});
    loadPic();
}

void HouseBookPhotosAddWidget::addEntry(Entry entry)
{
    auto *view = new HouseBookPhotoEditItemView(entry.url, entry.type, entry.title, this);
    view->hide();
    entry.view = view;
    connect(view, &HouseBookPhotoEditItemView::clickItem, this, [this, view] { tagPhoto(view); });
    connect(view, &HouseBookPhotoEditItemView::rightClickItem, this, [this] { getPhoto(-1); });
    connect(view, &HouseBookPhotoEditItemView::deleteItem, this, [this, view] { deletePhotoAgainLayout(view); });
    connect(view, &HouseBookPhotoEditItemView::titleChange, this, [this, view](const QString &title) {
        const int index = entryOf(view);
        if (index >= 0)
            m_entries[index].title = title;
    });
    m_entries << entry;
}

void HouseBookPhotosAddWidget::loadPic()
{
    while (m_grid->count() > 0)
        delete m_grid->takeAt(0);
    for (int i = 0; i < m_entries.size(); ++i) {
        HouseBookPhotoEditItemView *view = m_entries.at(i).view;
        m_grid->addWidget(view, i / kColumns, i % kColumns);
        view->show();
    }
    refreshCounts();
}

void HouseBookPhotosAddWidget::deletePhotoAgainLayout(QWidget *item)
{
    const int index = entryOf(item);
    if (index < 0)
        return;
    const Entry entry = m_entries.takeAt(index);
    if (entry.stored) {
        if (!entry.id.isEmpty())
            m_dels << entry.id;
        m_delUrls << entry.url;
    }
    entry.view->hide();
    entry.view->deleteLater();
    loadPic();
}

int HouseBookPhotosAddWidget::entryOf(const QObject *view) const
{
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).view == view)
            return i;
    }
    return -1;
}

void HouseBookPhotosAddWidget::getPhoto(int type)
{
    m_currentType = (type == m_currentType || !PhotoCategory::find(type)) ? -1 : type;
    styleCategoryButtons();
}

void HouseBookPhotosAddWidget::tagPhoto(HouseBookPhotoEditItemView *view)
{
    const int index = entryOf(view);
    if (index < 0 || m_currentType < 0)
        return;
    m_entries[index].type = m_currentType;
    view->setType(m_currentType);
    refreshCounts();
}

void HouseBookPhotosAddWidget::refreshCounts()
{
    for (int k = 0; k < m_categoryButtons.size(); ++k) {
        const PhotoCategory::Info &category = PhotoCategory::all().at(k);
        int count = 0;
        for (const Entry &e : qAsConst(m_entries))
            count += e.type == category.type ? 1 : 0;
        m_categoryButtons.at(k)->setText(category.label.arg(count));
    }
}

void HouseBookPhotosAddWidget::styleCategoryButtons()
{
    for (int k = 0; k < m_categoryButtons.size(); ++k) {
        const PhotoCategory::Info &category = PhotoCategory::all().at(k);
        m_categoryButtons.at(k)->setStyleSheet(buttonStyle(category.colour, category.type == m_currentType));
    }
}

QVariantList HouseBookPhotosAddWidget::photos() const
{
    QVariantList list;
    for (const Entry &e : m_entries)
        list << QVariantMap{{"url", e.url}, {"type", e.type}, {"title", e.title}};
    return list;
}

int HouseBookPhotosAddWidget::runningCompressions() const
{
    return m_picker->runningCount();
}

// Why the set cannot be sent yet; empty when it can.
QString HouseBookPhotosAddWidget::refusal() const
{
    if (m_entries.isEmpty())
        return QStringLiteral("请至少选择一张图片");
    if (m_picker->isBusy())
        return QStringLiteral("正在处理图片，请稍等！");
    if (m_entries.size() > kMaxPhotos)
        return QStringLiteral("图片上传最多40张！");
    for (const PhotoCategory::Info &category : PhotoCategory::required()) {
        for (const StandardEntry &rule : m_standard.entries) {
            if (!rule.choose || rule.type != category.type)
                continue;
            int count = 0;
            for (const Entry &e : m_entries)
                count += e.type == rule.type ? 1 : 0;
            if (count < rule.count)
                return category.refusal.arg(rule.count);
        }
    }
    return QString();
}

void HouseBookPhotosAddWidget::click()
{
    if (m_submitting)
        return;
    const QString refused = refusal();
    if (!refused.isEmpty()) {
        AlertWidget::warning(refused);
        return;
    }
    uploadPhotos();
}

// The photos still on disk go up one after another; each answered address replaces its path.
void HouseBookPhotosAddWidget::uploadPhotos()
{
    setWorking(true, QStringLiteral("图片上传中..."));
    QList<PhotosUploadObject::PhotosModel> list;
    for (int i = 0; i < m_entries.size(); ++i) {
        PhotosUploadObject::PhotosModel model;
        model.path = m_entries.at(i).url;
        model.type = QString::number(m_entries.at(i).type);
        model.remark = QString::number(quintptr(m_entries.at(i).view));
        list << model;
    }
    m_upload = new PhotosUploadObject(this);
    m_upload->setPhotos(list);
    connect(m_upload, &PhotosUploadObject::singlePhotoUpFinish, this, [this](const PhotosUploadObject::PhotosModel &model) {
        for (Entry &e : m_entries) {
            if (QString::number(quintptr(e.view)) == model.remark) {
                e.url = model.path;
                e.failed = false;
                e.view->setUploadFailed(false);
            }
        }
    });
    connect(m_upload, &PhotosUploadObject::photosUpFinish, this, &HouseBookPhotosAddWidget::uploadsDone);
    m_upload->startUpload(Endpoints::instance().photoUpload);
}

void HouseBookPhotosAddWidget::uploadsDone()
{
    PhotosUploadObject *upload = m_upload;
    m_upload = nullptr;
    int failed = 0;
    for (Entry &e : m_entries) {
        e.failed = upload->needsUpload(e.url);
        e.view->setUploadFailed(e.failed);
        failed += e.failed ? 1 : 0;
    }
    upload->deleteLater();
    // Each failed upload has been reported by its request; the marked photos wait for the
    // next submit.
    if (failed > 0) {
        setWorking(false);
        return;
    }
    postSet();
}

void HouseBookPhotosAddWidget::postSet()
{
    setWorking(true, QStringLiteral("正在提交..."));
    QJsonArray photos;
    for (const Entry &e : qAsConst(m_entries))
        photos.append(QJsonObject{{"url", e.url}, {"type", e.type}, {"title", e.title}});
    m_service->submitSet({{QStringLiteral("houseid"), m_listing.id},
                          {QStringLiteral("xiaoquname"), m_listing.name},
                          {QStringLiteral("shikan"), shikanOf(m_listing)},
                          {QStringLiteral("shikaneditid"), m_recordId},
                          {QStringLiteral("pass"), DataCenter::isManager ? 1 : 0},
                          {QStringLiteral("photos"), QString::fromUtf8(QJsonDocument(photos).toJson(QJsonDocument::Compact))},
                          {QStringLiteral("photodels"), m_dels.join(QLatin1Char(','))},
                          {QStringLiteral("photodelurls"), m_delUrls.join(QLatin1Char(','))}});
}

// With the set approved at once the agent is told so for a moment before the window goes.
void HouseBookPhotosAddWidget::setSubmitted(bool passed)
{
    setWorking(false);
    m_submit->setEnabled(false);
    if (!passed) {
        emit addSuccess();
        return;
    }
    auto *notice = new QLabel(QStringLiteral("您拥有当前操作的审批权限，系统已为您自动审批通过。"), nullptr,
                              Qt::ToolTip | Qt::FramelessWindowHint);
    notice->setObjectName(QStringLiteral("approvalNotice"));
    notice->setAttribute(Qt::WA_DeleteOnClose);
    notice->setStyleSheet(QStringLiteral("background: rgba(0,0,0,180); color: white; padding: 12px 20px; border-radius: 4px;"));
    notice->adjustSize();
    const QRect area = window()->geometry();
    notice->move(area.center() - QPoint(notice->width() / 2, notice->height() / 2));
    notice->show();
    QTimer::singleShot(kApprovalNoticeMs, notice, &QWidget::close);
    QTimer::singleShot(kApprovalNoticeMs, this, &HouseBookPhotosAddWidget::addSuccess);
}

void HouseBookPhotosAddWidget::setWorking(bool working, const QString &text)
{
    m_submitting = working;
    m_submit->setEnabled(!working);
    if (working)
        m_busy->start(text);
    else
        m_busy->stop();
}
