#pragma once
// The details of one role entry: its lines and photos by role, its contract and electronic
// contracts (shown by the host's contract libraries), and, while it awaits review, approval
// and refusal for a user who may review. A load that fails says what failed and offers a
// retry; a successful approval or refusal emits refreshListAndClose().
#include "services/separationmodels.h"
#include "services/separationservice.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class BusyOverlay;
class LoadFailureView;
class QLabel;
class QPushButton;
class QScrollArea;
class QVBoxLayout;

class HouseSeperateMessageDetailWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperateMessageDetailWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       QWidget *parent = nullptr);

    // The host's libraries that show a contract and an electronic contract (the host's file
    // names by default; tests point them elsewhere).
    void setLibraries(const QString &contractLibrary, const QString &pdfLibrary);
    // Where electronic contracts are downloaded to before they are shown.
    static QString temporaryFolder();

    const HouseBookSeperateDetail_Model::Data &detail() const { return m_detail; }

signals:
    void refreshListAndClose();

public slots:
    void loadDetail();
    void approve();
    void askRefuseReason();
    void showContract();
    void chooseElectronicContract();

private:
    void buildLayout();
    void connectService();
    void showDetail(const HouseBookSeperateDetail_Model::Data &detail);
    void showFailure(const QString &reason);
    void onFailed(SeparationService::Request request, const QString &message);
    void refuseWith(const QString &reason);
    bool mayReview() const;
    QWidget *buildBody();
    void addPhotoGroups(QVBoxLayout *layout);
    void addLinks(QVBoxLayout *layout);
    void openElectronicContract(const HouseBookSeperateDetail_Model::Pdf &pdf);
    void previewDownloaded(const QString &path);

    HouseMessage_DataSqlTable::HouseMessageData m_house;
    HouseBookSeperateList_Model::ItemData m_row;
    HouseBookSeperateDetail_Model::Data m_detail;
    QString m_contractLibrary;
    QString m_pdfLibrary;
    void *m_preview = nullptr;   // the preview function resolved for the running download
    SeparationService *m_service;
    BusyOverlay *m_overlay;
    QScrollArea *m_scroll;
    LoadFailureView *m_failure;
    QPushButton *m_pass;
    QPushButton *m_refuse;
    QLabel *m_reviewFailure;
};
