#include "widgets/choosers/chosenpanel.h"

#include "widgets/choosers/departmentlevel.h"
#include "widgets/choosers/rowlayout.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

ChosenPanel::ChosenPanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("widget_chosen"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("label_chosenCount"));
    m_count->setStyleSheet(QStringLiteral("QLabel{font-size:13px;color:rgb(102,102,102);}"));
    layout->addWidget(m_count);

    layout->addWidget(newRowArea(this, QStringLiteral("widget_chosenRows"), QStringLiteral("rgb(248,249,250)"),
                                 &m_rows, &m_rowLayout),
                      1);
    rebuild();
}

int ChosenPanel::indexOf(const QString &key) const
{
    for (int i = 0; i < m_entries.size(); ++i)
        if (DepartmentLevel::entryKey(m_entries.at(i)) == key)
            return i;
    return -1;
}

bool ChosenPanel::contains(const QString &key) const
{
    return indexOf(key) >= 0;
}

void ChosenPanel::add(const QVariantMap &entry)
{
    if (contains(DepartmentLevel::entryKey(entry)))
        return;
    m_entries.append(DepartmentLevel::tagged(entry));
    rebuild();
    emit changed();
}

void ChosenPanel::remove(const QString &key)
{
    const int i = indexOf(key);
    if (i < 0)
        return;
    m_entries.removeAt(i);
    rebuild();
    emit changed();
}

void ChosenPanel::clear()
{
    if (m_entries.isEmpty())
        return;
    m_entries.clear();
    rebuild();
    emit changed();
}

void ChosenPanel::setWithDown(const QString &key, bool on)
{
    const int i = indexOf(key);
    if (i >= 0)
        m_entries[i].insert(QStringLiteral("with_down"), on);
}

void ChosenPanel::rebuild()
{
    discardRows(m_rowLayout, 1);
    for (int i = 0; i < m_entries.size(); ++i)
        m_rowLayout->insertWidget(i, rowFor(m_entries.at(i)));
    m_count->setText(QStringLiteral("已选择（%1）").arg(m_entries.size()));
}

QWidget *ChosenPanel::rowFor(const QVariantMap &entry)
{
    const QString key = DepartmentLevel::entryKey(entry);
    const bool department = DepartmentLevel::isDepartment(entry);
    auto *row = new QWidget(m_rows);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(4, 2, 4, 2);
    auto *name = new QLabel(entry.value(department ? QStringLiteral("dept_name") : QStringLiteral("name")).toString(), row);
    name->setObjectName(QStringLiteral("chosen_") + key);
    layout->addWidget(name, 1);
    if (department) {
        auto *withDown = new QCheckBox(QStringLiteral("含以下"), row);
        withDown->setObjectName(QStringLiteral("withDown_") + key);
        withDown->setChecked(entry.value(QStringLiteral("with_down")).toBool());
        connect(withDown, &QCheckBox::toggled, this, [this, key](bool on) { setWithDown(key, on); });
        layout->addWidget(withDown);
    }
    auto *remove = new QPushButton(QStringLiteral("×"), row);
    remove->setObjectName(QStringLiteral("remove_") + key);
    remove->setFixedSize(22, 22);
    remove->setCursor(Qt::PointingHandCursor);
    remove->setStyleSheet(QStringLiteral("QPushButton{border:none;color:rgb(153,153,153);font-size:16px;}"
                                         "QPushButton:hover{color:rgb(230,67,64);}"));
    connect(remove, &QPushButton::clicked, this, [this, key] { this->remove(key); });
    layout->addWidget(remove);
    return row;
}
