#pragma once
// The photo submission window of a listing's survey: choose pictures, shrink them, tag each
// with its room category, check the set against the company's survey standard, upload what
// is new and post the set. Lives in a pop-up titled "编辑房源图片".
//
// The agent's work is never lost: a photo whose upload fails keeps its place, category and
// title and carries a mark; the next submit uploads only the photos still on disk.
#include "services/photoservice.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/photopicker.h"

#include <QJsonValue>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class CommonAddWidget;
class HouseBookPhotoEditItemView;
class PhotosUploadObject;
class QGridLayout;
class QLabel;
class QPushButton;

class HouseBookPhotosAddWidget : public QWidget
{
    Q_OBJECT
public:
    // shikaneditid: the agent's survey record being edited ("" or "0" for a new one).
    HouseBookPhotosAddWidget(const HouseMessage_DataSqlTable::HouseMessageData &listing,
                             const QString &shikaneditid = QString(), QWidget *parent = nullptr);
    ~HouseBookPhotosAddWidget() override;

    // Opens the window in its pop-up "编辑房源图片" over parent; the window's closeWidget closes
    // the pop-up. Callers end a submission themselves on the editor's addSuccess.
    static HouseBookPhotosAddWidget *openEditor(QWidget *parent, const HouseMessage_DataSqlTable::HouseMessageData &listing,
                                                const QString &shikaneditid = QString());

    // The chooser of the file dialog (tests answer it without a dialog).
    void setFileChooser(PhotoPicker::FileChooser chooser);
    // The photos in display order: url, type, title.
    QVariantList photos() const;
    // Compressions still running.
    int runningCompressions() const;
    // The category being tagged (-1: none).
    int currentType() const { return m_currentType; }
    // The settings key of the first-use notice of a user.
    static QString noticeKey() { return QStringLiteral("first_notice_add_photos_way"); }

signals:
    void addSuccess();
    void closeWidget();

public slots:
    void downloadPhotosStandardData();
    // Selects a category for tagging; the selected one again, or -1, ends tagging.
    void getPhoto(int type);
    // The submit button.
    void click();
    void choosePhotos();
    void compressionResult(QString path, QVariant value);
    void downloadBasePhotos();
    void dealBaseUrl(QJsonValue data);
    // Lays the thumbnails out again in display order.
    void loadPic();
    void deletePhotoAgainLayout(QWidget *item);

private:
    struct Entry
    {
        bool stored = false;  // already on the server (removing it is sent along)
        QString id;
        QString url;
        int type = 0;
        QString title;
        bool failed = false;
        HouseBookPhotoEditItemView *view = nullptr;
    };

    void buildUi();
    QWidget *buildCategoryRow();
    QWidget *buildStandardRow();
    void showFirstNotice();
    void addEntry(Entry entry);
    void takeBasePhotos(const QString &recordId, const QList<HouseBookPhotos_Model::Photo> &photos);
    void takeStandard(const HouseBookPhotos_Model::Standard &standard);
    void tagPhoto(HouseBookPhotoEditItemView *view);
    int entryOf(const QObject *view) const;
    void refreshCounts();
    void styleCategoryButtons();
    QString refusal() const;
    void uploadPhotos();
    void uploadsDone();
    void postSet();
    void setSubmitted(bool passed);
    void setWorking(bool working, const QString &text = QString());

    HouseMessage_DataSqlTable::HouseMessageData m_listing;
    QString m_recordId;
    QList<Entry> m_entries;
    QStringList m_dels;
    QStringList m_delUrls;
    HouseBookPhotos_Model::Standard m_standard;
    int m_currentType = -1;
    bool m_submitting = false;

    PhotoService *m_service = nullptr;
    PhotoPicker *m_picker = nullptr;
    QPointer<PhotosUploadObject> m_upload;
    BusyOverlay *m_busy = nullptr;
    QGridLayout *m_grid = nullptr;
    QList<QPushButton *> m_categoryButtons;
    QLabel *m_standardLabel = nullptr;
    QLabel *m_contentLabel = nullptr;
    QPushButton *m_submit = nullptr;
};
