#include "separation/separationevidenceform.h"

#include "net/endpoints.h"
#include "net/photosuploadobject.h"
#include "separation/evidencechoicebutton.h"
#include "separation/evidencephotogroup.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/datetimechoosewidget.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>

SeparationEvidenceForm::SeparationEvidenceForm(const HouseMessage_DataSqlTable::HouseMessageData &house,
                                               const HouseBookSeperateList_Model::ItemData &row, bool edit,
                                               SeparationService::Request kind, const QString &progressText,
                                               QWidget *parent)
    : QWidget(parent)
    , m_house(house)
    , m_row(row)
    , m_edit(edit)
    , m_kind(kind)
    , m_progressText(progressText)
    , m_service(new SeparationService(this))
{
    auto *layout = new QVBoxLayout(this);
    auto *scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto *content = new QWidget(scroll);
    auto *column = new QVBoxLayout(content);
    m_rows = new QFormLayout;
    column->addLayout(m_rows);
    column->addStretch(1);
    m_rows->setLabelAlignment(Qt::AlignRight | Qt::AlignTop);
    m_rows->setVerticalSpacing(14);
    scroll->setWidget(content);
    layout->addWidget(scroll, 1);

    m_footer = new QWidget(this);
    auto *footer = new QHBoxLayout(m_footer);
    footer->setContentsMargins(0, 0, 0, 0);
    footer->addStretch();
    m_submit = new QPushButton(QStringLiteral("提交"), m_footer);
    m_submit->setObjectName(QStringLiteral("submitButton"));
    m_submit->setMinimumWidth(120);
    footer->addWidget(m_submit);
    layout->addWidget(m_footer);
    m_busy = new BusyOverlay(this);

    connect(m_submit, &QPushButton::clicked, this, &SeparationEvidenceForm::submit);
    connect(m_service, &SeparationService::evidenceSubmitted, this,
            [this](SeparationService::Request, bool approved) { evidencePosted(approved); });
    connect(m_service, &SeparationService::detailLoaded, this, &SeparationEvidenceForm::fillFrom);
    connect(m_service, &SeparationService::failed, this, [this](SeparationService::Request request) {
        if (request == m_kind || request == SeparationService::Detail)
            setWorking(false);
    });
    connect(m_service, &SeparationService::finished, this, [this](SeparationService::Request request) {
        if (request == SeparationService::Detail)
            setWorking(false);
    });
}

SeparationEvidenceForm::~SeparationEvidenceForm() = default;

EvidencePhotoGroup *SeparationEvidenceForm::photoGroup(const QString &key) const
{
    for (EvidencePhotoGroup *group : m_groups)
        if (group->key() == key)
            return group;
    return nullptr;
}

void SeparationEvidenceForm::setPhotoChooser(const PhotoPicker::FileChooser &chooser)
{
    for (EvidencePhotoGroup *group : qAsConst(m_groups))
        group->picker()->setFileChooser(chooser);
}

// ---- building ----

void SeparationEvidenceForm::addRow(const QString &label, QWidget *field)
{
    auto *caption = new QLabel(label, field->parentWidget());
    m_rows->addRow(caption, field);
}

QLineEdit *SeparationEvidenceForm::addLineEdit(const QString &objectName, const QString &label, const QString &placeholder)
{
    auto *edit = new QLineEdit(m_rows->parentWidget());
    edit->setObjectName(objectName);
    edit->setPlaceholderText(placeholder);
    addRow(label, edit);
    return edit;
}

QTextEdit *SeparationEvidenceForm::addRemark()
{
    auto *remark = new QTextEdit(m_rows->parentWidget());
    remark->setObjectName(QStringLiteral("remarkEdit"));
    remark->setPlaceholderText(QStringLiteral("请输入备注"));
    remark->setAcceptRichText(false);
    remark->setFixedHeight(90);
    addRow(QStringLiteral("备注："), remark);
    return remark;
}

EvidencePhotoGroup *SeparationEvidenceForm::addPhotoGroup(const QString &key, const QString &label)
{
    auto *group = new EvidencePhotoGroup(key, label, m_rows->parentWidget());
    m_groups << group;
    addRow(label + QStringLiteral("："), group);
    return group;
}

EvidenceChoiceButton *SeparationEvidenceForm::addChoice(const QString &objectName, const QString &label, const QString &prompt)
{
    auto *choice = new EvidenceChoiceButton(objectName, prompt, m_rows->parentWidget());
    addRow(label, choice);
    return choice;
}

EvidenceChoiceButton *SeparationEvidenceForm::addDate(const QString &objectName, const QString &label, const QString &title,
                                                       const QString &recordField)
{
    EvidenceChoiceButton *choice = addChoice(objectName, label, title);
    m_dates.append({choice, recordField});
    connect(choice, &QPushButton::clicked, this, [this, choice, title] {
        auto *chooser = new DateTimeChooseWidget(QStringLiteral("yyyy-M-d"), this);
        chooser->setObjectName(QStringLiteral("dateChooser"));
        chooser->setTitle(title);
        chooser->setText(choice->choiceText());
        connect(chooser, &DateTimeChooseWidget::resultDate, choice,
                [choice](const QString &date) { choice->setChoice(date, date); });
        chooser->popup(choice);
    });
    return choice;
}

EvidenceChoiceButton *SeparationEvidenceForm::addContract(const QString &objectName, const QString &label,
                                                           EvidenceContractChooseWidget::Kind kind)
{
    const QString title = EvidenceContractChooseWidget::titleOf(kind);
    EvidenceChoiceButton *choice = addChoice(objectName, label, title);
    m_contract = choice;
    connect(choice, &QPushButton::clicked, this, [this, choice, kind, title] {
        auto *popup = new CommonAddWidget(this);
        popup->setObjectName(QStringLiteral("contractPopup"));
        popup->setTitle(title);
        auto *chooser = new EvidenceContractChooseWidget(kind, m_house, popup);
        popup->setContentWidget(chooser);
        popup->resize(560, 520);
        connect(chooser, &EvidenceContractChooseWidget::contractChosen, this, [choice, popup](const QVariantMap &contract) {
            choice->setChoice(contract.value(QStringLiteral("id")).toString(),
                              contract.value(QStringLiteral("contractno")).toString());
            popup->closeWidget();
        });
        popup->show();
    });
    return choice;
}

QPushButton *SeparationEvidenceForm::addFooterButton(const QString &objectName, const QString &text)
{
    auto *button = new QPushButton(text, m_footer);
    button->setObjectName(objectName);
    static_cast<QHBoxLayout *>(m_footer->layout())->insertWidget(0, button);
    return button;
}

// ---- the table ----

void SeparationEvidenceForm::setFields(const QList<FormField> &fields)
{
    m_binder.reset(new FormBinder(this, fields));
    Q_ASSERT(m_binder->missingWidgets().isEmpty());
    if (m_edit && m_row.hasEntry())
        loadEntry();
}

FormField SeparationEvidenceForm::atLeastOne(std::function<bool()> present, const QString &message)
{
    FormField row = FormField::computed(QString(), [present] { return present() ? QStringLiteral("1") : QString(); },
                                        FormField::Required);
    row.message = message;
    return row;
}

FormField SeparationEvidenceForm::photosRow(const QString &postKey, const QString &groupKey) const
{
    EvidencePhotoGroup *group = photoGroup(groupKey);
    Q_ASSERT(group);
    return FormField::computed(postKey, [group] { return group->json(); });
}

FormField SeparationEvidenceForm::choiceRow(const QString &postKey, EvidenceChoiceButton *choice, bool text) const
{
    return FormField::computed(postKey, [choice, text] { return text ? choice->choiceText() : choice->choiceId(); });
}

FormField SeparationEvidenceForm::itemIdRow() const
{
    const QString id = QString::number(m_house.id);
    return FormField::constant(QStringLiteral("itemid"), id);
}

bool SeparationEvidenceForm::hasPhotos(const QStringList &groupKeys) const
{
    for (const QString &key : groupKeys) {
        const EvidencePhotoGroup *group = photoGroup(key);
        if (group && !group->isEmpty())
            return true;
    }
    return false;
}

QString SeparationEvidenceForm::firstProblem() const
{
    return m_binder ? m_binder->firstProblem().message : QString();
}

QVariantMap SeparationEvidenceForm::postForm() const
{
    QVariantMap form = m_binder ? FormBinder::toMap(m_binder->collect()) : QVariantMap();
    form.insert(QStringLiteral("pass"), 1);
    return form;
}

// ---- editing ----

void SeparationEvidenceForm::loadEntry()
{
    setWorking(true, QStringLiteral("获取编辑内容中..."));
    m_service->loadDetail(m_row.id);
}

void SeparationEvidenceForm::fillFrom(const HouseBookSeperateDetail_Model::Data &detail)
{
    const HouseBookSeperateDetail_Model::DetailInfo &info = detail.detailinfo;
    const QVariantMap record{{QStringLiteral("remark"), detail.remark},
                             {QStringLiteral("endtime"), detail.endtime},
                             {QStringLiteral("keycode"), info.keycode},
                             {QStringLiteral("shoudate"), info.shoudate},
                             {QStringLiteral("heyancode"), info.heyancode},
                             {QStringLiteral("weituocode"), info.weituocode},
                             {QStringLiteral("housecernum"), info.housecernum},
                             {QStringLiteral("hostcernum"), info.hostcernum}};
    m_binder->fill(record);
    for (const auto &date : qAsConst(m_dates)) {
        const QString value = record.value(date.second).toString();
        if (!value.isEmpty())
            date.first->setChoice(value, value);
    }
    for (EvidencePhotoGroup *group : qAsConst(m_groups))
        group->setPhotos(detail.picturecontent.value(group->key()));
    if (m_contract && !detail.contractid.isEmpty() && detail.contractid != QLatin1String("0"))
        m_contract->setChoice(detail.contractid, detail.contractNo.isEmpty() ? detail.contractid : detail.contractNo);
}

// ---- submitting ----

void SeparationEvidenceForm::submit()
{
    if (m_working)
        return;
    // Pictures still being shrunk would count towards the rules below once they are done.
    for (EvidencePhotoGroup *group : qAsConst(m_groups)) {
        if (group->isBusy()) {
            AlertWidget::warning(QStringLiteral("正在处理图片，请稍等！"));
            return;
        }
    }
    const QString problem = firstProblem();
    if (!problem.isEmpty()) {
        AlertWidget::warning(problem);
        return;
    }
    setWorking(true, m_progressText);
    uploadPhotos();
}

// Photos still on disk go up one after another; each answered address replaces its path in
// its group, so a later try sends only what has not gone up yet.
void SeparationEvidenceForm::uploadPhotos()
{
    QList<PhotosUploadObject::PhotosModel> list;
    for (int g = 0; g < m_groups.size(); ++g) {
        const QStringList photos = m_groups.at(g)->photos();
        for (int i = 0; i < photos.size(); ++i) {
            PhotosUploadObject::PhotosModel model;
            model.path = photos.at(i);
            model.type = QString::number(g);
            model.remark = QString::number(i);
            list << model;
        }
    }
    m_upload = new PhotosUploadObject(this);
    m_upload->setPhotos(list);
    connect(m_upload, &PhotosUploadObject::singlePhotoUpFinish, this, [this](const PhotosUploadObject::PhotosModel &model) {
        if (EvidencePhotoGroup *group = m_groups.value(model.type.toInt()))
            group->replacePhoto(model.remark.toInt(), model.path);
    });
    connect(m_upload, &PhotosUploadObject::photosUpFinish, this, &SeparationEvidenceForm::uploadsDone);
    m_upload->startUpload(Endpoints::instance().photoUpload);
}

void SeparationEvidenceForm::uploadsDone()
{
    PhotosUploadObject *upload = m_upload;
    m_upload = nullptr;
    upload->deleteLater();
    for (const PhotosUploadObject::PhotosModel &model : upload->photos()) {
        // The failed upload has told the agent; the photo waits on disk for the next submit.
        if (upload->needsUpload(model.path)) {
            setWorking(false);
            return;
        }
    }
    postEvidence();
}

// A post that fails without the server saying why (lost connection, broken reply) must
// still reach the agent; the form's quiet loads keep their own behaviour.
void SeparationEvidenceForm::postEvidence()
{
    m_service->setFailureNotice(QStringLiteral("提交失败：%1"));
    m_service->submitEvidence(m_kind, postForm());
    m_service->setFailureNotice(QString());
}

void SeparationEvidenceForm::evidencePosted(bool autoApproved)
{
    setWorking(false);
    m_submit->setEnabled(false);
    if (autoApproved)
        AlertWidget::tip(QStringLiteral("您拥有当前操作的审批权限，系统已为您自动审批通过。"));
    emit submitSuccess();
}

void SeparationEvidenceForm::setWorking(bool working, const QString &text)
{
    m_working = working;
    m_submit->setEnabled(!working);
    if (working)
        m_busy->start(text);
    else
        m_busy->stop();
}
