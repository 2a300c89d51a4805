#include "settings/categorylisteditor.h"

#include "net/wholenumber.h"
#include "widgets/alertwidget.h"
#include "widgets/namedwidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CategoryListEditor::CategoryListEditor(const QString &key, const QString &title, QWidget *parent)
    : QWidget(parent), m_key(key), m_title(title), m_list(new QListWidget(this)), m_edit(new QLineEdit(this))
{
    m_list->setObjectName(QStringLiteral("categoryList_") + key);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_edit->setObjectName(QStringLiteral("categoryEdit_") + key);
    m_edit->setPlaceholderText(QStringLiteral("输入新的%1选项").arg(title));
    QPushButton *add = namedButton(QStringLiteral("categoryAdd_") + key, QStringLiteral("添加"), this);

    auto *addRow = new QHBoxLayout;
    addRow->addWidget(m_edit, 1);
    addRow->addWidget(add);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(title + QStringLiteral("："), this));
    layout->addWidget(m_list, 1);
    layout->addLayout(addRow);

    connect(add, &QPushButton::clicked, this, &CategoryListEditor::addFromEdit);
    connect(m_edit, &QLineEdit::returnPressed, this, &CategoryListEditor::addFromEdit);
}

void CategoryListEditor::setEntries(const QList<QVariantMap> &entries)
{
    m_list->clear();
    for (const QVariantMap &entry : entries)
        appendEntry(WholeNumber::toInt(entry.value(QStringLiteral("id"))), entry.value(QStringLiteral("name")).toString());
}

QList<QVariantMap> CategoryListEditor::entries() const
{
    QList<QVariantMap> out;
    for (int row = 0; row < m_list->count(); ++row) {
        const QListWidgetItem *item = m_list->item(row);
        out << QVariantMap{{QStringLiteral("id"), item->data(Qt::UserRole).toInt()},
                           {QStringLiteral("name"), item->text()}};
    }
    return out;
}

void CategoryListEditor::addFromEdit()
{
    const QString name = m_edit->text().trimmed();
    if (name.isEmpty()) {
        AlertWidget::warning(QStringLiteral("请输入要添加的%1选项名称").arg(m_title));
        return;
    }
    if (contains(name)) {
        AlertWidget::warning(QStringLiteral("%1选项【%2】已存在，请勿重复添加").arg(m_title, name));
        return;
    }
    appendEntry(0, name);
    m_edit->clear();
    m_list->scrollToBottom();
}

bool CategoryListEditor::contains(const QString &name) const
{
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->text().trimmed() == name)
            return true;
    }
    return false;
}

// The name is the item's own text; the row's widget only adds the delete button over it.
void CategoryListEditor::appendEntry(int id, const QString &name)
{
    auto *item = new QListWidgetItem(name, m_list);
    item->setData(Qt::UserRole, id);
    item->setSizeHint(QSize(0, 32));
    auto *row = new QWidget(m_list);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 6, 0);
    layout->addStretch();
    QPushButton *remove = namedButton(QStringLiteral("categoryDelete"), QStringLiteral("删除"), row);
    layout->addWidget(remove);
    m_list->setItemWidget(item, row);
    connect(remove, &QPushButton::clicked, this, [this, item] { delete m_list->takeItem(m_list->row(item)); });
}
