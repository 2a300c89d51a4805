#include "entry_forms/listingentryform.h"

#include "entry_forms/choicelistfield.h"
#include "entry_forms/contactrowswidget.h"
#include "platform/housebookcodes.h"
#include "services/communitystructureservice.h"
#include "sql/basemessage_sqltable.h"
#include "sql/housebookset_sqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/forms/choicecombobox.h"
#include "widgets/forms/inputrules.h"
#include "widgets/forms/unitlineedit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Labels of compulsory fields carry a red "*".
QLabel *label(const QString &text, QWidget *parent, bool required = false)
{
    auto *l = new QLabel(parent);
    l->setTextFormat(Qt::RichText);
    l->setText(required ? QStringLiteral("<span style='color:#e53935'>*</span>%1").arg(text.toHtmlEscaped()) : text.toHtmlEscaped());
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

template <typename T>
T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QLineEdit *lineEdit(QWidget *parent, const QString &name, const QString &placeholder)
{
    auto *edit = named(new QLineEdit(parent), name);
    edit->setPlaceholderText(placeholder);
    return edit;
}

UnitLineEdit *unitEdit(QWidget *parent, const QString &name, const QString &placeholder, const QString &unit,
                       InputRules::Rule rule)
{
    auto *edit = named(new UnitLineEdit(unit, parent), name);
    edit->setPlaceholderText(placeholder);
    InputRules::apply(edit, rule);
    return edit;
}

// A field with a check box in front of a remark ("钥匙" + "钥匙存放处").
QWidget *checkedRemark(QWidget *parent, const QString &checkName, const QString &checkText, const QString &editName,
                       const QString &placeholder)
{
    auto *box = new QWidget(parent);
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(named(new QCheckBox(checkText, box), checkName));
    layout->addWidget(lineEdit(box, editName, placeholder), 1);
    return box;
}

} // namespace

ListingEntryForm::ListingEntryForm(QWidget *parent, bool isEdit, bool isReview, const ListingFormKind &kind)
    : QWidget(parent)
    , m_kind(kind)
    , m_isEdit(isEdit)
    , m_isReview(isReview)
{
    m_service = new ListingEntryService(this);
    m_structure = new CommunityStructureService(this);
    buildUi();
    connectFields();
    fillDistricts();
    withoutStructureUnits();
    showBuildings();
    applyContactDisplayMode();
    m_busy = new BusyOverlay(this);
}

void ListingEntryForm::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("formScrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidget(buildFields());
    layout->addWidget(scroll, 1);
    layout->addWidget(buildButtons());
}

QWidget *ListingEntryForm::buildFields()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("formPage"));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    int row = 0;
    addLocationRows(grid, row);
    addSizeRows(grid, row);
    addChoiceRows(grid, row);
    addExtraRows(grid, row);
    grid->setRowStretch(row, 1);
    return page;
}

void ListingEntryForm::addLocationRows(QGridLayout *grid, int &row)
{
    QWidget *page = grid->parentWidget();
    m_communityButton = named(new QPushButton(QStringLiteral("请选择小区"), page), QStringLiteral("xiaoQuChooseButton"));
    m_communityButton->setCursor(Qt::PointingHandCursor);
    m_communityButton->setStyleSheet(QStringLiteral("text-align:left;padding:4px 8px;"));
    grid->addWidget(label(QStringLiteral("小区名称"), page, true), row, 0);
    grid->addWidget(m_communityButton, row++, 1, 1, 3);

    m_district = named(new ChoiceComboBox(page), QStringLiteral("comboBox_quYu"));
    m_area = named(new ChoiceComboBox(page), QStringLiteral("comboBox_pianQu"));
    grid->addWidget(label(QStringLiteral("区域"), page), row, 0);
    grid->addWidget(m_district, row, 1);
    grid->addWidget(label(QStringLiteral("片区"), page), row, 2);
    grid->addWidget(m_area, row++, 3);

    grid->addWidget(label(QStringLiteral("坐落位置"), page, true), row, 0);
    grid->addWidget(lineEdit(page, QStringLiteral("adresslineEdit"), QStringLiteral("请输入坐落位置")), row++, 1, 1, 3);

    m_buildingCombo = named(new QComboBox(page), QStringLiteral("comboBox_louDong"));
    m_unitCombo = named(new QComboBox(page), QStringLiteral("comboBox_danYuan"));
    grid->addWidget(label(QStringLiteral("楼栋"), page, true), row, 0);
    grid->addWidget(m_buildingCombo, row, 1);
    grid->addWidget(label(QStringLiteral("单元"), page), row, 2);
    grid->addWidget(m_unitCombo, row++, 3);

    auto *roomBox = new QWidget(page);
    auto *roomLayout = new QHBoxLayout(roomBox);
    roomLayout->setContentsMargins(0, 0, 0, 0);
    m_roomNo = lineEdit(roomBox, QStringLiteral("roomNolineEdit"), QStringLiteral("房号"));
    roomLayout->addWidget(m_roomNo, 1);
    roomLayout->addWidget(named(new QPushButton(QStringLiteral("选择房号"), roomBox), QStringLiteral("pushButton_room")));
    grid->addWidget(label(QStringLiteral("房号"), page, true), row, 0);
    grid->addWidget(roomBox, row++, 1, 1, 3);

    grid->addWidget(label(QStringLiteral("户型"), page, true), row, 0);
    grid->addWidget(buildLayoutRow(), row++, 1, 1, 3);
}

QWidget *ListingEntryForm::buildLayoutRow()
{
    auto *box = named(new QWidget, QStringLiteral("widget_huType"));
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QSpinBox **, QPair<QString, QString>>> parts{
        {&m_rooms, {QStringLiteral("roomSpinBox"), QStringLiteral("室")}},
        {&m_halls, {QStringLiteral("hallSpinBox"), QStringLiteral("厅")}},
        {&m_baths, {QStringLiteral("huxingweiSpinBox"), QStringLiteral("卫")}},
        {&m_kitchens, {QStringLiteral("kitchenSpinBox"), QStringLiteral("厨")}},
        {&m_balconies, {QStringLiteral("balconySpinBox"), QStringLiteral("阳")}}};
    for (const auto &part : parts) {
        auto *spin = named(new QSpinBox(box), part.second.first);
        spin->setRange(0, 99);
        spin->setButtonSymbols(QAbstractSpinBox::NoButtons);
        spin->setAlignment(Qt::AlignCenter);
        layout->addWidget(spin, 1);
        layout->addWidget(new QLabel(part.second.second, box));
        *part.first = spin;
    }
    return box;
}

void ListingEntryForm::addSizeRows(QGridLayout *grid, int &row)
{
    QWidget *page = grid->parentWidget();
    m_floor = unitEdit(page, QStringLiteral("floorslineEdit"), QStringLiteral("请输入所在楼层"), QStringLiteral("楼"),
                       InputRules::Integer);
    m_allFloors = lineEdit(page, QStringLiteral("allfloorslineEdit"), QStringLiteral("请输入总楼层"));
    InputRules::apply(m_allFloors, InputRules::Integer);
    grid->addWidget(label(QStringLiteral("楼层"), page, true), row, 0);
    grid->addWidget(m_floor, row, 1);
    grid->addWidget(label(QStringLiteral("总楼层"), page, true), row, 2);
    grid->addWidget(m_allFloors, row++, 3);

    m_areaEdit = unitEdit(page, QStringLiteral("builtupareaLineEdit"), QStringLiteral("请输入面积"), QStringLiteral("m²"),
                          InputRules::Decimal);
    m_price = unitEdit(page, QStringLiteral("priceLineEdit"), m_kind.pricePlaceholder, m_kind.priceUnit,
                       InputRules::Decimal);
    grid->addWidget(label(QStringLiteral("面积"), page, true), row, 0);
    grid->addWidget(m_areaEdit, row, 1);
    grid->addWidget(label(m_kind.priceLabel, page, true), row, 2);
    if (m_kind.rent) {
        auto *box = new QWidget(page);
        auto *layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        m_price->setParent(box);
        auto *unit = named(new ChoiceComboBox(box), QStringLiteral("comboBox_zuUnit"));
        unit->setChoices(ListingChoices::rentUnits());
        layout->addWidget(m_price, 1);
        layout->addWidget(unit);
        grid->addWidget(box, row++, 3);
    } else {
        grid->addWidget(m_price, row++, 3);
    }
    if (m_kind.hasUnitPrice) {
        m_unitPrice = unitEdit(page, QStringLiteral("unitPriceLineEdit"), QStringLiteral("请输入单价"),
                               QStringLiteral("元/m²"), InputRules::Decimal);
        m_price->installEventFilter(this);
        m_unitPrice->installEventFilter(this);
        grid->addWidget(label(QStringLiteral("单价"), page), row, 0);
        grid->addWidget(m_unitPrice, row++, 1);
    }
}

// The single-choice fields of the kind, two to a row.
void ListingEntryForm::addChoiceRows(QGridLayout *grid, int &row)
{
    QWidget *page = grid->parentWidget();
    int column = 0;
    for (const ChoiceFieldRow &choice : m_kind.choiceFields) {
        auto *combo = named(new ChoiceComboBox(page), choice.objectName);
        if (choice.referenceColumn.isEmpty())
            combo->setChoices(choice.choices, true);
        else
            combo->setChoiceListOr(choice.referenceColumn, choice.choices, true);
        grid->addWidget(label(choice.label.trimmed(), page, choice.required), row, column);
        grid->addWidget(combo, row, column + 1);
        column = column == 0 ? 2 : 0;
        if (column == 0)
            ++row;
    }
    if (column != 0)
        ++row;
}

void ListingEntryForm::addExtraRows(QGridLayout *grid, int &row)
{
    QWidget *page = grid->parentWidget();
    grid->addWidget(label(QStringLiteral("钥匙"), page), row, 0);
    grid->addWidget(checkedRemark(page, QStringLiteral("checkBox_key"), QStringLiteral("钥匙"),
                                  QStringLiteral("keysLineEdit"), QStringLiteral("钥匙存放处")), row, 1);
    if (m_kind.hasGarage) {
        grid->addWidget(label(QStringLiteral("车库"), page), row, 2);
        grid->addWidget(checkedRemark(page, QStringLiteral("checkBox_carHouse"), QStringLiteral("车库"),
                                      QStringLiteral("garageLineEdit"), QStringLiteral("车库备注")), row, 3);
    }
    ++row;

    m_traffic = new ChoiceListField(QStringLiteral("trafficToolButton"), QStringLiteral("选择交通"),
                                    QStringLiteral("trafficWidget"), QStringLiteral("trafficChooser"),
                                    QStringLiteral("选择交通"), page);
    m_traffic->setChoices(BaseMessage_SqlTable(nullptr, HouseBookCodes::kJointSale).names(QStringLiteral("traffic")));
    grid->addWidget(label(QStringLiteral("交通"), page), row, 0);
    grid->addWidget(m_traffic, row++, 1, 1, 3);

    m_tags = new ChoiceListField(QStringLiteral("tag_pushButton"), QStringLiteral("选择标签"),
                                 QStringLiteral("tagShowView"), QStringLiteral("tagChooser"), m_kind.tagTitle, page);
    m_tags->setChoices(BaseMessage_SqlTable(nullptr, HouseBookCodes::kJointSale).names(m_kind.tagColumn));
    grid->addWidget(label(QStringLiteral("标签"), page), row, 0);
    grid->addWidget(m_tags, row++, 1, 1, 3);

    if (m_kind.hasFacilities) {
        m_facilities = new ChoiceListField(QStringLiteral("peitao_pushButton"), QStringLiteral("选择配套"),
                                           QStringLiteral("peitaoShowView"), QStringLiteral("peitaoChooser"),
                                           QStringLiteral("选择配套"), page);
        m_facilities->setChoices(ListingChoices::facilities());
        grid->addWidget(label(QStringLiteral(" 配套 ").trimmed(), page), row, 0);
        grid->addWidget(m_facilities, row++, 1, 1, 3);
    }

    auto *remarkBar = new QWidget(page);
    auto *remarkLayout = new QHBoxLayout(remarkBar);
    remarkLayout->setContentsMargins(0, 0, 0, 0);
    auto *remarkButton = named(new QPushButton(QStringLiteral("添加备注"), remarkBar), QStringLiteral("remark_pushButton"));
    remarkLayout->addWidget(remarkButton);
    remarkLayout->addWidget(named(new QCheckBox(QStringLiteral("对外显示备注"), remarkBar), QStringLiteral("checkBox_remarkShow")));
    remarkLayout->addStretch(1);
    grid->addWidget(label(QStringLiteral("备注   ").trimmed(), page), row, 0);
    grid->addWidget(remarkBar, row++, 1, 1, 3);
    m_remark = named(new QTextEdit(page), QStringLiteral("remarktextEdit"));
    m_remark->setAcceptRichText(false);
    m_remark->setFixedHeight(70);
    m_remark->setVisible(false);
    connect(remarkButton, &QPushButton::clicked, m_remark, [this] { m_remark->setVisible(!m_remark->isVisible()); });
    grid->addWidget(m_remark, row++, 1, 1, 3);

    m_phoneSet = buildPhoneSet();
    grid->addWidget(m_phoneSet, row++, 0, 1, 4);

    grid->addWidget(label(QStringLiteral("联系人"), page, true), row, 0, Qt::AlignTop | Qt::AlignRight);
    m_contacts = new ContactRowsWidget(page);
    grid->addWidget(m_contacts, row++, 1, 1, 3);
}

QWidget *ListingEntryForm::buildPhoneSet()
{
    auto *box = named(new QWidget, QStringLiteral("widget_phoneSet"));
    auto *layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *title = label(QStringLiteral("号码显示"), box, true);
    title->setMinimumWidth(60);
    layout->addWidget(title);
    m_showOwner = named(new QRadioButton(QStringLiteral("显示（联系房主）"), box),
                        QStringLiteral("radioButton_phoneSet_link_fangzhu"));
    m_showPublisher = named(new QRadioButton(QStringLiteral("隐藏（联系发布人）"), box),
                            QStringLiteral("radioButton_phoneSet_link_publisher"));
    m_hiddenOwner = named(new QRadioButton(QStringLiteral("隐藏（通过duz联系房主）"), box),
                          QStringLiteral("radioButton_phoneSet_link_fangzhu_yinhao"));
    auto *group = new QButtonGroup(box);
    for (QRadioButton *button : {m_showOwner, m_showPublisher, m_hiddenOwner}) {
        group->addButton(button);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return box;
}

QWidget *ListingEntryForm::buildButtons()
{
    auto *bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("buttonBar"));
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(16, 8, 16, 12);
    layout->addStretch(1);
    const QString style = QStringLiteral("QPushButton{background:rgb(12,145,235);color:white;border:none;"
                                         "border-radius:3px;padding:6px 28px;}QPushButton:disabled{background:#9ccbee;}");
    if (m_isReview) {
        m_approve = named(new QPushButton(QStringLiteral("通过"), bar), QStringLiteral("pushButton_tongGuo"));
        m_reject = named(new QPushButton(QStringLiteral("驳回"), bar), QStringLiteral("pushButton_boHui"));
        m_approve->setStyleSheet(style);
        layout->addWidget(m_reject);
        layout->addWidget(m_approve);
    } else {
        m_submit = named(new QPushButton(m_isEdit ? QStringLiteral("编辑保存") : QStringLiteral("提交"), bar),
                         QStringLiteral("submitButton"));
        m_submit->setStyleSheet(style);
        layout->addWidget(m_submit);
    }
    return bar;
}

void ListingEntryForm::connectFields()
{
    connect(m_communityButton, &QPushButton::clicked, this, &ListingEntryForm::deal_chooseXiaoQu);
    connect(findChild<QPushButton *>(QStringLiteral("pushButton_room")), &QPushButton::clicked, this,
            &ListingEntryForm::chooseRoom);
    connect(m_district, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ListingEntryForm::deal_areaChooseDeal);
    connect(m_buildingCombo, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { addloudong(m_buildingCombo->itemText(index)); });
    connect(m_unitCombo, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { adddanyuna(m_unitCombo->itemText(index)); });
    connect(m_buildingCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ListingEntryForm::checkRepeat);
    connect(m_unitCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &ListingEntryForm::checkRepeat);
    connect(m_roomNo, &QLineEdit::editingFinished, this, &ListingEntryForm::checkRepeat);
    connect(m_roomNo, &QLineEdit::textChanged, this, &ListingEntryForm::fangHaoFormatCheck);
    connect(m_tags, &ChoiceListField::clicked, m_tags, &ChoiceListField::openChooser);
    connect(m_traffic, &ChoiceListField::clicked, m_traffic, &ChoiceListField::openChooser);
    if (m_facilities)
        connect(m_facilities, &ChoiceListField::clicked, m_facilities, &ChoiceListField::openChooser);
    if (m_unitPrice) {
        connect(m_unitPrice, &QLineEdit::textEdited, this, [this] { priceCalculate(1); });
        connect(m_price, &QLineEdit::textEdited, this, [this] { priceCalculate(2); });
    }
    if (m_submit)
        connect(m_submit, &QPushButton::clicked, this, &ListingEntryForm::sureButtonClick);
    if (m_approve) {
        connect(m_approve, &QPushButton::clicked, this, &ListingEntryForm::tongGuoReview);
        connect(m_reject, &QPushButton::clicked, this, &ListingEntryForm::boHuiReview);
    }
    connect(m_service, &ListingEntryService::busyChanged, this, [this](bool busy) {
        for (QPushButton *button : {m_submit, m_approve, m_reject}) {
            if (button)
                button->setEnabled(!busy);
        }
        if (busy)
            m_busy->start(QStringLiteral("正在提交..."));
        else
            m_busy->stop();
    });
    connect(m_service, &ListingEntryService::saved, this, &ListingEntryForm::onSaved);
    connect(m_service, &ListingEntryService::duplicateFound, this, &ListingEntryForm::onDuplicate);
    connect(m_structure, &CommunityStructureService::buildingsArrived, this, &ListingEntryForm::dealSearchData);
    connect(m_structure, &CommunityStructureService::unitsArrived, this, &ListingEntryForm::dealUnitData);
    connect(m_structure, &CommunityStructureService::locksArrived, this, &ListingEntryForm::dealLockData);
    connect(m_structure, &CommunityStructureService::roomDetailArrived, this, &ListingEntryForm::dealRoomDetailMsg);
}

// The house-book setting yinhao_mode: 0 hides the contact display choice, 1 offers it with
// the owner's number shown, 2 with the publisher's and without showing the owner's.
void ListingEntryForm::applyContactDisplayMode()
{
    const int mode = HouseBookSet_SqlTable(nullptr, HouseBookCodes::kJointSale)
                         .bookSetValue(QStringLiteral("yinhao_mode")).toInt();
    m_phoneSet->setVisible(mode == 1 || mode == 2);
    m_showOwner->setEnabled(mode != 2);
    (mode == 2 ? m_showPublisher : m_showOwner)->setChecked(true);
}

void ListingEntryForm::fillDistricts()
{
    QStringList names;
    for (const QVariantMap &district : BaseMessage_SqlTable(nullptr, HouseBookCodes::kJointSale).areaTree())
        names << district.value(QStringLiteral("name")).toString();
    m_district->setChoices(names, true);
    m_area->setChoices({}, true);
}

void ListingEntryForm::deal_areaChooseDeal(int index)
{
    Q_UNUSED(index)
    const QString chosen = m_district->value();
    QStringList areas;
    for (const QVariantMap &district : BaseMessage_SqlTable(nullptr, HouseBookCodes::kJointSale).areaTree()) {
        if (district.value(QStringLiteral("name")).toString() != chosen)
            continue;
        for (const QVariant &son : district.value(QStringLiteral("sons")).toList())
            areas << son.toMap().value(QStringLiteral("name")).toString();
    }
    m_area->setChoices(areas, true);
}

bool ListingEntryForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && (watched == m_price || watched == m_unitPrice)
        && m_areaEdit->text().trimmed().isEmpty()) {
        AlertWidget::warning(QStringLiteral("请先填写面积！"));
    }
    return QWidget::eventFilter(watched, event);
}
