#include "list/searchitemchoicewidgets.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStandardItemModel>

namespace {

const QString kStep = QStringLiteral("<step>");
constexpr int kTitleRole = Qt::UserRole;
constexpr int kParentRole = Qt::UserRole + 1;

// Placeholders come as "caption,option,..." or, for choices with sub-lists,
// "caption<step>option,option<step>more".
QString captionOf(const QString &placeholder)
{
    return placeholder.section(kStep, 0, 0).section(QLatin1Char(','), 0, 0);
}

QStringList optionsOf(const QString &placeholder)
{
    if (placeholder.contains(kStep))
        return placeholder.section(kStep, 1, 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
    return placeholder.split(QLatin1Char(','), Qt::SkipEmptyParts).mid(1);
}

QComboBox *newComboBox(const QString &objectName, const QString &style, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->setStyleSheet(style);
    combo->setMinimumHeight(30);
    return combo;
}

} // namespace

HouseSearch_FirstWidget::HouseSearch_FirstWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchItem(description, parent)
{
    m_combo = newComboBox(QStringLiteral("comboBox"), comboBoxStyle(), this);
    const QString caption = captionOf(prompt());
    m_combo->addItem(caption.isEmpty() ? title() : caption);
    m_combo->addItems(optionsOf(prompt()));
    plainRow(this)->addWidget(m_combo);
    connect(m_combo, QOverload<int>::of(&QComboBox::activated), this,
            [this]() { emit comboboxValue(itemId(), value()); });
}

QString HouseSearch_FirstWidget::value() const
{
    return m_combo->currentIndex() > 0 ? m_combo->currentText() : QString();
}

void HouseSearch_FirstWidget::setValue(const QString &text)
{
    int index = text.isEmpty() ? 0 : m_combo->findText(text, Qt::MatchExactly);
    if (index < 0) {
        m_combo->addItem(text);
        index = m_combo->count() - 1;
    }
    m_combo->setCurrentIndex(index);
    emit comboboxValue(itemId(), value());
}

void HouseSearch_FirstWidget::clearValue()
{
    const QSignalBlocker quiet(m_combo);
    m_combo->setCurrentIndex(0);
}

HouseSearch_SevenWidget::HouseSearch_SevenWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchItem(description, parent), m_model(new QStandardItemModel(this))
{
    m_combo = newComboBox(QStringLiteral("comboBox"), comboBoxStyle(), this);
    m_caption = captionOf(prompt());
    if (m_caption.isEmpty())
        m_caption = title();
    m_model->appendRow(new QStandardItem(m_caption));
    fillChoices();
    m_combo->setModel(m_model);
    m_combo->view()->viewport()->installEventFilter(this);
    plainRow(this)->addWidget(m_combo);
    connect(m_model, &QStandardItemModel::itemChanged, this, &HouseSearch_SevenWidget::onItemChanged);
    showSummary();
}

void HouseSearch_SevenWidget::fillChoices()
{
    const QVariantList sons = description().value(QStringLiteral("sons")).toList();
    if (sons.isEmpty()) {
        for (const QString &option : optionsOf(prompt()))
            addChoice(option, false, nullptr);
        return;
    }
    for (const QVariant &s : sons) {
        const QVariantMap son = s.toMap();
        addChoice(son.value(QStringLiteral("title")).toString(), son.value(QStringLiteral("choose")).toBool(), nullptr);
        QStandardItem *top = m_model->item(m_model->rowCount() - 1);
        for (const QVariant &g : son.value(QStringLiteral("sons")).toList()) {
            m_tree = true;
            addChoice(g.toMap().value(QStringLiteral("title")).toString(),
                      g.toMap().value(QStringLiteral("choose")).toBool(), top);
        }
    }
}

// Sub-choices are rows of their own, indented under their parent, in a flat drop-down.
void HouseSearch_SevenWidget::addChoice(const QString &title, bool chosen, QStandardItem *parent)
{
    auto *item = new QStandardItem(parent ? QStringLiteral("    ") + title : title);
    item->setData(title, kTitleRole);
    item->setData(parent ? parent->data(kTitleRole) : QVariant(), kParentRole);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
    m_model->appendRow(item);
}

QList<QStandardItem *> HouseSearch_SevenWidget::choiceItems() const
{
    QList<QStandardItem *> items;
    for (int row = 1; row < m_model->rowCount(); ++row)
        items << m_model->item(row);
    return items;
}

QStringList HouseSearch_SevenWidget::chosenTitles() const
{
    QStringList titles;
    for (const QStandardItem *item : choiceItems()) {
        if (item->checkState() == Qt::Checked)
            titles << item->data(kTitleRole).toString();
    }
    return titles;
}

QString HouseSearch_SevenWidget::value() const
{
    return isTree() ? treeValue() : chosenTitles().join(QLatin1Char(','));
}

QString HouseSearch_SevenWidget::treeValue() const
{
    QJsonArray tree;
    QJsonObject district;
    QJsonArray areas;
    const auto flush = [&]() {
        if (district.value(QStringLiteral("choose")).toBool() || !areas.isEmpty()) {
            district.insert(QStringLiteral("sons"), areas);
            tree.append(district);
        }
    };
    for (const QStandardItem *item : choiceItems()) {
        const QJsonObject entry{{QStringLiteral("title"), item->data(kTitleRole).toString()},
                                {QStringLiteral("choose"), item->checkState() == Qt::Checked}};
        if (!item->data(kParentRole).isValid()) {
            flush();
            district = entry;
            areas = QJsonArray();
        } else if (entry.value(QStringLiteral("choose")).toBool()) {
            areas.append(entry);
        }
    }
    flush();
    return tree.isEmpty() ? QString() : QString::fromUtf8(QJsonDocument(tree).toJson(QJsonDocument::Compact));
}

void HouseSearch_SevenWidget::setValue(const QString &text)
{
    m_updating = true;
    setAllChecked(false);
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (doc.isArray())
        checkTree(text);
    else
        checkTitles(text.split(QLatin1Char(','), Qt::SkipEmptyParts));
    m_updating = false;
    showSummary();
    emit comboboxValue(itemId(), value());
}

void HouseSearch_SevenWidget::checkTitles(const QStringList &titles)
{
    for (const QString &title : titles) {
        QStandardItem *match = nullptr;
        for (QStandardItem *item : choiceItems()) {
            if (!match && item->data(kTitleRole).toString() == title)
                match = item;
        }
        if (match)
            match->setCheckState(Qt::Checked);
        else
            addChoice(title, true, nullptr);
    }
}

void HouseSearch_SevenWidget::checkTree(const QString &json)
{
    const QJsonArray tree = QJsonDocument::fromJson(json.toUtf8()).array();
    for (const QJsonValue &d : tree) {
        const QJsonObject district = d.toObject();
        const QString name = district.value(QStringLiteral("title")).toString();
        QStringList areas;
        for (const QJsonValue &a : district.value(QStringLiteral("sons")).toArray()) {
            if (a.toObject().value(QStringLiteral("choose")).toBool())
                areas << a.toObject().value(QStringLiteral("title")).toString();
        }
        for (QStandardItem *item : choiceItems()) {
            const bool top = !item->data(kParentRole).isValid();
            const QString title = item->data(kTitleRole).toString();
            if ((top && title == name && district.value(QStringLiteral("choose")).toBool())
                || (!top && item->data(kParentRole).toString() == name && areas.contains(title)))
                item->setCheckState(Qt::Checked);
        }
    }
}

void HouseSearch_SevenWidget::setAllChecked(bool checked)
{
    for (QStandardItem *item : choiceItems())
        item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void HouseSearch_SevenWidget::clearValue()
{
    m_updating = true;
    setAllChecked(false);
    m_updating = false;
    showSummary();
}

void HouseSearch_SevenWidget::onItemChanged()
{
    if (m_updating)
        return;
    showSummary();
    emit comboboxValue(itemId(), value());
}

// The closed box shows what is chosen in its first row.
void HouseSearch_SevenWidget::showSummary()
{
    const QStringList titles = chosenTitles();
    const QSignalBlocker quiet(m_model);
    m_model->item(0)->setText(titles.isEmpty() ? m_caption : titles.join(QLatin1Char(',')));
    m_combo->setCurrentIndex(0);
    m_combo->update();
}

// A click on a choice ticks or unticks it and keeps the list open for the next one.
bool HouseSearch_SevenWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_combo->view()->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QModelIndex index = m_combo->view()->indexAt(static_cast<QMouseEvent *>(event)->pos());
        QStandardItem *item = m_model->itemFromIndex(index);
        if (item && item->isCheckable()) {
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
            return true;
        }
    }
    return HouseSearchItem::eventFilter(watched, event);
}

HouseSearch_ContractStepWidget::HouseSearch_ContractStepWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchItem(description, parent), m_steps(description.value(QStringLiteral("sons")).toList())
{
    m_combo = newComboBox(QStringLiteral("comboBox"), comboBoxStyle(), this);
    m_state = newComboBox(QStringLiteral("stateComboBox"), comboBoxStyle(), this);
    const QString caption = captionOf(prompt());
    m_combo->addItem(caption.isEmpty() ? title() : caption);
    for (const QVariant &step : qAsConst(m_steps))
        m_combo->addItem(step.toMap().value(QStringLiteral("title")).toString());
    auto *row = plainRow(this);
    row->addWidget(m_combo, 2);
    row->addWidget(m_state, 1);
    fillStates();
    connect(m_combo, QOverload<int>::of(&QComboBox::activated), this, [this]() {
        fillStates();
        report();
    });
    connect(m_state, QOverload<int>::of(&QComboBox::activated), this, &HouseSearch_ContractStepWidget::report);
}

QVariantMap HouseSearch_ContractStepWidget::stepAt(int index) const
{
    return index > 0 ? m_steps.value(index - 1).toMap() : QVariantMap();
}

void HouseSearch_ContractStepWidget::fillStates()
{
    const QSignalBlocker quiet(m_state);
    m_state->clear();
    for (const QVariant &son : stepAt(m_combo->currentIndex()).value(QStringLiteral("sons")).toList())
        m_state->addItem(son.toMap().value(QStringLiteral("title")).toString());
    m_state->setEnabled(m_state->count() > 0);
}

QString HouseSearch_ContractStepWidget::value() const
{
    const QVariantMap step = stepAt(m_combo->currentIndex());
    if (step.isEmpty())
        return QString();
    const QJsonObject chosen{{QStringLiteral("name"), step.value(QStringLiteral("title")).toString()},
                             {QStringLiteral("stepinfo"), QJsonValue::fromVariant(step.value(QStringLiteral("stepinfo")))},
                             {QStringLiteral("state"), m_state->currentText()}};
    return QString::fromUtf8(QJsonDocument(chosen).toJson(QJsonDocument::Compact));
}

// Takes the JSON object of value(); anything else chooses no step.
void HouseSearch_ContractStepWidget::setValue(const QString &text)
{
    const QJsonObject chosen = QJsonDocument::fromJson(text.toUtf8()).object();
    const int index = m_combo->findText(chosen.value(QStringLiteral("name")).toString(), Qt::MatchExactly);
    m_combo->setCurrentIndex(qMax(index, 0));
    fillStates();
    const int state = m_state->findText(chosen.value(QStringLiteral("state")).toString(), Qt::MatchExactly);
    m_state->setCurrentIndex(qMax(state, 0));
    report();
}

void HouseSearch_ContractStepWidget::clearValue()
{
    const QSignalBlocker quiet(m_combo);
    m_combo->setCurrentIndex(0);
    fillStates();
}

void HouseSearch_ContractStepWidget::report()
{
    emit comboboxValue(itemId(), value());
}
