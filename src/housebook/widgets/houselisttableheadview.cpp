#include "widgets/houselisttableheadview.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

namespace {

const int kIconRightMargin = 8;

const QString &sortUpIcon()
{
    static const QString path = QStringLiteral("://res/icon_sort_up.png");
    return path;
}

const QString &sortDownIcon()
{
    static const QString path = QStringLiteral("://res/icon_sort_down.png");
    return path;
}

const QString &sortableIcon()
{
    static const QString path = QStringLiteral("://res/icon_sort.png");
    return path;
}

const QPixmap &pixmapOf(const QString &path)
{
    static QHash<QString, QPixmap> cache;
    auto it = cache.find(path);
    if (it == cache.end())
        it = cache.insert(path, QPixmap(path));
    return it.value();
}

} // namespace

HouseListTableHeadView::HouseListTableHeadView(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("houseListTableHeadView"));
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSectionsClickable(true);
    // The tooltip follows the pointer without a button held.
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    connect(this, &HouseListTableHeadView::sortStateChanged, viewport(), qOverload<>(&QWidget::update));
}

void HouseListTableHeadView::setSortSections(const QList<int> &sections)
{
    m_sortSections = sections;
    viewport()->update();
}

void HouseListTableHeadView::setCurrentSection(int logicalIndex)
{
    HouseListTableHeadView *state = sortState();
    state->m_currentSection = logicalIndex;
    emit state->sortStateChanged();
}

int HouseListTableHeadView::currentSection() const
{
    return sortState()->m_currentSection;
}

bool HouseListTableHeadView::isDescending() const
{
    return sortState()->m_descending;
}

void HouseListTableHeadView::followSortOf(HouseListTableHeadView *leader)
{
    m_leader = leader;
    if (!leader)
        return;
    connect(leader, &HouseListTableHeadView::sortStateChanged, viewport(), qOverload<>(&QWidget::update));
    connect(this, &QHeaderView::sectionDoubleClicked, leader, &QHeaderView::sectionDoubleClicked);
}

QString HouseListTableHeadView::sortIcon(int logicalIndex) const
{
    if (!isSortSection(logicalIndex))
        return QString();
    if (logicalIndex != currentSection())
        return sortableIcon();
    return isDescending() ? sortDownIcon() : sortUpIcon();
}

void HouseListTableHeadView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isSortSection(logicalIndexAt(event->pos()))) {
        HouseListTableHeadView *state = sortState();
        state->m_descending = !state->m_descending;
        emit state->sortStateChanged();
    }
    QHeaderView::mousePressEvent(event);
}

void HouseListTableHeadView::mouseMoveEvent(QMouseEvent *event)
{
    QHeaderView::mouseMoveEvent(event);
    hoverSection(logicalIndexAt(event->pos()), event->globalPos());
}

void HouseListTableHeadView::leaveEvent(QEvent *event)
{
    QHeaderView::leaveEvent(event);
    m_hoveredSection = -1;
    QToolTip::hideText();
}

void HouseListTableHeadView::hoverSection(int logicalIndex, const QPoint &globalPos)
{
    if (logicalIndex == m_hoveredSection)
        return;
    m_hoveredSection = logicalIndex;
    if (isSortSection(logicalIndex))
        QToolTip::showText(globalPos, QStringLiteral("双击排序"), this);
    else
        QToolTip::hideText();
}

void HouseListTableHeadView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    const QString icon = sortIcon(logicalIndex);
    if (icon.isEmpty())
        return;
    const QPixmap &pixmap = pixmapOf(icon);
    const QPoint at(rect.right() - kIconRightMargin - pixmap.width(), rect.center().y() - pixmap.height() / 2);
    painter->drawPixmap(at, pixmap);
}
