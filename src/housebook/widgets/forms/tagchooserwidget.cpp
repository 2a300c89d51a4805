#include "widgets/forms/tagchooserwidget.h"

#include <QGridLayout>
#include <QPushButton>
#include <QSignalBlocker>

const QChar TagChooserWidget::Separator = QLatin1Char(',');

TagChooserWidget::TagChooserWidget(QWidget *parent, int columns)
    : QWidget(parent)
    , m_grid(new QGridLayout(this))
    , m_columns(qMax(1, columns))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setSpacing(8);
}

QStringList TagChooserWidget::choices() const
{
    QStringList items;
    for (const QPushButton *b : m_buttons)
        items << b->text();
    return items;
}

void TagChooserWidget::setChoices(const QStringList &choices)
{
    const QString before = value();
    const QStringList keep = checkedItems();
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (const QString &item : choices) {
        if (!item.isEmpty() && !button(item))
            addButton(item);
    }
    check(keep);
    if (value() != before)
        emit valueChanged(value());
}

QStringList TagChooserWidget::checkedItems() const
{
    QStringList items;
    for (const QPushButton *b : m_buttons) {
        if (b->isChecked())
            items << b->text();
    }
    return items;
}

QString TagChooserWidget::value() const
{
    return checkedItems().join(Separator);
}

void TagChooserWidget::setValue(const QString &joined)
{
    QStringList items;
    for (const QString &item : joined.split(Separator, Qt::SkipEmptyParts)) {
        const QString trimmed = item.trimmed();
        if (!trimmed.isEmpty())
            items << trimmed;
    }
    setCheckedItems(items);
}

void TagChooserWidget::setCheckedItems(const QStringList &items)
{
    const QString before = value();
    check(items);
    if (value() != before)
        emit valueChanged(value());
}

void TagChooserWidget::check(const QStringList &items)
{
    for (QPushButton *b : m_buttons) {
        const QSignalBlocker quiet(b);
        b->setChecked(items.contains(b->text()));
    }
    for (const QString &item : items) {
        if (!button(item)) {
            QPushButton *extra = addButton(item);
            const QSignalBlocker quiet(extra);
            extra->setChecked(true);
        }
    }
}

QPushButton *TagChooserWidget::button(const QString &item) const
{
    for (QPushButton *b : m_buttons) {
        if (b->text() == item)
            return b;
    }
    return nullptr;
}

QPushButton *TagChooserWidget::addButton(const QString &item)
{
    auto *b = new QPushButton(item, this);
    b->setObjectName(QStringLiteral("tagButton"));
    b->setCheckable(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral(
        "QPushButton{border:1px solid #dddddd;border-radius:2px;padding:4px 10px;color:#333333;background:#ffffff;}"
        "QPushButton:checked{border-color:#0c91eb;color:#0c91eb;}"));
    const int index = m_buttons.size();
    m_grid->addWidget(b, index / m_columns, index % m_columns);
    m_buttons << b;
    connect(b, &QPushButton::toggled, this, [this, b](bool checked) { buttonToggled(b, checked); });
    return b;
}

void TagChooserWidget::buttonToggled(QPushButton *button, bool checked)
{
    if (checked && m_maxChecked > 0 && checkedItems().size() > m_maxChecked) {
        const QSignalBlocker quiet(button);
        button->setChecked(false);
        emit limitReached(m_maxChecked);
        return;
    }
    emit valueChanged(value());
}
