#pragma once
// One photo as a thumbnail with its category and title, and buttons to delete or download
// it. A click on the picture reports the photo.
#include <QMetaType>
#include <QWidget>

class QLabel;
class QPushButton;
class ThumbnailView;

class HouseBookPhotoItemView : public QWidget
{
    Q_OBJECT
public:
    struct ItemPhoto
    {
        QString id;   // on the server; empty for a photo not stored yet
        QString url;  // local path or web address
        int type = 0;
        QString title;
    };

    explicit HouseBookPhotoItemView(const ItemPhoto &photo, QWidget *parent = nullptr);

    ItemPhoto photo() const { return m_photo; }
    void setDeletable(bool on);
    void setDownloadable(bool on);
    // A chosen photo is framed (the chooser's pick).
    void setChosen(bool chosen);
    bool isChosen() const { return m_chosen; }

signals:
    void clickItem(HouseBookPhotoItemView::ItemPhoto photo);
    void deleteItem(HouseBookPhotoItemView::ItemPhoto photo);
    void downloadItem(QString url);

private:
    void updateFrame();

    ItemPhoto m_photo;
    ThumbnailView *m_picture = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_download = nullptr;
    bool m_chosen = false;
};

Q_DECLARE_METATYPE(HouseBookPhotoItemView::ItemPhoto)
