#include "detail/describe/describephotogrid.h"

#include "detail/describe/describephotoset.h"
#include "detail/describe/housedescribeitemlistview.h"

#include <QGridLayout>
#include <QLabel>

namespace {

constexpr int kColumns = 4;

} // namespace

DescribePhotoGrid::DescribePhotoGrid(DescribePhotoSet *set, int type, QWidget *parent)
    : QWidget(parent)
    , m_set(set)
    , m_type(type)
    , m_grid(new QGridLayout(this))
{
    m_grid->setContentsMargins(0, 0, 0, 0);
    connect(set, &DescribePhotoSet::changed, this, &DescribePhotoGrid::refill);
    refill();
}

void DescribePhotoGrid::refill()
{
    while (QLayoutItem *item = m_grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const QList<DescribeTexts::Photo> photos = m_set->photos();
    int shown = 0;
    for (int i = 0; i < photos.size(); ++i) {
        if (m_type >= 0 && photos.at(i).type != m_type)
            continue;
        auto *item = new HouseDescribeItemListView(i, photos.at(i).url, photos.at(i).cover, this);
        item->setRemovable(true);
        connect(item, &HouseDescribeItemListView::coverClicked, m_set, &DescribePhotoSet::setCover);
        connect(item, &HouseDescribeItemListView::removeClicked, m_set, &DescribePhotoSet::remove);
        m_grid->addWidget(item, shown / kColumns, shown % kColumns, Qt::AlignLeft | Qt::AlignTop);
        ++shown;
    }
    if (shown == 0) {
        auto *none = new QLabel(QStringLiteral("暂无图片"), this);
        none->setObjectName(QStringLiteral("label_noPhoto"));
        none->setStyleSheet(QStringLiteral("color:#999999;"));
        m_grid->addWidget(none, 0, 0);
    }
}
