#include "moretablehousetagview.h"

#include "list/housetabletagitemwidget.h"

namespace {

const int kMargin = 8;
const int kLineHeight = 18;
const int kLineGap = 6;
const int kChipGap = 4;

} // namespace

MoreTableHouseTagView::MoreTableHouseTagView(QWidget *parent) : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("moreTableHouseTagView"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral("#moreTableHouseTagView{background-color:white;border:1px solid rgb(221,221,221);}"));
    resize(174, 53);
}

void MoreTableHouseTagView::setTags(const QStringList &tags)
{
    qDeleteAll(m_chips);
    m_chips.clear();
    m_tags = tags;
    const QList<QList<int>> rows = lines(width() - 2 * kMargin);
    const int contentHeight = rows.size() * kLineHeight + qMax(0, rows.size() - 1) * kLineGap;
    resize(width(), qMax(53, contentHeight + 2 * kMargin));
    int y = (height() - contentHeight) / 2;
    for (const QList<int> &line : rows) {
        placeLine(line, y);
        y += kLineHeight + kLineGap;
    }
}

// One line of chips, centred: chips keep the gap their estimated width leaves after them.
void MoreTableHouseTagView::placeLine(const QList<int> &line, int y)
{
    QList<HouseTagChip *> chips;
    int lineWidth = 0;
    for (int i : line) {
        auto *chip = new HouseTagChip(m_tags.at(i), i, this);
        lineWidth += (chips.isEmpty() ? 0 : kChipGap) + chip->width();
        chips << chip;
    }
    int x = (width() - lineWidth) / 2;
    for (HouseTagChip *chip : chips) {
        chip->move(x, y);
        chip->show();
        x += chip->width() + kChipGap;
        m_chips << chip;
    }
}

// Tag indexes line by line, each line as full as the room allows (a longer tag gets a line
// of its own).
QList<QList<int>> MoreTableHouseTagView::lines(int room) const
{
    QList<QList<int>> rows;
    int used = room;
    for (int i = 0; i < m_tags.size(); ++i) {
        const int need = HouseTableTagItemWidget::estimatedWidth(m_tags.at(i));
        if (rows.isEmpty() || used + need > room) {
            rows.append(QList<int>());
            used = 0;
        }
        rows.last().append(i);
        used += need;
    }
    return rows;
}
