#include "thumbnailview.h"

ThumbnailView::ThumbnailView(QWidget *parent)
    : QLabel(parent)
{
}

void ThumbnailView::setSource(const QString &source)
{
    m_source = source;
}

void ThumbnailView::setPlaceholder(const QString &) {}
