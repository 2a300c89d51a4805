#include "tagshowview.h"

TagShowView::TagShowView(QWidget *parent)
    : QWidget(parent)
{
}

void TagShowView::setTags(const QStringList &tags)
{
    m_tags = tags;
}
