#pragma once
// "房源推广信息编辑": the promotion text of a listing — title, introduction, up to 30 photos
// with a cover (local pictures are shrunk and uploaded; the listing's survey photos may be
// taken over, except pictures collected from other sites), the 720° panorama and the tags.
// Saving posts app/housebookeditdes; editSuccess() follows the server's acceptance.
#include "detail/describe/describetexts.h"
#include "services/photoservice.h"
#include "sql/housemessage_datasqltable.h"

#include <QStringList>
#include <QWidget>

class BusyOverlay;
class DescribePhotoSet;
class DescribeService;
class HouseDescribeChoosePhotoView;
class QLabel;
class QLineEdit;
class QTextEdit;
class TagChooserWidget;

class HouseDetailDescribeEditWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseDetailDescribeEditWidget(const HouseMessage_DataSqlTable::HouseMessageData &record,
                                           QWidget *parent = nullptr);

    DescribePhotoSet *photoSet() const { return m_photos; }
    // The form as it would be posted now (texts with the joiner token).
    QVariantMap form() const;
    // Writes what was saved into a copy of the listing, so the page shows it before the
    // listing's next download.
    void applyTo(HouseMessage_DataSqlTable::HouseMessageData &record) const;
    // A picture that does not come from the alliance's own upload server.
    static bool isCollected(const QString &url);
    // The picture that shows where a panorama's address is copied from, in a pop-up over owner.
    static void openTutorial(QWidget *owner);

signals:
    void editSuccess();
    void closeWidget();

public slots:
    void downloadHousePic();
    void dealHousePhotosData(const QList<HouseBookPhotos_Model::DataItem> &records);
    void choosePic();
    void compressionResult();
    void deal_addTag();
    void coverSet(int index);
    void showQuanJinTutorial();
    void submitPhoto();

private:
    QWidget *buildPhotos();
    QWidget *buildSurveyPhotos();
    void surveyPhotoClicked(HouseDescribeChoosePhotoView *item);
    void post();

    HouseMessage_DataSqlTable::HouseMessageData m_record;
    DescribePhotoSet *m_photos;
    DescribeService *m_service;
    PhotoService *m_photoService;
    BusyOverlay *m_overlay;
    QLineEdit *m_title = nullptr;
    QTextEdit *m_describes = nullptr;
    QLabel *m_countLabel = nullptr;
    QWidget *m_survey = nullptr;
    QLineEdit *m_panorama = nullptr;
    TagChooserWidget *m_tags = nullptr;
    QStringList m_pendingTags;
};
