#include "detail/describe/housedescribemessageeditwidget.h"

#include "detail/describe/describefacts.h"
#include "detail/describe/describephotogrid.h"
#include "detail/describe/describephotoset.h"
#include "detail/describe/housedetaildescribeeditwidget.h"
#include "detail/describe/joinertext.h"
#include "services/describeservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/datetimechoosewidget.h"
#include "widgets/forms/choicecombobox.h"
#include "widgets/forms/tagchooserwidget.h"
#include "widgets/forms/unitlineedit.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>

using DescribeFacts::Fact;

namespace {

const QString kTitle = QStringLiteral("title");
const QString kTags = QStringLiteral("fangyuantag");
const QString kVrurl = QStringLiteral("vrurl");

// Which section of the form a fact goes to.
enum Section { Basic, Price, Details };

Section sectionOf(const QString &key)
{
    static const QStringList price{QStringLiteral("onSaleTime"), QStringLiteral("depreciateMark"),
                                   QStringLiteral("shoufu"), QStringLiteral("yongjin")};
    static const QStringList details{QStringLiteral("fuwuleixing"), QStringLiteral("showingTime"),
                                     QStringLiteral("describes"), QStringLiteral("yezhuxintai"),
                                     QStringLiteral("fuwujieshao")};
    return price.contains(key) ? Price : details.contains(key) ? Details : Basic;
}

QString objectNameOf(const QString &key, int input)
{
    switch (input) {
    case DescribeFacts::Choice:
        return QStringLiteral("comboBox_") + key;
    case DescribeFacts::Several:
        return QStringLiteral("chooser_") + key;
    case DescribeFacts::Long:
        return QStringLiteral("textEdit_") + key;
    default:
        return QStringLiteral("lineEdit_") + key;
    }
}

FormField::Kind kindOf(int input)
{
    switch (input) {
    case DescribeFacts::Number:
        return FormField::Decimal;
    case DescribeFacts::Choice:
        return FormField::Choice;
    case DescribeFacts::Several:
        return FormField::Tags;
    default:
        return FormField::Text;
    }
}

QLabel *note(const QString &text, const QString &colour, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setStyleSheet(QStringLiteral("color:%1;").arg(colour));
    return label;
}

QPushButton *linkButton(const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton{border:1px solid #0c91eb;color:#0c91eb;padding:3px 10px;}"));
    return b;
}

} // namespace

HouseDescribeMessageEditWidget::HouseDescribeMessageEditWidget(const HouseMessage_DataSqlTable::HouseMessageData &record,
                                                               const QJsonObject &detail, QWidget *parent)
    : QWidget(parent)
    , m_record(record)
    , m_detail(detail)
    , m_photos(new DescribePhotoSet(this))
    , m_service(new DescribeService(this))
    , m_overlay(new BusyOverlay(this))
{
    setObjectName(QStringLiteral("describeMessageEditWidget"));
    baseinit();
    connect(m_photos, &DescribePhotoSet::changed, this, &HouseDescribeMessageEditWidget::loadPhoto);
    connect(m_photos, &DescribePhotoSet::uploaded, this, [this] { m_service->saveFacts(getInputContent()); });
    connect(m_photos, &DescribePhotoSet::uploadFailed, this, [this] {
        m_overlay->stop();
        showErrorMsg(QStringLiteral("图片上传失败，请重新提交！"));
    });
    connect(m_service, &DescribeService::houseTagsLoaded, this, &HouseDescribeMessageEditWidget::dealHousetags);
    connect(m_service, &DescribeService::finished, this, [this](DescribeService::Request which) {
        if (which == DescribeService::HouseTags)
            m_tagsLoading = false;
        else
            m_overlay->stop();
    });
    connect(m_service, &DescribeService::factsSaved, this, &HouseDescribeMessageEditWidget::operateSuccess);
    checkInit();
    downloadHousetag();
}

QWidget *HouseDescribeMessageEditWidget::section(const QString &title, QFormLayout **form)
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 8, 0, 0);
    auto *caption = new QLabel(title, box);
    caption->setStyleSheet(QStringLiteral("font-weight:bold;color:#333333;font-size:14px;"));
    layout->addWidget(caption);
    *form = new QFormLayout;
    (*form)->setLabelAlignment(Qt::AlignRight);
    layout->addLayout(*form);
    return box;
}

QWidget *HouseDescribeMessageEditWidget::factInput(const QString &key, int input, const QStringList &choices,
                                                   const QString &hint, const QString &unit, QList<FormField> *fields)
{
    const QString name = objectNameOf(key, input);
    fields->append(FormField(name, key, key, kindOf(input)));
    switch (input) {
    case DescribeFacts::Choice: {
        auto *combo = new ChoiceComboBox;
        combo->setChoices(choices, true);
        combo->setObjectName(name);
        return combo;
    }
    case DescribeFacts::Several: {
        auto *chooser = new TagChooserWidget(nullptr, 4);
        chooser->setChoices(choices);
        chooser->setObjectName(name);
        return chooser;
    }
    case DescribeFacts::Long: {
        auto *text = new QTextEdit;
        text->setAcceptRichText(false);
        text->setPlaceholderText(hint);
        text->setFixedHeight(70);
        text->setObjectName(name);
        return text;
    }
    default: {
        auto *edit = input == DescribeFacts::Number ? new UnitLineEdit(unit) : new QLineEdit;
        edit->setPlaceholderText(hint);
        edit->setObjectName(name);
        if (input != DescribeFacts::Date)
            return edit;
        edit->setReadOnly(true);
        auto *row = new QWidget;
        auto *layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        edit->setParent(row);
        layout->addWidget(edit, 1);
        QPushButton *choose = linkButton(QStringLiteral("选择日期"), row);
        choose->setObjectName(QStringLiteral("pushButton_") + key);
        connect(choose, &QPushButton::clicked, this, [this, key] { dateChoose(key); });
        layout->addWidget(choose);
        return row;
    }
    }
}

QWidget *HouseDescribeMessageEditWidget::photoRow(int type, const QString &button)
{
    auto *box = new QWidget;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *head = new QHBoxLayout;
    QPushButton *choose = linkButton(button, box);
    choose->setObjectName(QStringLiteral("pushButton_photo%1").arg(type));
    connect(choose, &QPushButton::clicked, this, [this, type] { choosePhotos(type); });
    auto *count = new QLabel(box);
    count->setObjectName(QStringLiteral("label_photoCount%1").arg(type));
    m_countLabels.insert(type, count);
    head->addWidget(choose);
    head->addWidget(count);
    head->addStretch(1);
    layout->addLayout(head);
    layout->addWidget(new DescribePhotoGrid(m_photos, type, box));
    return box;
}

void HouseDescribeMessageEditWidget::addNotes(QVBoxLayout *layout)
{
    layout->addWidget(note(QStringLiteral("注：房源信息中不得出现任何联系方式（电话、微信、QQ等）及与房源无关的内容，否则将无法推送。"),
                           QStringLiteral("#999999"), this));
    layout->addWidget(note(QStringLiteral("图片要求：室内图不少于3张，户型图1张，图片清晰无水印、无拼接、无联系方式，"
                                          "单张大小不超过5M，格式为jpg、png。"),
                           QStringLiteral("#999999"), this));
}

void HouseDescribeMessageEditWidget::baseinit()
{
    auto *inner = new QWidget;
    auto *layout = new QVBoxLayout(inner);
    layout->setContentsMargins(24, 12, 24, 12);
    QFormLayout *forms[3] = {};
    layout->addWidget(section(QStringLiteral("房屋基本信息（补充）："), &forms[Basic]));
    layout->addWidget(section(QStringLiteral("价格信息（补充）："), &forms[Price]));
    layout->addWidget(section(QStringLiteral("详细信息："), &forms[Details]));

    QList<FormField> fields;
    m_title = new QLineEdit;
    m_title->setObjectName(QStringLiteral("lineEdit_title"));
    m_title->setPlaceholderText(QStringLiteral("请输入房源标题(10~30字内)"));
    forms[Details]->addRow(QStringLiteral("房源标题："), m_title);
    fields.append(FormField(m_title->objectName(), kTitle, kTitle));
    for (const Fact &fact : DescribeFacts::facts()) {
        QWidget *input = factInput(fact.key, fact.input, fact.choices, fact.hint, fact.unit, &fields);
        const QString caption = fact.label.left(fact.label.indexOf(QLatin1String("%1")));
        if (fact.key == QLatin1String("fushuxinxi")) {
            // A long list: opened on demand from "选择附属信息".
            m_fuShu = static_cast<TagChooserWidget *>(input);
            m_fuShu->hide();
            auto *row = new QWidget;
            auto *box = new QVBoxLayout(row);
            box->setContentsMargins(0, 0, 0, 0);
            QPushButton *open = linkButton(QStringLiteral("选择附属信息"), row);
            open->setObjectName(QStringLiteral("pushButton_fushuxinxi"));
            connect(open, &QPushButton::clicked, this, &HouseDescribeMessageEditWidget::addFuShuMsg);
            box->addWidget(open, 0, Qt::AlignLeft);
            box->addWidget(m_fuShu);
            input = row;
        }
        forms[sectionOf(fact.key)]->addRow(caption, input);
    }

    auto *tagBox = new QWidget;
    auto *tagLayout = new QVBoxLayout(tagBox);
    tagLayout->setContentsMargins(0, 0, 0, 0);
    QPushButton *chooseTags = linkButton(QStringLiteral("选择房源标签"), tagBox);
    chooseTags->setObjectName(QStringLiteral("pushButton_fangyuantag"));
    connect(chooseTags, &QPushButton::clicked, this, &HouseDescribeMessageEditWidget::addHouseTag);
    m_tags = new TagChooserWidget(tagBox, 4);
    m_tags->setObjectName(QStringLiteral("chooser_fangyuantag"));
    m_tags->hide();
    tagLayout->addWidget(chooseTags, 0, Qt::AlignLeft);
    tagLayout->addWidget(m_tags);
    forms[Details]->addRow(QStringLiteral("房源标签："), tagBox);
    fields.append(FormField(m_tags->objectName(), kTags, kTags, FormField::Tags));

    forms[Details]->addRow(QStringLiteral("室内图："), photoRow(1, QStringLiteral("选择室内图")));
    forms[Details]->addRow(QStringLiteral("户型图："), photoRow(2, QStringLiteral("选择户型图")));
    forms[Details]->addRow(QStringLiteral("室外图："), photoRow(3, QStringLiteral("选择户外图")));

    auto *vrRow = new QWidget;
    auto *vr = new QHBoxLayout(vrRow);
    vr->setContentsMargins(0, 0, 0, 0);
    m_vrurl = new QLineEdit(vrRow);
    m_vrurl->setObjectName(QStringLiteral("lineEdit_vrurl"));
    m_vrurl->setPlaceholderText(QStringLiteral("复制720°全景看房网址粘贴此处"));
    auto *help = new QLabel(QStringLiteral("<a href=\"help\">教程></a>"), vrRow);
    help->setObjectName(QStringLiteral("label_vrHelp"));
    connect(help, &QLabel::linkActivated, this, &HouseDescribeMessageEditWidget::showQuanJinTutorial);
    vr->addWidget(m_vrurl, 1);
    vr->addWidget(help);
    forms[Details]->addRow(QStringLiteral("720°全景："), vrRow);
    fields.append(FormField(m_vrurl->objectName(), kVrurl, kVrurl));

    addNotes(layout);
    m_communityNote = note(QStringLiteral("请选择58小区"), QStringLiteral("#ff0000"), inner);
    m_communityNote->setObjectName(QStringLiteral("label_xiaoqu58"));
    m_communityNote->hide();
    layout->addWidget(m_communityNote);
    layout->addStretch(1);

    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(inner);
    m_error = new QLabel(this);
    m_error->setObjectName(QStringLiteral("label_error"));
    m_error->setStyleSheet(QStringLiteral("color:#ff0000;"));
    m_error->hide();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_error, 1);
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("pushButton_cancel"));
    auto *submit = new QPushButton(QStringLiteral("提交"), this);
    submit->setObjectName(QStringLiteral("pushButton_submit"));
    submit->setStyleSheet(QStringLiteral("QPushButton{background:#0c91eb;color:#ffffff;border:none;padding:6px 24px;}"));
    buttons->addWidget(cancel);
    buttons->addWidget(submit);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 12, 12);
    outer->addWidget(scroll, 1);
    outer->addLayout(buttons);
    connect(cancel, &QPushButton::clicked, this, &HouseDescribeMessageEditWidget::closeWidget);
    connect(submit, &QPushButton::clicked, this, &HouseDescribeMessageEditWidget::submitClick);
    m_binder = new FormBinder(this, fields);
}

// The stored facts as the inputs show them: "&" restored, unset numbers empty.
void HouseDescribeMessageEditWidget::checkInit()
{
    QVariantMap values;
    for (const FormField &field : m_binder->fields())
        values.insert(field.recordField, JoinerText::shown(DescribeFacts::valueOf(m_detail, field.recordField)));
    m_binder->fill(values);
    m_photos->setPhotos(DescribeTexts::photosOf(m_detail.value(QStringLiteral("pic"))));
    loadPhoto();
}

void HouseDescribeMessageEditWidget::setPortalCommunity(bool required, const QString &community)
{
    m_portalCommunityRequired = required;
    m_portalCommunity = community;
    m_communityNote->setVisible(required && community.trimmed().isEmpty());
}

void HouseDescribeMessageEditWidget::showQuanJinTutorial()
{
    HouseDetailDescribeEditWidget::openTutorial(this);
}

void HouseDescribeMessageEditWidget::dateChoose(const QString &type)
{
    auto *edit = findChild<QLineEdit *>(QStringLiteral("lineEdit_") + type);
    if (!edit)
        return;
    auto *chooser = new DateTimeChooseWidget(QStringLiteral("yyyy-MM-dd"), this);
    chooser->setObjectName(QStringLiteral("dateChooser"));
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setWindowFlags(Qt::Popup);
    chooser->setTitle(QStringLiteral("选择日期"));
    chooser->setText(edit->text());
    connect(chooser, &DateTimeChooseWidget::resultDate, edit, &QLineEdit::setText);
    chooser->popup(edit);
}

void HouseDescribeMessageEditWidget::addFuShuMsg()
{
    m_fuShu->setVisible(!m_fuShu->isVisible());
}

void HouseDescribeMessageEditWidget::downloadHousetag()
{
    m_tagsLoading = true;
    m_service->loadHouseTags();
}

void HouseDescribeMessageEditWidget::dealHousetags(const QStringList &tags)
{
    m_tags->setChoices(tags);
}

void HouseDescribeMessageEditWidget::addHouseTag()
{
    if (m_tagsLoading) {
        AlertWidget::warning(QStringLiteral("房源标签获取中，请稍后点击选择！"));
        return;
    }
    m_tags->setVisible(!m_tags->isVisible());
}

void HouseDescribeMessageEditWidget::choosePhotos(int type)
{
    m_photos->pick(this, type);
}

void HouseDescribeMessageEditWidget::loadPhoto()
{
    static const QMap<int, QString> formats{{1, QStringLiteral("室内图(%1张)")}, {2, QStringLiteral("户型图(%1张)")},
                                            {3, QStringLiteral("室外图(%1张)")}};
    for (auto it = m_countLabels.cbegin(); it != m_countLabels.cend(); ++it)
        it.value()->setText(formats.value(it.key()).arg(m_photos->count(it.key())));
}

void HouseDescribeMessageEditWidget::coverSet(int index)
{
    m_photos->setCover(index);
}

QString HouseDescribeMessageEditWidget::checkMsgIsCorrect() const
{
    DescribeFacts::Check check;
    for (const FormField &field : m_binder->fields())
        check.values.insert(field.postKey, m_binder->value(field.objectName));
    check.tagCount = m_tags->checkedItems().size();
    check.portalMode = m_portalMode;
    check.portalCommunityRequired = m_portalCommunityRequired;
    check.portalCommunity = m_portalCommunity;
    return DescribeFacts::firstProblem(check);
}

void HouseDescribeMessageEditWidget::showErrorMsg(QString msg)
{
    m_error->setText(QStringLiteral("⚠ %1").arg(msg));
    m_error->setVisible(!msg.isEmpty());
}

QString HouseDescribeMessageEditWidget::errorText() const
{
    return m_error->isHidden() ? QString() : m_error->text().mid(2);
}

QVariantMap HouseDescribeMessageEditWidget::getInputContent() const
{
    QVariantMap form{{QStringLiteral("id"), m_record.id},
                     {QStringLiteral("axid"), DescribeFacts::valueOf(m_detail, QStringLiteral("axid"))},
                     {QStringLiteral("pic"), DescribeTexts::photosJson(m_photos->photos(), true)}};
    for (const FormField &field : m_binder->fields()) {
        const QString value = m_binder->value(field.objectName).trimmed();
        const bool number = field.kind == FormField::Decimal;
        form.insert(field.postKey, number ? (value.isEmpty() ? QStringLiteral("-1") : value) : JoinerText::stored(value));
    }
    return form;
}

void HouseDescribeMessageEditWidget::startCheck()
{
    const QString problem = checkMsgIsCorrect();
    showErrorMsg(problem);
    if (!problem.isEmpty())
        return;
    m_overlay->start(QStringLiteral("提交中..."));
    m_photos->upload();
}

void HouseDescribeMessageEditWidget::submitClick()
{
    if (m_photos->isBusy()) {
        AlertWidget::warning(QStringLiteral("正在处理图片请稍等！"));
        return;
    }
    startCheck();
}
