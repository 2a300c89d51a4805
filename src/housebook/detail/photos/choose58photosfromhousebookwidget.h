#pragma once
// Picks photos for another page: the listing's stored photos and local files the agent adds.
// Local files are shrunk and uploaded when the choice is confirmed; the chosen photos come
// back with web addresses through backChoosePhotos.
#include "widgets/photopicker.h"

#include <QJsonValue>
#include <QList>
#include <QMetaType>
#include <QWidget>

class BusyOverlay;
class HouseBookPhotoItemView;
class PhotoService;
class QGridLayout;
class QPushButton;

class Choose58PhotosFromHouseBookWidget : public QWidget
{
    Q_OBJECT
public:
    struct ChoosePhotoModel
    {
        QString url;
        bool chosen = false;
        int type = 0;
        QString title;
    };

    explicit Choose58PhotosFromHouseBookWidget(int houseId, QWidget *parent = nullptr);

    void setFileChooser(PhotoPicker::FileChooser chooser);
    QList<ChoosePhotoModel> candidates() const { return m_photos; }
    // Marks a candidate chosen or not (what a click on it does).
    void setChosen(int index, bool chosen);

signals:
    void backChoosePhotos(QList<Choose58PhotosFromHouseBookWidget::ChoosePhotoModel> list);
    void closeWidget();

public slots:
    void downloadHousePic();
    void dealHousePhotosData(QJsonValue data);
    // The candidate with this address; -1 when none.
    int structIndexOf(QString url);
    QList<Choose58PhotosFromHouseBookWidget::ChoosePhotoModel> getChooseList();
    void loadPhoto();
    void choosePhotos();
    void compressionResult(QString path, QVariant value);

private:
    void addCandidate(const ChoosePhotoModel &photo);
    void confirm();
    void uploaded(const QList<ChoosePhotoModel> &chosen, int failed);

    int m_houseId = 0;
    QList<ChoosePhotoModel> m_photos;
    QList<HouseBookPhotoItemView *> m_views;
    PhotoService *m_service = nullptr;
    PhotoPicker *m_picker = nullptr;
    BusyOverlay *m_busy = nullptr;
    QGridLayout *m_grid = nullptr;
    QPushButton *m_confirm = nullptr;
};

Q_DECLARE_METATYPE(Choose58PhotosFromHouseBookWidget::ChoosePhotoModel)
