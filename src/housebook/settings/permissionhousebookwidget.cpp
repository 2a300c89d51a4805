#include "settings/permissionhousebookwidget.h"

#include "settings/permissionrangechoosewidget.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

enum SonList { NoSons, SaleStates, RentStates, Roles, RolesAndEntrant };

QStringList sonNames(SonList list)
{
    static const QStringList roles{QStringLiteral("成交人"), QStringLiteral("独家代理人"), QStringLiteral("钥匙人"),
                                   QStringLiteral("实勘人"), QStringLiteral("委托人"), QStringLiteral("维护人")};
    switch (list) {
    case NoSons:
        break;
    case SaleStates:
        return {QStringLiteral("无效"), QStringLiteral("已售"), QStringLiteral("成交"),
                QStringLiteral("已定"), QStringLiteral("电话无效"), QStringLiteral("暂不售")};
    case RentStates:
        return {QStringLiteral("无效"), QStringLiteral("已租"), QStringLiteral("成交"),
                QStringLiteral("已定"), QStringLiteral("电话无效"), QStringLiteral("暂不租")};
    case Roles:
        return roles;
    case RolesAndEntrant:
        return roles + QStringList{QStringLiteral("录入人")};
    }
    return {};
}

// One permission as the editor shows it. unit: the limit's unit, null without a limit;
// unlimitedAtZero: a limit of 0 means "不限".
struct PermissionDef
{
    int id;
    const char *label;
    bool range;
    const char *unit;
    bool unlimitedAtZero;
    SonList sons;
};

constexpr const char *kNoLimit = nullptr;

// The permissions in the order shown. 录入新房源 has no code given by the server; this
// system stores it as 200.
const PermissionDef kPermissions[] = {
    {200, "录入新房源", false, kNoLimit, false, NoSons},
    {121, "录入房源时能新增楼栋号和单元号", false, kNoLimit, false, NoSons},
    {8, "修改自己房源", false, kNoLimit, false, NoSons},
    {36, "删除房源", true, kNoLimit, false, NoSons},
    {9, "修改公盘基本信息", true, kNoLimit, false, NoSons},
    {11, "修改公盘楼栋号", true, kNoLimit, false, NoSons},
    {112, "修改公盘联系人信息", true, kNoLimit, false, NoSons},
    {10, "修改公盘图片", true, kNoLimit, false, NoSons},
    {37, "修改房源所在小区", true, kNoLimit, false, NoSons},
    {132, "房源查看范围", false, "米", true, NoSons},
    {7, "下载房源图片", true, kNoLimit, false, NoSons},
    {29, "限制公盘每天查看条数", false, "条", false, NoSons},
    {152, "查看公盘楼栋号、单元号、房间号", true, kNoLimit, false, NoSons},
    {153, "查看公盘楼层", true, kNoLimit, false, NoSons},
    {154, "查看公盘电话号码", true, kNoLimit, false, NoSons},
    {30, "公盘查看必跟进", false, kNoLimit, false, NoSons},
    {101, "私盘拥有上限", false, "条", false, NoSons},
    {31, "查看私盘楼栋号、单元号、房间号", false, kNoLimit, false, NoSons},
    {127, "查看私盘楼层", false, kNoLimit, false, NoSons},
    {32, "查看私盘电话号码", false, kNoLimit, false, NoSons},
    {33, "私盘查看必跟进", false, kNoLimit, false, NoSons},
    {34, "私盘多少天后自动转化为公盘", false, "天", false, NoSons},
    {114, "可查看出售状态房源", true, kNoLimit, false, SaleStates},
    {48, "修改出售房源状态", true, kNoLimit, false, SaleStates},
    {115, "可查看出租状态房源", true, kNoLimit, false, RentStates},
    {59, "修改出租房源状态", true, kNoLimit, false, RentStates},
    {108, "房源锁盘", true, kNoLimit, false, NoSons},
    {109, "房源封盘", true, kNoLimit, false, NoSons},
    {110, "房源置顶", true, kNoLimit, false, NoSons},
    {62, "房源推广-推送房源", false, kNoLimit, false, NoSons},
    {63, "房源推广-编辑", false, kNoLimit, false, NoSons},
    {64, "房源推广-添加房源评价", false, kNoLimit, false, NoSons},
    {84, "房源推广-删除房源评价", false, kNoLimit, false, NoSons},
    {149, "团队协作-人员分配", true, kNoLimit, false, RolesAndEntrant},
    {99, "团队协作-信息审核", true, kNoLimit, false, Roles},
    {151, "团队协作-解除", true, kNoLimit, false, Roles},
    {100, "团队协作-举报审核", true, kNoLimit, false, NoSons},
    {102, "查看锁盘房源", true, kNoLimit, false, NoSons},
    {103, "私盘转公盘", false, kNoLimit, false, NoSons},
    {146, "统计数据查看", true, kNoLimit, false, NoSons},
    {150, "钥匙管理", true, kNoLimit, false, NoSons},
    {136, "房源发布审核", true, kNoLimit, false, NoSons},
};

// The "必跟进" rights and the view rights they belong to.
struct FollowGroup
{
    int followId;
    QList<int> viewIds;
};

const QList<FollowGroup> &followGroups()
{
    static const QList<FollowGroup> groups{{30, {152, 153, 154}}, {33, {31, 127, 32}}};
    return groups;
}

// Sub-options wrap after this many boxes to fit the settings window.
constexpr int kSonsPerLine = 4;

// Limits that mean "no limit" at 0 show the field empty with this placeholder.
const QString kUnlimited = QStringLiteral("不限");

const QString kId = QStringLiteral("id");
const QString kSelected = QStringLiteral("selected");
const QString kRange = QStringLiteral("range");
const QString kBumens = QStringLiteral("bumens");
const QString kCount = QStringLiteral("count");
const QString kSons = QStringLiteral("sons");

// Sub-options are stored as names or as objects carrying the name.
QString sonName(const QVariant &son)
{
    return son.type() == QVariant::Map ? son.toMap().value(QStringLiteral("name")).toString() : son.toString();
}

QList<QVariantMap> mapsOf(const QVariant &value)
{
    QList<QVariantMap> maps;
    for (const QVariant &item : value.toList())
        maps << item.toMap();
    return maps;
}

} // namespace

PermissionHouseBookWidget::PermissionHouseBookWidget(QWidget *parent) : QWidget(parent)
{
    qRegisterMetaType<QList<QVariantMap>>("QList<QVariantMap>");
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("permissionScrollArea"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *content = new QWidget(scroll);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(12, 8, 12, 8);
    layout->setSpacing(6);
    buildRows(layout, content);
    layout->addStretch();
    scroll->setWidget(content);
    outer->addWidget(scroll);
    followChange(0);
}

// ---- Building ----

void PermissionHouseBookWidget::buildRows(QVBoxLayout *layout, QWidget *parent)
{
    for (const PermissionDef &def : kPermissions) {
        Row row;
        row.id = def.id;
        row.unlimitedAtZero = def.unlimitedAtZero;
        const QString unit = def.unit ? QString::fromUtf8(def.unit) : QString();
        layout->addWidget(buildRow(row, QString::fromUtf8(def.label), def.range, unit, sonNames(def.sons), parent));
        setControlsEnabled(row, false);
        m_rows << row;
    }
    // The permission names form one column so the controls beside them line up.
    int labelWidth = 0;
    for (const Row &row : qAsConst(m_rows))
        labelWidth = qMax(labelWidth, row.check->sizeHint().width());
    for (Row &row : m_rows)
        row.check->setFixedWidth(labelWidth + 8);
}

QWidget *PermissionHouseBookWidget::buildRow(Row &row, const QString &label, bool hasRange, const QString &unit,
                                             const QStringList &sons, QWidget *parent)
{
    auto *widget = new QWidget(parent);
    widget->setObjectName(QStringLiteral("permRow_%1").arg(row.id));
    auto *column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 2, 0, 2);
    auto *line = new QHBoxLayout;
    row.check = new QCheckBox(label, widget);
    row.check->setObjectName(QStringLiteral("permCheck_%1").arg(row.id));
    row.check->setCursor(Qt::PointingHandCursor);
    const int id = row.id;
    connect(row.check, &QCheckBox::toggled, this, [this, id](bool on) { setDeHaveChoose(id, on); });
    line->addWidget(row.check);
    if (hasRange)
        addRangeControl(row, widget, line);
    if (!unit.isEmpty())
        addCountControl(row, unit, widget, line);
    line->addStretch();
    column->addLayout(line);
    if (!sons.isEmpty())
        column->addWidget(buildSonBoxes(row, sons, widget));
    return widget;
}

void PermissionHouseBookWidget::addRangeControl(Row &row, QWidget *parent, QHBoxLayout *layout)
{
    row.range = new PermissionRangeChooseWidget(parent, true);
    row.range->setObjectName(QStringLiteral("permRange_%1").arg(row.id));
    connect(row.range, &PermissionRangeChooseWidget::backChoose, this, &PermissionHouseBookWidget::dealValueChange);
    layout->addWidget(row.range, 1);
}

void PermissionHouseBookWidget::addCountControl(Row &row, const QString &unit, QWidget *parent, QHBoxLayout *layout)
{
    row.count = new QLineEdit(parent);
    row.count->setObjectName(QStringLiteral("permCount_%1").arg(row.id));
    row.count->setFixedWidth(80);
    // Nine digits always fit the stored integer.
    row.count->setMaxLength(9);
    row.count->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]+$")), row.count));
    if (row.unlimitedAtZero)
        row.count->setPlaceholderText(kUnlimited);
    connect(row.count, &QLineEdit::textEdited, this, &PermissionHouseBookWidget::dealValueChange);
    layout->addWidget(row.count);
    layout->addWidget(new QLabel(unit, parent));
}

QWidget *PermissionHouseBookWidget::buildSonBoxes(Row &row, const QStringList &names, QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *layout = new QGridLayout(box);
    layout->setContentsMargins(24, 0, 0, 0);
    layout->setHorizontalSpacing(16);
    const int id = row.id;
    row.all = new QCheckBox(QStringLiteral("全部"), box);
    row.all->setObjectName(QStringLiteral("permSonAll_%1").arg(id));
    connect(row.all, &QCheckBox::clicked, this, [this, id](bool on) { allSons(id, on); });
    layout->addWidget(row.all, 0, 0);
    for (int n = 0; n < names.size(); ++n) {
        auto *son = new QCheckBox(names.at(n), box);
        son->setObjectName(QStringLiteral("permSon_%1_%2").arg(id).arg(n));
        connect(son, &QCheckBox::clicked, this, [this, id] { sonBoxsChoose(id); });
        layout->addWidget(son, (n + 1) / kSonsPerLine, (n + 1) % kSonsPerLine);
        row.sons << son;
    }
    layout->setColumnStretch(kSonsPerLine, 1);
    return box;
}

void PermissionHouseBookWidget::setAllianceScope(bool alliance)
{
    for (Row &row : m_rows) {
        if (row.range)
            row.range->setAllianceScope(alliance);
    }
}

// ---- Filling and reading back ----

void PermissionHouseBookWidget::setPermissionList(const QList<QVariantMap> &list)
{
    m_filling = true;
    for (Row &row : m_rows)
        fillRow(row, QVariantMap());
    m_unknown.clear();
    for (const QVariantMap &entry : list) {
        Row *row = rowOf(entry.value(kId).toInt());
        if (row)
            fillRow(*row, entry);
        else
            m_unknown << entry;
    }
    followChange(0);
    m_filling = false;
}

void PermissionHouseBookWidget::fillRow(Row &row, const QVariantMap &entry)
{
    row.stored = entry;
    const bool selected = entry.value(kSelected).toBool();
    row.check->setChecked(selected);
    setControlsEnabled(row, selected);
    if (row.range)
        row.range->setRange(entry.value(kRange).toInt(), mapsOf(entry.value(kBumens)));
    if (row.count) {
        const int count = entry.value(kCount).toInt();
        row.count->setText(count == 0 && row.unlimitedAtZero ? QString() : QString::number(count));
    }
    QStringList chosen;
    for (const QVariant &son : entry.value(kSons).toList())
        chosen << sonName(son);
    row.storedOtherSons = chosen;
    for (QCheckBox *son : row.sons) {
        son->setChecked(chosen.contains(son->text()));
        row.storedOtherSons.removeAll(son->text());
    }
    syncAllBox(row);
}

QList<QVariantMap> PermissionHouseBookWidget::permissionList() const
{
    QList<QVariantMap> list;
    for (const Row &row : m_rows)
        list << entryOf(row);
    return list + m_unknown;
}

// The row's entry: what the row edits over what it was filled from, so keys of a
// permission this editor has no control for survive a save.
QVariantMap PermissionHouseBookWidget::entryOf(const Row &row) const
{
    QVariantMap entry = row.stored;
    entry.insert(kId, row.id);
    entry.insert(kSelected, row.check->isChecked());
    entry.insert(kRange, row.range ? row.range->range() : entry.value(kRange).toInt());
    if (row.range) {
        QVariantList bumens;
        for (const QVariantMap &dept : row.range->bumens())
            bumens << dept;
        entry.insert(kBumens, bumens);
    } else if (!entry.contains(kBumens)) {
        entry.insert(kBumens, QVariantList());
    }
    entry.insert(kCount, row.count ? row.count->text().toInt() : entry.value(kCount).toInt());
    QStringList sons;
    for (QCheckBox *son : row.sons) {
        if (son->isChecked())
            sons << son->text();
    }
    entry.insert(kSons, sons + row.storedOtherSons);
    return entry;
}

PermissionHouseBookWidget::Row *PermissionHouseBookWidget::rowOf(int id)
{
    for (Row &row : m_rows) {
        if (row.id == id)
            return &row;
    }
    return nullptr;
}

// ---- Reacting to the agent ----

void PermissionHouseBookWidget::dealValueChange()
{
    if (!m_filling)
        emit valueChange(permissionList());
}

void PermissionHouseBookWidget::setDeHaveChoose(int id, bool selected)
{
    Row *row = rowOf(id);
    if (!row)
        return;
    setControlsEnabled(*row, selected);
    if (!selected && !m_filling) {
        for (QCheckBox *son : row->sons)
            son->setChecked(false);
        row->storedOtherSons.clear();
        syncAllBox(*row);
    }
    followChange(id);
    dealValueChange();
}

void PermissionHouseBookWidget::followChange(int viewId)
{
    for (const FollowGroup &group : followGroups()) {
        if (viewId == 0 || group.viewIds.contains(viewId))
            changeFollow(group.followId);
    }
}

void PermissionHouseBookWidget::changeFollow(int followId)
{
    Row *follow = rowOf(followId);
    if (!follow)
        return;
    bool anyView = false;
    for (const FollowGroup &group : followGroups()) {
        if (group.followId != followId)
            continue;
        for (int viewId : group.viewIds) {
            const Row *view = rowOf(viewId);
            anyView = anyView || (view && view->check->isChecked());
        }
    }
    // A stored tick is shown as stored (and can be taken away); the agent's changes apply the rule.
    if (!anyView && !m_filling) {
        const QSignalBlocker blocker(follow->check);
        follow->check->setChecked(false);
    }
    follow->check->setEnabled(anyView || follow->check->isChecked());
}

void PermissionHouseBookWidget::allSons(int id, bool on)
{
    Row *row = rowOf(id);
    if (!row)
        return;
    for (QCheckBox *son : row->sons)
        son->setChecked(on);
    dealValueChange();
}

void PermissionHouseBookWidget::sonBoxsChoose(int id)
{
    Row *row = rowOf(id);
    if (!row)
        return;
    syncAllBox(*row);
    dealValueChange();
}

void PermissionHouseBookWidget::syncAllBox(Row &row)
{
    if (!row.all)
        return;
    bool all = true;
    for (QCheckBox *son : row.sons)
        all = all && son->isChecked();
    row.all->setChecked(all);
}

// An unticked permission keeps its range, limit and sub-options but they cannot be edited.
void PermissionHouseBookWidget::setControlsEnabled(Row &row, bool on)
{
    if (row.range)
        row.range->setEnabled(on);
    if (row.count)
        row.count->setEnabled(on);
    if (row.all)
        row.all->setEnabled(on);
    for (QCheckBox *son : row.sons)
        son->setEnabled(on);
}
