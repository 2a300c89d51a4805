#include "widgets/sortitemview.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>

SortItemView::SortItemView(const QVariantMap &item, int row, int colum, QWidget *parent)
    : QWidget(parent), m_check(new QCheckBox(item.value(QStringLiteral("title")).toString(), this)), m_row(row),
      m_colum(colum)
{
    auto *layout = new QHBoxLayout(this);
    m_check->setObjectName(QStringLiteral("sortItemCheckBox"));
    m_check->setChecked(item.value(QStringLiteral("choose")).toBool());
    layout->addWidget(m_check);
    if (item.value(QStringLiteral("has_set")).toBool()) {
        auto *set = new QPushButton(QStringLiteral("设置>"), this);
        set->setObjectName(QStringLiteral("sortItemSetButton"));
        layout->addWidget(set);
        connect(set, &QPushButton::clicked, this, &SortItemView::btnClick);
    }
    connect(m_check, &QCheckBox::toggled, this, &SortItemView::statechange);
}

void SortItemView::setChoose(bool choose)
{
    const QSignalBlocker blocker(m_check);
    m_check->setChecked(choose);
}

bool SortItemView::isChoose() const
{
    return m_check->isChecked();
}
