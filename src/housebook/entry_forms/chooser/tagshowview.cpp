#include "entry_forms/chooser/tagshowview.h"

#include "entry_forms/chooser/flowlayout.h"

#include <QLabel>

TagShowView::TagShowView(QWidget *parent)
    : QWidget(parent)
    , m_layout(new FlowLayout(this, 6))
{
}

void TagShowView::setTags(const QStringList &tags)
{
    m_tags.clear();
    m_layout->clear();
    for (const QString &tag : tags) {
        if (tag.trimmed().isEmpty())
            continue;
        m_tags.append(tag);
        auto *label = new QLabel(tag, this);
        label->setObjectName(QStringLiteral("tag_%1").arg(m_tags.size() - 1));
        label->setStyleSheet(QStringLiteral("QLabel{color:rgb(12,145,235);background:rgb(232,244,253);"
                                            "border-radius:3px;padding:2px 8px;font-size:12px;}"));
        m_layout->addWidget(label);
    }
    updateGeometry();
}
