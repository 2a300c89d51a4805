#pragma once
// What the four evidence forms of a role (keys, exclusive agency, deal, commission) have in
// common. A form declares its widgets and its post form as a table of fields; this class
// lays them out, loads the present entry when editing, and on submit checks the table in
// order, uploads the photos still on disk, posts the evidence with its progress text and
// tells the agent when the server approved it at once. A failed upload or post leaves every
// field and photo as it was, so the agent can simply submit again.
#include "separation/evidencecontractchoosewidget.h"
#include "services/separationmodels.h"
#include "services/separationservice.h"
#include "sql/housemessage_datasqltable.h"
#include "widgets/forms/formbinder.h"
#include "widgets/photopicker.h"

#include <QList>
#include <QScopedPointer>
#include <QWidget>

class BusyOverlay;
class EvidenceChoiceButton;
class EvidencePhotoGroup;
class PhotosUploadObject;
class QFormLayout;
class QLineEdit;
class QPushButton;
class QTextEdit;

class SeparationEvidenceForm : public QWidget
{
    Q_OBJECT
public:
    ~SeparationEvidenceForm() override;

    SeparationService *service() const { return m_service; }
    bool isEditing() const { return m_edit; }
    QList<EvidencePhotoGroup *> photoGroups() const { return m_groups; }
    EvidencePhotoGroup *photoGroup(const QString &key) const;
    // Replaces the file dialog of every photo group.
    void setPhotoChooser(const PhotoPicker::FileChooser &chooser);

    // The message of the first thing that keeps the form from being sent ("" when none).
    QString firstProblem() const;
    // The evidence as it would be posted now (photos as they stand, pass included).
    QVariantMap postForm() const;
    bool isWorking() const { return m_working; }

public slots:
    void submit();

signals:
    void submitSuccess();

protected:
    SeparationEvidenceForm(const HouseMessage_DataSqlTable::HouseMessageData &house,
                           const HouseBookSeperateList_Model::ItemData &row, bool edit,
                           SeparationService::Request kind, const QString &progressText, QWidget *parent);

    const HouseMessage_DataSqlTable::HouseMessageData &house() const { return m_house; }
    const HouseBookSeperateList_Model::ItemData &role() const { return m_row; }

    // Building the form, top to bottom.
    void addRow(const QString &label, QWidget *field);
    QLineEdit *addLineEdit(const QString &objectName, const QString &label, const QString &placeholder = QString());
    QTextEdit *addRemark();
    EvidencePhotoGroup *addPhotoGroup(const QString &key, const QString &label);
    EvidenceChoiceButton *addChoice(const QString &objectName, const QString &label, const QString &prompt);
    // A "yyyy-M-d" date chosen in the date chooser titled title; editing fills it from the
    // entry's recordField ("endtime", "shoudate").
    EvidenceChoiceButton *addDate(const QString &objectName, const QString &label, const QString &title,
                                  const QString &recordField);
    // A contract chosen in the contract chooser of that kind; the button keeps its id and
    // number, and editing fills it from the entry's linked contract.
    EvidenceChoiceButton *addContract(const QString &objectName, const QString &label,
                                      EvidenceContractChooseWidget::Kind kind);
    QPushButton *addFooterButton(const QString &objectName, const QString &text);

    // Installs the post table once the widgets exist, and when editing loads the entry.
    void setFields(const QList<FormField> &fields);

    // Table rows shared by the forms.
    static FormField atLeastOne(std::function<bool()> present, const QString &message);
    FormField photosRow(const QString &postKey, const QString &groupKey) const;
    FormField choiceRow(const QString &postKey, EvidenceChoiceButton *choice, bool text = false) const;
    FormField itemIdRow() const;
    bool hasPhotos(const QStringList &groupKeys) const;

    // Fills the form from the present entry; forms with more than the table and the photo
    // groups extend it.
    virtual void fillFrom(const HouseBookSeperateDetail_Model::Data &detail);

private:
    void loadEntry();
    void uploadPhotos();
    void uploadsDone();
    void postEvidence();
    void evidencePosted(bool autoApproved);
    void setWorking(bool working, const QString &text = QString());

    HouseMessage_DataSqlTable::HouseMessageData m_house;
    HouseBookSeperateList_Model::ItemData m_row;
    bool m_edit;
    SeparationService::Request m_kind;
    QString m_progressText;
    SeparationService *m_service;
    QScopedPointer<FormBinder> m_binder;
    QList<EvidencePhotoGroup *> m_groups;
    QList<QPair<EvidenceChoiceButton *, QString>> m_dates;  // with their record fields
    EvidenceChoiceButton *m_contract = nullptr;
    PhotosUploadObject *m_upload = nullptr;
    bool m_working = false;

    QFormLayout *m_rows = nullptr;
    QWidget *m_footer = nullptr;
    QPushButton *m_submit = nullptr;
    BusyOverlay *m_busy = nullptr;
};
