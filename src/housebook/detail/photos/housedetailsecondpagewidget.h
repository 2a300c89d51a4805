#pragma once
// One survey record of a listing on the survey tab: its videos, the listing's VR views and
// its photos in groups with their counts; uploading a video, saving everything into a
// folder, removing a photo or video; the collaboration roles that go with a survey
// (commission, survey, key, exclusive agent, deal) with assigning, releasing, reporting and
// their history; and the review of a record awaiting it.
#include "services/photoservice.h"
#include "services/surveyservice.h"
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QMap>
#include <QWidget>

class BusyOverlay;
class ListingDetailService;
class QGridLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;

class HouseDetailSecondPageWidget : public QWidget
{
    Q_OBJECT
public:
    // The roles handled here, as the role requests number them (same order as XieZuoRoles).
    enum RoleType { WeiTuo = 2, ShiKan = 3, YaoShi = 4, DuJia = 5, ChengJiao = 6 };

    explicit HouseDetailSecondPageWidget(QWidget *parent = nullptr);

    // record: the survey record shown (empty: the listing has none yet).
    void setData(const HouseMessage_DataSqlTable::HouseMessageData &listing,
                 const HouseBookPhotos_Model::DataItem &record, const QList<HouseBookPhotos_Model::Video> &vrs);
    // How pictures shown large carry the company's mark (0 none, 1 bottom right, 2 centre).
    void setWatermark(const QString &platform, int imagestyle);
    const HouseBookPhotos_Model::DataItem &record() const { return m_record; }
    // The group captions as shown, top to bottom ("房源视频(1)", "VR(0)", "户型图(2)", ...).
    QStringList groupTitles() const;
    SurveyService *service() const { return m_service; }
    // Sibling libraries by the host's file names; tests hand in stand-ins.
    void setLibraries(const QString &player, const QString &review);

    // The actions behind the buttons and menus (which add the file and folder dialogs).
    void showLarge(const QString &url);
    void playVideo(const HouseBookPhotos_Model::Video &video);
    void openVr(const HouseBookPhotos_Model::Video &vr);
    void deleteMedia(const QString &url, bool video);
    void uploadVideo(const QString &path);
    void downloadAllTo(const QString &folder);
    void downloadOneTo(const QString &url, const QString &folder);
    void assignRole(int type);
    void confirmAssign(int type, const QVariantMap &person);
    void releaseRole(int type);
    void reportRole(int type);
    void approve();
    void rejectWith(const QString &reason);
    void reviewOa();

    static QString roleCaption(int type);

signals:
    // "编辑/添加图片": the record to edit ("" for a new one).
    void editPhotos(const QString &recordId);
    // The record or the listing changed on the server: the owner reloads.
    void refreshList();
    void reportRequested(int type);
    void historyRequested(int type);

private:
    QWidget *buildToolBar();
    QWidget *buildRoles();
    void fillHeader();
    void fillRoles();
    void fillGroups();
    void addGroup(const QString &caption, const QList<QWidget *> &items);
    QWidget *photoItem(const HouseBookPhotos_Model::Photo &photo);
    QWidget *videoItem(const HouseBookPhotos_Model::Video &video);
    QWidget *vrItem(const HouseBookPhotos_Model::Video &vr);
    void photoOperation(const QString &text, const QString &url, bool video);
    bool mayEdit();
    bool mayDownload();
    void chooseVideo();
    void chooseFolder();
    void askRejectReason();
    void connectService();
    void loadUrl(const QString &url, const QString &title);

    HouseMessage_DataSqlTable::HouseMessageData m_listing;
    HouseBookPhotos_Model::DataItem m_record;
    QList<HouseBookPhotos_Model::Video> m_vrs;
    QList<HouseMessage_DataSqlTable::XieZuoItemData> m_holders;
    QString m_watermark;
    int m_watermarkStyle = 0;
    QString m_playerLibrary;
    QString m_reviewLibrary;

    SurveyService *m_service = nullptr;
    ListingDetailService *m_listingService = nullptr;
    BusyOverlay *m_overlay = nullptr;
    QLabel *m_header = nullptr;
    QPushButton *m_pass = nullptr;
    QPushButton *m_refuse = nullptr;
    QPushButton *m_oa = nullptr;
    QMap<int, QLabel *> m_roleLabels;
    QVBoxLayout *m_groups = nullptr;
    QList<QLabel *> m_groupTitles;
};
