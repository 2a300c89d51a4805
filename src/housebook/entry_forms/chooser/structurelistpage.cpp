#include "entry_forms/chooser/structurelistpage.h"

#include "entry_forms/chooser/addnewloudongmessagewidget.h"
#include "entry_forms/chooser/chooserstyle.h"
#include "entry_forms/chooser/customaddxiaoqumessagewidget.h"
#include "entry_forms/chooser/failureline.h"
#include "entry_forms/chooser/flowlayout.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/choosers/rowlayout.h"
#include "widgets/commonaddwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

StructureListPage::StructureListPage(const Kind &kind, QWidget *parent)
    : QWidget(parent)
    , m_kind(kind)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(10);
    layout->addWidget(buildTop());
    m_failure = new FailureLine(this);
    connect(m_failure, &FailureLine::retry, this, &StructureListPage::retryRequested);
    layout->addWidget(m_failure);

    QScrollArea *scroll = newRowArea(this, m_kind.prefix + QStringLiteral("_rows"), QStringLiteral("white"), &m_content,
                                     &m_contentLayout);
    scroll->setObjectName(m_kind.prefix + QStringLiteral("_scroll"));
    layout->addWidget(scroll, 1);

    if (m_kind.addTitle.isEmpty()) {
        auto *custom = new CustomAddXiaoQuMessageWidget(this, m_kind.suffixes);
        connect(custom, &CustomAddXiaoQuMessageWidget::clickItem, this, &StructureListPage::customEntered);
        layout->addWidget(custom);
    }
    m_overlay = new BusyOverlay(scroll);
    rebuild();
}

QWidget *StructureListPage::buildTop()
{
    auto *top = new QWidget(this);
    auto *layout = new QHBoxLayout(top);
    m_topLayout = layout;
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("请选择%1").arg(m_kind.noun), top);
    label->setStyleSheet(ChooserStyle::hint());
    layout->addWidget(label);
    layout->addStretch();
    m_filterEdit = new QLineEdit(top);
    m_filterEdit->setObjectName(QStringLiteral("lineEdit_filter"));
    m_filterEdit->setPlaceholderText(QStringLiteral("搜索%1").arg(m_kind.noun));
    m_filterEdit->setStyleSheet(ChooserStyle::edit());
    m_filterEdit->setFixedWidth(200);
    connect(m_filterEdit, &QLineEdit::textChanged, this, &StructureListPage::dealSearchTxt);
    layout->addWidget(m_filterEdit);
    return top;
}

QString StructureListPage::errorText() const
{
    return m_failure->text();
}

void StructureListPage::refuse(const QString &text)
{
    AlertWidget::warning(text);
}

bool StructureListPage::isLoading() const
{
    return m_overlay->isRunning();
}

void StructureListPage::clearEntries()
{
    hideError();
    stopLoading();
    setEntries({});
}

void StructureListPage::startLoading()
{
    hideError();
    m_overlay->start(QStringLiteral("加载数据中..."));
}

void StructureListPage::stopLoading()
{
    m_overlay->stop();
}

void StructureListPage::showFailure(const QString &reason)
{
    stopLoading();
    setEntries({});
    m_failure->showFailure(QStringLiteral("%1列表加载失败：%2").arg(m_kind.noun, reason));
}

void StructureListPage::hideError()
{
    m_failure->hide();
}

void StructureListPage::setEntries(const QStringList &names, const QList<int> &floors)
{
    m_names = names;
    m_floors = floors;
    m_filterEdit->blockSignals(true);
    m_filterEdit->clear();
    m_filterEdit->blockSignals(false);
    m_filter.clear();
    rebuild();
}

void StructureListPage::setFloorView(bool on)
{
    m_floorView = on;
    rebuild();
}

QPushButton *StructureListPage::addTopButton(const QString &text, const QString &objectName)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(ChooserStyle::plainButton());
    m_topLayout->insertWidget(m_topLayout->count() - 1, button);
    return button;
}

void StructureListPage::showListView()
{
    setFloorView(false);
}

void StructureListPage::dealSearchTxt(const QString &txt)
{
    m_filter = txt.trimmed();
    rebuild();
}

void StructureListPage::openCustomAdd()
{
    if (m_kind.addTitle.isEmpty()) {
        if (auto *custom = findChild<CustomAddXiaoQuMessageWidget *>())
            custom->getInputFocus();
        return;
    }
    auto *dialog = new AddNewLouDongMessageWidget(m_kind.addTitle, m_kind.addPlaceholder, m_kind.suffixes);
    auto *popup = new CommonAddWidget(this, QStringLiteral("main"), false);
    popup->setTitle(m_kind.addTitle);
    popup->setContentWidget(dialog);
    popup->resize(400, 200);
    connect(dialog, &AddNewLouDongMessageWidget::backValue, this, &StructureListPage::customEntered);
    connect(dialog, &AddNewLouDongMessageWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    popup->show();
}

// ---- Tiles ----

void StructureListPage::rebuild()
{
    discardRows(m_contentLayout, 1);
    QList<int> shown;
    for (int i = 0; i < m_names.size(); ++i) {
        if (m_filter.isEmpty() || m_names.at(i).contains(m_filter, Qt::CaseInsensitive))
            shown.append(i);
    }
    if (m_floorView) {
        QMap<int, QList<int>> byFloor;
        for (int index : shown)
            byFloor[m_floors.value(index)].append(index);
        for (auto it = byFloor.cbegin(); it != byFloor.cend(); ++it)
            m_contentLayout->insertWidget(m_contentLayout->count() - 1, floorRow(it.key(), it.value()));
    } else {
        auto *block = new QWidget(m_content);
        auto *flow = new FlowLayout(block, 8);
        for (int index : shown)
            addTile(flow, block, index);
        m_contentLayout->insertWidget(m_contentLayout->count() - 1, block);
    }
    if (shown.isEmpty()) {
        auto *empty = new QLabel(m_names.isEmpty() ? QStringLiteral("暂无%1").arg(m_kind.noun)
                                                   : QStringLiteral("没有符合的%1").arg(m_kind.noun),
                                 m_content);
        empty->setObjectName(QStringLiteral("label_empty"));
        empty->setStyleSheet(ChooserStyle::hint());
        m_contentLayout->insertWidget(m_contentLayout->count() - 1, empty);
    }
    if (!m_kind.addTitle.isEmpty()) {
        auto *holder = new QWidget(m_content);
        auto *row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 4, 0, 0);
        auto *add = new QPushButton(QStringLiteral("手动添加"), holder);
        add->setObjectName(m_kind.prefix + QStringLiteral("_add"));
        add->setCursor(Qt::PointingHandCursor);
        add->setStyleSheet(ChooserStyle::plainButton());
        connect(add, &QPushButton::clicked, this, &StructureListPage::openCustomAdd);
        row->addWidget(add);
        row->addStretch();
        m_contentLayout->insertWidget(m_contentLayout->count() - 1, holder);
    }
}

void StructureListPage::addTile(FlowLayout *flow, QWidget *owner, int index)
{
    auto *tile = new QPushButton(m_names.at(index) + m_kind.shownSuffix, owner);
    tile->setObjectName(QStringLiteral("%1_%2").arg(m_kind.prefix).arg(index));
    tile->setCursor(Qt::PointingHandCursor);
    tile->setStyleSheet(ChooserStyle::tile());
    connect(tile, &QPushButton::clicked, this, [this, index] { entryChosen(index); });
    flow->addWidget(tile);
}

QWidget *StructureListPage::floorRow(int floor, const QList<int> &indexes)
{
    auto *row = new QWidget(m_content);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(floor != 0 ? QStringLiteral("%1层").arg(floor) : QStringLiteral("其他"), row);
    label->setFixedWidth(48);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    label->setStyleSheet(ChooserStyle::hint());
    layout->addWidget(label, 0, Qt::AlignTop);
    auto *block = new QWidget(row);
    auto *flow = new FlowLayout(block, 8);
    for (int index : indexes)
        addTile(flow, block, index);
    layout->addWidget(block, 1);
    return row;
}
