// The survey page's actions: showing and playing, removing, the video upload, saving into a
// folder, the role operations and the review of a record.
#include "detail/photos/housedetailsecondpagewidget.h"

#include "detail/photos/housebookphotoreviewrefusewidget.h"
#include "detail/xiezuoroles.h"
#include "platform/siblinglibrary.h"
#include "services/listingdetailservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/jointsale_personordepartmentchoosewidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/largepicture.h"
#include "widgets/thumbnailview.h"

#include <QFileDialog>
#include <QLabel>

#include <algorithm>

using namespace HouseBookPhotos_Model;

namespace {

using LoadUrl = void (*)(QWidget *parent, const QString &url, const QString &title, int width, int height);
using LoadReviewDetail = void (*)(QWidget *parent, int houseId, const QString &recordId);

const QString kNoEditRight = QStringLiteral("您没有编辑该房源图片的权限，如有需要请联系管理员开通对应权限！");
const QString kNoDownloadRight = QStringLiteral("您没有导出该房源图片的权限，如有需要请联系管理员开通对应权限！");

// The role entry's own id, as the role requests name it.
QString xiezuoIdOf(const HouseMessage_DataSqlTable::XieZuoItemData &holder)
{
    for (const char *key : {"xiezuoid", "id"}) {
        const QString id = holder.data.value(QLatin1String(key)).toString();
        if (!id.isEmpty())
            return id;
    }
    return QString();
}

CommonAddWidget *popup(QWidget *owner, const QString &title, QWidget *content, const QSize &size)
{
    auto *frame = new CommonAddWidget(owner, QStringLiteral("main"), true);
    frame->setTitle(title, QColor(0, 0, 0, 30));
    frame->setContentWidget(content);
    frame->resize(size);
    frame->show();
    return frame;
}

} // namespace

QString HouseDetailSecondPageWidget::roleCaption(int type)
{
    switch (type) {
    case WeiTuo: return QStringLiteral("委托人");
    case ShiKan: return QStringLiteral("实勘人");
    case YaoShi: return QStringLiteral("钥匙人");
    case DuJia: return QStringLiteral("独家代理人");
    case ChengJiao: return QStringLiteral("成交人");
    default: return QString();
    }
}

void HouseDetailSecondPageWidget::connectService()
{
    connect(m_service, &SurveyService::finished, m_overlay, &BusyOverlay::stop);
    connect(m_service, &SurveyService::uploadProgress, this,
            [this](int percent) { m_overlay->start(QStringLiteral("上传中(%1%)...").arg(percent)); });
    connect(m_service, &SurveyService::uploadProcessing, this, [this] { m_overlay->start(QStringLiteral("处理中...")); });
    connect(m_service, &SurveyService::mediaDeleted, this, &HouseDetailSecondPageWidget::refreshList);
    connect(m_service, &SurveyService::videoUploaded, this, &HouseDetailSecondPageWidget::refreshList);
    // Role holders travel with the listing: the local store fetches it again, and its change
    // notice brings the window (and this page) the new holders.
    for (auto changed : {&SurveyService::operatorChanged, &SurveyService::operatorReleased, &SurveyService::reviewed}) {
        connect(m_service, changed, this, [this] {
            m_listingService->refreshOneListing(m_listing.id);
            emit refreshList();
        });
    }
    connect(m_service, &SurveyService::canCheckAnswered, this, [this](bool canCheck) {
        if (!canCheck) {
            AlertWidget::warning(QStringLiteral("您没有权限审核该OA申请！"));
            return;
        }
        if (auto load = SiblingLibrary::resolveAs<LoadReviewDetail>(m_reviewLibrary, "loadReviewDetail"))
            load(window(), m_listing.id, m_record.id);
    });
    connect(m_service, &SurveyService::downloaded, this, [](int saved, int failedCount) {
        if (failedCount == 0)
            AlertWidget::tip(QStringLiteral("房源图片下载成功！"));
        else
            AlertWidget::warning(QStringLiteral("已保存%1个文件，%2个文件下载失败！").arg(saved).arg(failedCount));
    });
}

bool HouseDetailSecondPageWidget::mayEdit()
{
    if (SurveyRights::of(m_listing, m_record.userphone).edit)
        return true;
    AlertWidget::warning(kNoEditRight);
    return false;
}

bool HouseDetailSecondPageWidget::mayDownload()
{
    if (SurveyRights::of(m_listing, m_record.userphone).download)
        return true;
    AlertWidget::warning(kNoDownloadRight);
    return false;
}

void HouseDetailSecondPageWidget::loadUrl(const QString &url, const QString &title)
{
    if (auto load = SiblingLibrary::resolveAs<LoadUrl>(m_playerLibrary, "loadUrl"))
        load(window(), url, title, 900, 650);
}

void HouseDetailSecondPageWidget::playVideo(const Video &video)
{
    if (!video.ready || video.url.isEmpty())
        AlertWidget::warning(QStringLiteral("视频正在转码审核中，请稍后观看！"));
    else
        loadUrl(video.url, QStringLiteral("视频播放"));
}

void HouseDetailSecondPageWidget::openVr(const Video &vr)
{
    if (!vr.url.isEmpty())
        loadUrl(vr.url, vr.title.isEmpty() ? QStringLiteral("VR") : vr.title);
}

// The picture at a readable size, with the company's mark where the company wants it.
void HouseDetailSecondPageWidget::showLarge(const QString &url)
{
    ThumbnailView *picture = showLargePicture(this, url);
    if (m_watermarkStyle > 0 && !m_watermark.isEmpty()) {
        auto *mark = new QLabel(m_watermark, picture);
        mark->setObjectName(QStringLiteral("label_watermark"));
        mark->setStyleSheet(QStringLiteral("color:rgba(255,255,255,180);font-size:20px;"));
        mark->adjustSize();
        const QSize free = picture->size() - mark->size();
        mark->move(m_watermarkStyle == 2 ? QPoint(free.width() / 2, free.height() / 2)
                                         : QPoint(free.width() - 12, free.height() - 12));
        mark->show();
    }
}

void HouseDetailSecondPageWidget::photoOperation(const QString &text, const QString &url, bool video)
{
    if (text == QLatin1String("查看大图")) {
        showLarge(url);
    } else if (text == QLatin1String("删除")) {
        deleteMedia(url, video);
    } else if (text == QLatin1String("下载") && mayDownload()) {
        const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("存储位置"));
        if (!folder.isEmpty())
            downloadOneTo(url, folder);
    }
}

void HouseDetailSecondPageWidget::deleteMedia(const QString &url, bool video)
{
    if (!mayEdit())
        return;
    m_overlay->start(QStringLiteral("删除中..."));
    m_service->deleteMedia(m_record.id, url, video);
}

void HouseDetailSecondPageWidget::uploadVideo(const QString &path)
{
    if (!mayEdit())
        return;
    m_overlay->start(QStringLiteral("上传中(0%)..."));
    m_service->uploadVideo(m_listing.id, m_record.id, path);
}

void HouseDetailSecondPageWidget::chooseFolder()
{
    if (!mayDownload())
        return;
    if (SurveyService::downloadFilesOf(m_record).isEmpty()) {
        AlertWidget::warning(QStringLiteral("该房源没有图片/视频资源以供下载！"));
        return;
    }
    const QString folder = QFileDialog::getExistingDirectory(this, QStringLiteral("存储位置"));
    if (!folder.isEmpty())
        downloadAllTo(folder);
}

void HouseDetailSecondPageWidget::downloadAllTo(const QString &folder)
{
    const QList<SurveyService::DownloadFile> files = SurveyService::downloadFilesOf(m_record);
    if (files.isEmpty()) {
        AlertWidget::warning(QStringLiteral("该房源没有图片/视频资源以供下载！"));
        return;
    }
    m_overlay->start(QStringLiteral("下载中..."));
    m_service->download(files, folder);
}

// One file keeps the name it has among all of the record's files.
void HouseDetailSecondPageWidget::downloadOneTo(const QString &url, const QString &folder)
{
    QList<SurveyService::DownloadFile> files = SurveyService::downloadFilesOf(m_record);
    files.erase(std::remove_if(files.begin(), files.end(), [&](const auto &f) { return f.url != url; }), files.end());
    if (files.isEmpty())
        return;
    m_overlay->start(QStringLiteral("下载中..."));
    m_service->download(files.mid(0, 1), folder);
}

void HouseDetailSecondPageWidget::assignRole(int type)
{
    auto *chooser = new JointSale_PersonOrDepartmentChooseWidget(nullptr, PersonOrDepartmentChooseWidget::People, false);
    chooser->setObjectName(QStringLiteral("roleChooser"));
    CommonAddWidget *frame = popup(this, QStringLiteral("选择要指定的%1").arg(roleCaption(type)), chooser,
                                   chooser->sizeHint().expandedTo(QSize(600, 500)));
    connect(chooser, &PersonOrDepartmentChooseWidget::backSingleChoose, frame, [this, frame, type](const QVariantMap &person) {
        frame->closeWidget();
        confirmAssign(type, person);
    });
}

void HouseDetailSecondPageWidget::confirmAssign(int type, const QVariantMap &person)
{
    const QString question = QStringLiteral("你确定要将该房源的%1分配给%2<%3>吗？")
                                 .arg(roleCaption(type), person.value(QStringLiteral("name")).toString(),
                                      person.value(QStringLiteral("phone")).toString());
    auto *box = new AlertWidget(question, AlertWidget::WarningIcon, AlertWidget::SureAndCancle, QStringLiteral("main"), this);
    box->setSureText(QStringLiteral("分配"));
    const QString xiezuoid = xiezuoIdOf(m_holders.value(type));
    const QString userId = person.value(QStringLiteral("id")).toString();
    const int houseId = m_listing.id;
    connect(box, &AlertWidget::sureClick, this, [this, type, houseId, xiezuoid, userId] {
        m_overlay->start(QStringLiteral("分配中..."));
        m_service->changeOperator(type, houseId, xiezuoid, userId);
    });
}

void HouseDetailSecondPageWidget::releaseRole(int type)
{
    if (!XieZuoRoles::isAssigned(m_holders.value(type))) {
        AlertWidget::warning(QStringLiteral("当前无操作人，不支持移除！"));
        return;
    }
    auto *box = new AlertWidget(QStringLiteral("您确定解除该项操作人吗？"), AlertWidget::WarningIcon,
                                AlertWidget::SureAndCancle, QStringLiteral("main"), this);
    const int houseId = m_listing.id;
    connect(box, &AlertWidget::sureClick, this, [this, type, houseId] {
        m_overlay->start(QStringLiteral("解除中..."));
        m_service->releaseOperator(type, houseId);
    });
}

void HouseDetailSecondPageWidget::reportRole(int type)
{
    if (!XieZuoRoles::isAssigned(m_holders.value(type)))
        AlertWidget::warning(QStringLiteral("当前无操作人，不支持举报！"));
    else
        emit reportRequested(type);
}

void HouseDetailSecondPageWidget::approve()
{
    m_overlay->start(QStringLiteral("审核中..."));
    m_service->review(m_listing.id, m_record.id, m_record.xiezuoid, 1, QString());
}

void HouseDetailSecondPageWidget::rejectWith(const QString &reason)
{
    m_overlay->start(QStringLiteral("审核中..."));
    m_service->review(m_listing.id, m_record.id, m_record.xiezuoid, 2, reason);
}

// The reviewer says why the record is rejected; the box goes once the reason is sent.
void HouseDetailSecondPageWidget::askRejectReason()
{
    auto *box = new HouseBookPhotoReviewRefuseWidget;
    box->setObjectName(QStringLiteral("rejectReasonBox"));
    CommonAddWidget *frame = popup(this, QStringLiteral("驳回"), box, QSize(420, 260));
    connect(box, &HouseBookPhotoReviewRefuseWidget::backTxt, frame, [this, frame](const QString &reason) {
        frame->closeWidget();
        rejectWith(reason);
    });
    connect(box, &HouseBookPhotoReviewRefuseWidget::closeWidget, frame, &CommonAddWidget::closeWidget);
}

void HouseDetailSecondPageWidget::reviewOa()
{
    m_service->askCanCheck(m_listing.id, m_record.id);
}
