#include "housetabletagitemwidget.h"

#include "list/houserowtexts.h"
#include "list/moretablehousetagview.h"
#include "list/moretagpushbutton.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

const int kChipHeight = 18;
const int kLeftMargin = 4;
const int kChipGap = 4;

const QFont &chipFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("微软雅黑"));
        f.setPixelSize(14);
        return f;
    }();
    return font;
}

} // namespace

// ---- HouseTagChip ----

HouseTagChip::HouseTagChip(const QString &tag, int index, QWidget *parent)
    : QLabel(tag, parent), m_color(HouseTableTagItemWidget::tagColor(index))
{
    setObjectName(QStringLiteral("tagChip"));
    setFont(chipFont());
    setAlignment(Qt::AlignCenter);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, m_color);
    setPalette(p);
    setFixedSize(HouseTableTagItemWidget::estimatedWidth(tag) - kChipGap, kChipHeight);
}

void HouseTagChip::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(m_color, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, text());
}

// ---- HouseTableTagItemWidget ----

HouseTableTagItemWidget::HouseTableTagItemWidget(int row, QWidget *parent, bool deferBuild)
    : HoverTableCell(row, parent), m_built(!deferBuild)
{
}

void HouseTableTagItemWidget::ensureBuilt()
{
    if (m_built)
        return;
    m_built = true;
    if (testAttribute(Qt::WA_Resized))
        layoutChips();
}

HouseTableTagItemWidget::~HouseTableTagItemWidget() = default;

QColor HouseTableTagItemWidget::tagColor(int index)
{
    static const QColor palette[] = {QColor(QStringLiteral("#FDB800")), QColor(QStringLiteral("#F94283")),
                                     QColor(QStringLiteral("#F9933F")), QColor(QStringLiteral("#A060BC")),
                                     QColor(QStringLiteral("#49C8A6")), QColor(QStringLiteral("#00B1FF"))};
    return palette[qAbs(index) % 6];
}

int HouseTableTagItemWidget::estimatedWidth(const QString &tag)
{
    return 15 * tag.size() + 8;
}

int HouseTableTagItemWidget::contentWidth() const
{
    int width = kLeftMargin;
    for (const QString &tag : m_tags)
        width += estimatedWidth(tag);
    return width;
}

void HouseTableTagItemWidget::setText(const QString &text)
{
    m_text = text;
    m_tags = HouseRowTexts::tagList(text);
    setToolTip(m_tags.join(QLatin1Char(',')));
    // Before the table has given the cell its width the chips wait for the first resize.
    if (m_built && testAttribute(Qt::WA_Resized))
        layoutChips();
    else
        clearChips();
}

QStringList HouseTableTagItemWidget::shownTags() const
{
    QStringList shown;
    for (const HouseTagChip *chip : m_chips)
        shown << chip->text();
    return shown;
}

MoreTableHouseTagView *HouseTableTagItemWidget::moreView() const
{
    return m_popup;
}

void HouseTableTagItemWidget::resizeEvent(QResizeEvent *event)
{
    HoverTableCell::resizeEvent(event);
    if (m_built && event->size().width() != m_laidOutWidth)
        layoutChips();
}

// Chips are placed by hand: a layout would re-run for every chip added.
void HouseTableTagItemWidget::layoutChips()
{
    clearChips();
    m_laidOutWidth = width();
    const int top = (height() - kChipHeight) / 2;
    int x = kLeftMargin;
    for (int i = 0; i < m_tags.size(); ++i) {
        const int room = estimatedWidth(m_tags.at(i));
        if (x + room > width()) {
            addMoreButton(x);
            return;
        }
        auto *chip = new HouseTagChip(m_tags.at(i), i, this);
        chip->move(x, top);
        chip->show();
        m_chips << chip;
        x += room;
    }
}

void HouseTableTagItemWidget::clearChips()
{
    qDeleteAll(m_chips);
    m_chips.clear();
    delete m_more;
    m_more = nullptr;
    hideMoreTags();
}

void HouseTableTagItemWidget::addMoreButton(int x)
{
    m_more = new MoreTagPushButton(this);
    m_more->move(x, (height() - m_more->height()) / 2);
    m_more->show();
    connect(m_more, &MoreTagPushButton::enterButton, this, &HouseTableTagItemWidget::showMoreTags);
    connect(m_more, &MoreTagPushButton::leaveButton, this, &HouseTableTagItemWidget::hideMoreTags);
}

void HouseTableTagItemWidget::showMoreTags()
{
    if (!m_popup)
        m_popup = new MoreTableHouseTagView(this);
    m_popup->setTags(m_tags);
    m_popup->move(m_more->mapToGlobal(QPoint(0, m_more->height())));
    m_popup->show();
}

void HouseTableTagItemWidget::hideMoreTags()
{
    if (m_popup)
        m_popup->hide();
}
