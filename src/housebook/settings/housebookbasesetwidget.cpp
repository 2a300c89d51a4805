#include "settings/housebookbasesetwidget.h"

#include "settings/settingssave.h"

#include "net/wholenumber.h"
#include "platform/housebookcodes.h"
#include "services/housebooksettingsservice.h"
#include "sql/housebookset_sqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/namedwidgets.h"
#include "widgets/sortwidget.h"


#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

using Service = HouseBookSettingsService;

const QStringList kRepeatTexts{QStringLiteral("小区名"), QStringLiteral("楼栋号"), QStringLiteral("单元号"),
                               QStringLiteral("房号"), QStringLiteral("号码")};
// The publish types: check box and the key it is stored and posted under.
const QList<QPair<QString, QString>> kPublishTypes{
    {QStringLiteral("companyGstateCheck"), QStringLiteral("companyGstate")},
    {QStringLiteral("companySstateCheck"), QStringLiteral("companySstate")},
    {QStringLiteral("storeGstateCheck"), QStringLiteral("storeGstate")},
    {QStringLiteral("storeSstateCheck"), QStringLiteral("storeSstate")}};
const QStringList kPublishTexts{QStringLiteral("公司公盘"), QStringLiteral("公司私盘"), QStringLiteral("门店公盘"),
                                QStringLiteral("门店私盘")};
// What a listing hides by default: the check box text and the title the entry is posted with.
const QStringList kViewRecordTexts{QStringLiteral("单元/楼栋/房号"), QStringLiteral("电话号码"), QStringLiteral("楼层")};
const QStringList kViewRecordTitles{QStringLiteral("单元栋号房号"), QStringLiteral("电话号码"), QStringLiteral("楼层")};
const QStringList kYinhaoTexts{QStringLiteral("不允许"), QStringLiteral("允许隐藏号码"), QStringLiteral("强制隐藏号码")};
const QString kClasses = QStringLiteral("ABCD");
constexpr int kItemColumns = 4;

QStringList numberedNames(const QString &prefix, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << prefix + QString::number(i);
    return names;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The category entries as posted: id, title and choose only, in the shown order.
QString itemText(const QList<QVariantMap> &items)
{
    QList<QVariantMap> entries;
    for (const QVariantMap &item : items)
        entries << QVariantMap{{QStringLiteral("id"), WholeNumber::toInt(item.value(QStringLiteral("id")))},
                               {QStringLiteral("title"), item.value(QStringLiteral("title")).toString()},
                               {QStringLiteral("choose"), item.value(QStringLiteral("choose")).toBool()}};
    return Service::listText(entries);
}

bool anyChosen(const QList<QVariantMap> &items)
{
    for (const QVariantMap &item : items) {
        if (item.value(QStringLiteral("choose")).toBool())
            return true;
    }
    return false;
}

} // namespace

HouseBookBaseSetWidget::HouseBookBaseSetWidget(QWidget *parent)
    : QWidget(parent), m_service(new HouseBookSettingsService(this))
{
    buildUi();
    m_overlay = new BusyOverlay(this);
    SettingsSave::bind(m_service, Service::Config, m_overlay, [this] { showSet(); }, [this] { emit setSuccess(); });
    showSet();
}

void HouseBookBaseSetWidget::buildUi()
{
    auto *area = new QScrollArea(this);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto *body = new QWidget(area);
    auto *form = new QFormLayout(body);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_notice = namedLabel(QStringLiteral("unifiedNoticeLabel"), body);
    m_notice->setStyleSheet(QStringLiteral("color:#ff6600;"));
    m_notice->setWordWrap(true);
    m_notice->hide();
    form->addRow(m_notice);
    addPersonalRows(form);
    addCompanyRows(form);
    area->setWidget(body);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    QPushButton *sure = namedButton(QStringLiteral("surePushButton_basic"), QStringLiteral("应用"), this);
    QPushButton *cancel = namedButton(QStringLiteral("canclePushButton_basic"), QStringLiteral("取消"), this);
    connect(sure, &QPushButton::clicked, this, &HouseBookBaseSetWidget::basic_message_submit);
    connect(cancel, &QPushButton::clicked, this, &HouseBookBaseSetWidget::closeWidget);
    buttons->addWidget(cancel);
    buttons->addWidget(sure);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area, 1);
    layout->addLayout(buttons);
}

void HouseBookBaseSetWidget::addPersonalRows(QFormLayout *form)
{
    QWidget *body = form->parentWidget();
    m_items = new SortWidget(body);
    m_items->setObjectName(QStringLiteral("itemSortWidget"));
    form->addRow(QStringLiteral("类目排序：\n（拖动排序）"), m_items);

    auto *pageRow = new QWidget(body);
    auto *pageLayout = new QHBoxLayout(pageRow);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    m_page = new QLineEdit(pageRow);
    m_page->setObjectName(QStringLiteral("pageLineEdit"));
    m_page->setFixedWidth(80);
    pageLayout->addWidget(m_page);
    pageLayout->addWidget(new QLabel(QStringLiteral(" 条"), pageRow));
    pageLayout->addStretch();
    form->addRow(QStringLiteral("每页显示条数："), pageRow);

    form->addRow(QStringLiteral("每次进入刷新："), radioPair(QStringLiteral("刷新"), QStringLiteral("enterFreshRadio"),
                                                        QStringLiteral("不刷新"), QStringLiteral("noEnterFreshRadio")));
    form->addRow(QStringLiteral("开启房源提醒："), radioPair(QStringLiteral("开启"), QStringLiteral("housePushRadio"),
                                                        QStringLiteral("不开启"), QStringLiteral("noHousePushRadio")));
}

void HouseBookBaseSetWidget::addCompanyRows(QFormLayout *form)
{
    QStringList publishNames;
    for (const auto &type : kPublishTypes)
        publishNames << type.first;
    form->addRow(QStringLiteral("房源去重标准："), checkRow(numberedNames(QStringLiteral("repeatCheck_"), 5), kRepeatTexts));
    form->addRow(QStringLiteral("发布房源类型："), checkRow(publishNames, kPublishTexts));
    form->addRow(QStringLiteral("房源默认隐藏："),
                 checkRow(numberedNames(QStringLiteral("viewRecordCheck_"), 3), kViewRecordTexts));
    form->addRow(QStringLiteral("出售房源状态："), stateRow(QStringLiteral("saleStateEdit_")));
    form->addRow(QStringLiteral("出租房源状态："), stateRow(QStringLiteral("rentStateEdit_")));

    auto *yinhao = new QWidget(form->parentWidget());
    auto *yinhaoLayout = new QHBoxLayout(yinhao);
    yinhaoLayout->setContentsMargins(0, 0, 0, 0);
    auto *group = new QButtonGroup(yinhao);
    for (int mode = 0; mode < kYinhaoTexts.size(); ++mode) {
        auto *radio = new QRadioButton(kYinhaoTexts.at(mode), yinhao);
        radio->setObjectName(QStringLiteral("yinhaoRadio_%1").arg(mode));
        group->addButton(radio, mode);
        yinhaoLayout->addWidget(radio);
    }
    yinhaoLayout->addStretch();
    form->addRow(QStringLiteral("号码隐藏设置："), yinhao);

    m_companyStyle = new QCheckBox(QStringLiteral("全公司统一设置"), form->parentWidget());
    m_companyStyle->setObjectName(QStringLiteral("companyBaseStyleCheck"));
    form->addRow(QString(), m_companyStyle);
}

QWidget *HouseBookBaseSetWidget::radioPair(const QString &first, const QString &firstName, const QString &second,
                                           const QString &secondName)
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *group = new QButtonGroup(row);
    for (const auto &radio : {qMakePair(first, firstName), qMakePair(second, secondName)}) {
        auto *button = new QRadioButton(radio.first, row);
        button->setObjectName(radio.second);
        group->addButton(button);
        layout->addWidget(button);
    }
    layout->addStretch();
    return row;
}

QWidget *HouseBookBaseSetWidget::checkRow(const QStringList &names, const QStringList &texts)
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < names.size(); ++i) {
        auto *check = new QCheckBox(texts.value(i), row);
        check->setObjectName(names.at(i));
        layout->addWidget(check);
    }
    layout->addStretch();
    return row;
}

QWidget *HouseBookBaseSetWidget::stateRow(const QString &prefix)
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const QChar c : kClasses) {
        layout->addWidget(new QLabel(QStringLiteral("%1级").arg(c), row));
        auto *edit = new QLineEdit(row);
        edit->setObjectName(prefix + c);
        edit->setFixedWidth(80);
        layout->addWidget(edit);
    }
    layout->addStretch();
    return row;
}

bool HouseBookBaseSetWidget::checked(const QString &name) const
{
    auto *button = child<QAbstractButton>(name);
    return button && button->isChecked();
}

void HouseBookBaseSetWidget::setChecked(const QString &name, bool on)
{
    if (auto *button = child<QAbstractButton>(name))
        button->setChecked(on);
}

void HouseBookBaseSetWidget::showSet()
{
    HouseBookSet_SqlTable store(nullptr, HouseBookCodes::kJointSale);
    const QVariantMap bookSet = store.bookSet();
    showPersonal(store);
    showCompany(bookSet, store);
    applyUnifiedLock(WholeNumber::toInt(bookSet.value(QStringLiteral("company_base_style"))) == 1);
}

void HouseBookBaseSetWidget::showPersonal(HouseBookSet_SqlTable &store)
{
    m_items->setItems(store.tabs(), kItemColumns);
    m_page->setText(QString::number(store.pageSize()));
    const bool fresh = store.enterFresh() == 1;
    setChecked(fresh ? QStringLiteral("enterFreshRadio") : QStringLiteral("noEnterFreshRadio"), true);
    const bool push = store.housePush() == 1;
    setChecked(push ? QStringLiteral("housePushRadio") : QStringLiteral("noHousePushRadio"), true);
}

void HouseBookBaseSetWidget::showCompany(const QVariantMap &bookSet, HouseBookSet_SqlTable &store)
{
    const QList<int> repeat = Service::repeatCriteria(store.houseRepeat());
    for (int c = 1; c <= 5; ++c)
        setChecked(QStringLiteral("repeatCheck_%1").arg(c), repeat.contains(c));
    for (const auto &type : kPublishTypes)
        setChecked(type.first, WholeNumber::toInt(bookSet.value(type.second)) == 1);
    for (int id = 1; id <= 3; ++id)
        setChecked(QStringLiteral("viewRecordCheck_%1").arg(id), false);
    for (const QVariantMap &entry : store.viewRecord()) {
        const int id = WholeNumber::toInt(entry.value(QStringLiteral("id")));
        setChecked(QStringLiteral("viewRecordCheck_%1").arg(id), entry.value(QStringLiteral("choose")).toBool());
    }
    for (const bool sale : {true, false}) {
        const QStringList names = store.classStateNames(sale);
        const QString prefix = sale ? QStringLiteral("saleStateEdit_") : QStringLiteral("rentStateEdit_");
        for (int i = 0; i < kClasses.size(); ++i)
            child<QLineEdit>(prefix + kClasses.at(i))->setText(names.value(i));
    }
    const int yinhao = WholeNumber::toInt(bookSet.value(QStringLiteral("yinhao_mode")));
    setChecked(QStringLiteral("yinhaoRadio_%1").arg(yinhao >= 0 && yinhao <= 2 ? yinhao : 0), true);
    m_companyStyle->setChecked(WholeNumber::toInt(bookSet.value(QStringLiteral("company_base_style"))) == 1);
}

// When the company set the basic choices for everyone, only a manager may change them; the
// others see why their controls are off.
void HouseBookBaseSetWidget::applyUnifiedLock(bool companyUnified)
{
    const bool manager = SettingsSave::mayChangeCompanyChoices();
    m_personalLocked = companyUnified && !manager;
    m_notice->setText(m_personalLocked ? QStringLiteral("公司管理员已开启基础设置【全公司】统一设置，不支持个人修改")
                                       : QString());
    m_notice->setVisible(m_personalLocked);
    const QStringList personal{QStringLiteral("itemSortWidget"), QStringLiteral("pageLineEdit"),
                               QStringLiteral("enterFreshRadio"), QStringLiteral("noEnterFreshRadio"),
                               QStringLiteral("housePushRadio"), QStringLiteral("noHousePushRadio")};
    for (const QString &name : personal)
        child<QWidget>(name)->setEnabled(!m_personalLocked);
    m_companyStyle->setEnabled(manager);
}

// Text that is not a number counts as 0, so it is refused like 0.
int HouseBookBaseSetWidget::pageSizeInput() const
{
    bool ok = false;
    const int size = m_page->text().trimmed().toInt(&ok);
    return ok ? size : 0;
}

QStringList HouseBookBaseSetWidget::stateNames(const QString &prefix) const
{
    QStringList names;
    for (const QChar c : kClasses)
        names << child<QLineEdit>(prefix + c)->text().trimmed();
    return names;
}

QString HouseBookBaseSetWidget::firstProblem() const
{
    if (!m_personalLocked) {
        if (!anyChosen(m_items->items()))
            return QStringLiteral("请至少选择一个类目项显示");
        const int size = pageSizeInput();
        if (size <= 0)
            return QStringLiteral("每页个数要大于0");
        if (size > 100)
            return QStringLiteral("每页个数要小于100");
    }
    bool anyPublish = false;
    for (const auto &type : kPublishTypes)
        anyPublish = anyPublish || checked(type.first);
    if (!anyPublish)
        return QStringLiteral("请至少选择一种发布房源类型");
    const QStringList names = stateNames(QStringLiteral("saleStateEdit_")) + stateNames(QStringLiteral("rentStateEdit_"));
    for (const QString &name : names) {
        for (const QChar bracket : QStringLiteral("()（）")) {
            if (name.contains(bracket))
                return QStringLiteral("房源状态名称不能包含)和(两个字符，请重新修改后再提交！");
        }
    }
    return QString();
}

QVariantMap HouseBookBaseSetWidget::form() const
{
    QVariantMap form;
    if (!m_personalLocked) {
        form.insert(QStringLiteral("item"), itemText(m_items->items()));
        form.insert(QStringLiteral("page"), QString::number(pageSizeInput()));
        form.insert(QStringLiteral("enterfresh"), flag(checked(QStringLiteral("enterFreshRadio"))));
        form.insert(QStringLiteral("housepush"), flag(checked(QStringLiteral("housePushRadio"))));
    }
    QList<int> repeat;
    for (int c = 1; c <= 5; ++c) {
        if (checked(QStringLiteral("repeatCheck_%1").arg(c)))
            repeat << c;
    }
    form.insert(QStringLiteral("setrepeat"), Service::repeatText(repeat));
    for (const auto &type : kPublishTypes)
        form.insert(type.second, flag(checked(type.first)));
    QList<QVariantMap> viewRecord;
    for (int id = 1; id <= 3; ++id)
        viewRecord << QVariantMap{{QStringLiteral("id"), id},
                                  {QStringLiteral("title"), kViewRecordTitles.at(id - 1)},
                                  {QStringLiteral("choose"), checked(QStringLiteral("viewRecordCheck_%1").arg(id))}};
    form.insert(QStringLiteral("viewrecord"), Service::listText(viewRecord));
    form.insert(QStringLiteral("chushoustate"), Service::stateClassesText(stateNames(QStringLiteral("saleStateEdit_"))));
    form.insert(QStringLiteral("chuzustate"), Service::stateClassesText(stateNames(QStringLiteral("rentStateEdit_"))));
    int yinhao = 0;
    for (int mode = 1; mode <= 2; ++mode) {
        if (checked(QStringLiteral("yinhaoRadio_%1").arg(mode)))
            yinhao = mode;
    }
    form.insert(QStringLiteral("yinhao_mode"), QString::number(yinhao));
    // Only a manager decides whether the company's choices bind everyone.
    if (SettingsSave::mayChangeCompanyChoices())
        form.insert(QStringLiteral("company_base_style"), flag(m_companyStyle->isChecked()));
    return form;
}

void HouseBookBaseSetWidget::basic_message_submit()
{
    const QString problem = firstProblem();
    if (!problem.isEmpty()) {
        AlertWidget::warning(problem);
        return;
    }
    m_overlay->start(QStringLiteral("提交设置中..."));
    m_service->saveConfig(form());
}
