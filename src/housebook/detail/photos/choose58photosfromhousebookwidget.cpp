#include "detail/photos/choose58photosfromhousebookwidget.h"

#include "detail/photos/housebookphotoitemview.h"
#include "net/endpoints.h"
#include "net/photosuploadobject.h"
#include "services/photoservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int kColumns = 5;

} // namespace

Choose58PhotosFromHouseBookWidget::Choose58PhotosFromHouseBookWidget(int houseId, QWidget *parent)
    : QWidget(parent)
    , m_houseId(houseId)
    , m_service(new PhotoService(this))
    , m_picker(new PhotoPicker(this))
{
    setObjectName(QStringLiteral("Choose58PhotosFromHouseBookWidget"));
    setWindowTitle(QStringLiteral("选择房源图片"));
    setMinimumSize(920, 600);
    qRegisterMetaType<QList<Choose58PhotosFromHouseBookWidget::ChoosePhotoModel>>();
    auto *title = new QLabel(QStringLiteral("选择房源图片"), this);
    title->setStyleSheet(QStringLiteral("font-size: 14px; font-weight: bold;"));
    auto *local = new QPushButton(QStringLiteral("选取图片"), this);
    local->setObjectName(QStringLiteral("chooseButton"));
    connect(local, &QPushButton::clicked, this, &Choose58PhotosFromHouseBookWidget::choosePhotos);
    m_confirm = new QPushButton(QStringLiteral("确定"), this);
    m_confirm->setObjectName(QStringLiteral("confirmButton"));
    connect(m_confirm, &QPushButton::clicked, this, &Choose58PhotosFromHouseBookWidget::confirm);

    auto *pictures = new QWidget;
    m_grid = new QGridLayout(pictures);
    m_grid->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(pictures);
    auto *top = new QHBoxLayout;
    top->addWidget(title, 1);
    top->addWidget(local);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_confirm, 0, Qt::AlignRight);
    m_busy = new BusyOverlay(this);

    m_picker->setTitle(QStringLiteral("选取图片"));
    connect(m_picker, &PhotoPicker::progress, this, [this](int done, int total) {
        if (done < total)
            m_busy->start(QStringLiteral("图片压缩处理中..."));
    });
    connect(m_picker, &PhotoPicker::photoReady, this,
            [this](const QString &path, const QString &source) { compressionResult(path, source); });
    connect(m_picker, &PhotoPicker::finished, m_busy, &BusyOverlay::stop);
    connect(m_service, &PhotoService::recordsArrived, this, [this](const QList<HouseBookPhotos_Model::DataItem> &records) {
        for (const HouseBookPhotos_Model::DataItem &record : records)
            for (const HouseBookPhotos_Model::Photo &p : record.photos)
                addCandidate(ChoosePhotoModel{p.url, false, p.type, p.title});
        loadPhoto();
    });
    connect(m_service, &PhotoService::finished, m_busy, &BusyOverlay::stop);
    downloadHousePic();
}

void Choose58PhotosFromHouseBookWidget::setFileChooser(PhotoPicker::FileChooser chooser)
{
    m_picker->setFileChooser(std::move(chooser));
}

void Choose58PhotosFromHouseBookWidget::downloadHousePic()
{
    if (m_houseId <= 0)
        return;
    m_busy->start();
    m_service->loadRecords(m_houseId);
}

void Choose58PhotosFromHouseBookWidget::dealHousePhotosData(QJsonValue data)
{
    for (const HouseBookPhotos_Model::DataItem &record : PhotoService::recordsOf(data))
        for (const HouseBookPhotos_Model::Photo &p : record.photos)
            addCandidate(ChoosePhotoModel{p.url, false, p.type, p.title});
    loadPhoto();
}

int Choose58PhotosFromHouseBookWidget::structIndexOf(QString url)
{
    for (int i = 0; i < m_photos.size(); ++i) {
        if (m_photos.at(i).url == url)
            return i;
    }
    return -1;
}

QList<Choose58PhotosFromHouseBookWidget::ChoosePhotoModel> Choose58PhotosFromHouseBookWidget::getChooseList()
{
    QList<ChoosePhotoModel> chosen;
    for (const ChoosePhotoModel &p : qAsConst(m_photos)) {
        if (p.chosen)
            chosen << p;
    }
    return chosen;
}

// The same picture in two records is offered once.
void Choose58PhotosFromHouseBookWidget::addCandidate(const ChoosePhotoModel &photo)
{
    if (!photo.url.isEmpty() && structIndexOf(photo.url) < 0)
        m_photos << photo;
}

void Choose58PhotosFromHouseBookWidget::loadPhoto()
{
    qDeleteAll(m_views);
    m_views.clear();
    for (int i = 0; i < m_photos.size(); ++i) {
        const ChoosePhotoModel &p = m_photos.at(i);
        auto *view = new HouseBookPhotoItemView({QString(), p.url, p.type, p.title});
        view->setDeletable(false);
        view->setDownloadable(false);
        view->setChosen(p.chosen);
        connect(view, &HouseBookPhotoItemView::clickItem, this, [this, i] { setChosen(i, !m_photos.at(i).chosen); });
        m_grid->addWidget(view, i / kColumns, i % kColumns);
        m_views << view;
    }
}

void Choose58PhotosFromHouseBookWidget::setChosen(int index, bool chosen)
{
    if (index < 0 || index >= m_photos.size())
        return;
    m_photos[index].chosen = chosen;
    if (index < m_views.size())
        m_views.at(index)->setChosen(chosen);
}

void Choose58PhotosFromHouseBookWidget::choosePhotos()
{
    m_picker->pick(window());
}

// A file the agent added is meant to be used: it starts chosen.
void Choose58PhotosFromHouseBookWidget::compressionResult(QString path, QVariant value)
{
    Q_UNUSED(value)
    addCandidate(ChoosePhotoModel{path, true, 0, QString()});
    loadPhoto();
}

void Choose58PhotosFromHouseBookWidget::confirm()
{
    if (m_picker->isBusy()) {
        AlertWidget::warning(QStringLiteral("正在处理图片，请稍等！"));
        return;
    }
    const QList<ChoosePhotoModel> chosen = getChooseList();
    QList<PhotosUploadObject::PhotosModel> list;
    for (const ChoosePhotoModel &p : chosen) {
        PhotosUploadObject::PhotosModel model;
        model.path = p.url;
        model.type = QString::number(p.type);
        model.title = p.title;
        list << model;
    }
    auto *upload = new PhotosUploadObject(this);
    upload->setPhotos(list);
    m_confirm->setEnabled(false);
    m_busy->start(QStringLiteral("图片上传中..."));
    connect(upload, &PhotosUploadObject::photosUpFinish, this, [this, upload, chosen](const QList<PhotosUploadObject::PhotosModel> &done) {
        QList<ChoosePhotoModel> result = chosen;
        int failed = 0;
        for (int i = 0; i < result.size() && i < done.size(); ++i) {
            const int index = structIndexOf(result.at(i).url);
            result[i].url = done.at(i).path;
            if (index >= 0)
                m_photos[index].url = done.at(i).path;  // uploaded once, not again
            failed += upload->needsUpload(done.at(i).path) ? 1 : 0;
        }
        upload->deleteLater();
        uploaded(result, failed);
    });
    upload->startUpload(Endpoints::instance().photoUpload);
}

void Choose58PhotosFromHouseBookWidget::uploaded(const QList<ChoosePhotoModel> &chosen, int failed)
{
    m_busy->stop();
    m_confirm->setEnabled(true);
    if (failed > 0) {
        AlertWidget::warning(QStringLiteral("有%1张图片上传失败，请重新提交！").arg(failed));
        loadPhoto();
        return;
    }
    emit backChoosePhotos(chosen);
}
