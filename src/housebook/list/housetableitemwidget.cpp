#include "housetableitemwidget.h"

#include "list/houserowtexts.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPixmap>
#include <QResizeEvent>

namespace {

const int kMargin = 6;
const int kSpacing = 4;

// Icon sizes come from the images; read each image once for the whole table.
QSize iconSize(const QString &path)
{
    static QHash<QString, QSize> sizes;
    auto it = sizes.find(path);
    if (it == sizes.end())
        it = sizes.insert(path, QPixmap(path).size());
    return it.value();
}

const QFont &communityFont()
{
    static const QFont font = [] {
        QFont f(QStringLiteral("微软雅黑"));
        f.setPixelSize(14);
        return f;
    }();
    return font;
}

} // namespace

HouseTableItemWidget::HouseTableItemWidget(int row, QWidget *parent, bool deferBuild) : HoverTableCell(row, parent)
{
    if (!deferBuild)
        ensureBuilt();
}

void HouseTableItemWidget::ensureBuilt()
{
    if (m_label)
        return;
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(kMargin, 0, kMargin, 0);
    m_layout->setSpacing(kSpacing);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("textLabel"));
    // A rich-text label keeps presses for its own text handling; the click belongs to the row.
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->setFont(communityFont());
    // Long names are elided to the cell's width instead of widening the column.
    m_label->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    m_label->setMinimumWidth(1);
    m_layout->addWidget(m_label);
    m_layout->addStretch(1);
    applyText();
}

void HouseTableItemWidget::setText(const QString &text)
{
    m_text = text;
    const HouseRowTexts::CommunityParts parts = HouseRowTexts::splitCommunityText(text);
    setToolTip(parts.valid ? parts.main : text);
    if (m_label)
        applyText();
}

QString HouseTableItemWidget::labelText() const
{
    return m_label ? m_label->text() : QString();
}

void HouseTableItemWidget::setSearchWords(const QStringList &words)
{
    if (words == m_searchWords)
        return;
    m_searchWords = words;
    if (m_label)
        fitLabelText();
}

// Status between parentheses, the main text and the icons, each gap and the margins.
int HouseTableItemWidget::contentWidth() const
{
    const QFontMetrics metrics(communityFont());
    const HouseRowTexts::CommunityParts parts = HouseRowTexts::splitCommunityText(m_text);
    if (!parts.valid)
        return metrics.horizontalAdvance(m_text) + 2 * kMargin;
    const QString status = parts.status.isEmpty() ? QString() : QStringLiteral("(%1)").arg(parts.status);
    int width = metrics.horizontalAdvance(status + parts.main) + 2 * kMargin + kSpacing + 2;
    for (const QString &tag : parts.leftTags + parts.rightTags) {
        const QString path = HouseRowTexts::tagIcon(tag);
        if (!path.isEmpty())
            width += iconSize(path).width() + kSpacing;
    }
    return width;
}

void HouseTableItemWidget::resizeEvent(QResizeEvent *event)
{
    HoverTableCell::resizeEvent(event);
    if (m_label && event->size().width() != m_fittedWidth)
        fitLabelText();
}

void HouseTableItemWidget::applyText()
{
    clearIcons();
    const HouseRowTexts::CommunityParts parts = HouseRowTexts::splitCommunityText(m_text);
    if (!parts.valid) {
        m_label->setTextFormat(Qt::PlainText);
        m_label->setText(m_text);
        return;
    }
    m_label->setTextFormat(Qt::RichText);
    m_leftShown = addIcons(parts.leftTags, 0);
    m_rightShown = addIcons(parts.rightTags, m_layout->indexOf(m_label) + 1);
    fitLabelText();
}

// The text gets what the margins, icons and gaps leave; a main text that does not fit there
// is elided at its end, so a name never stops mid-character.
void HouseTableItemWidget::fitLabelText()
{
    const HouseRowTexts::CommunityParts parts = HouseRowTexts::splitCommunityText(m_text);
    if (!parts.valid)
        return;
    m_fittedWidth = width();
    QString main = parts.main;
    if (testAttribute(Qt::WA_Resized)) {
        const QFontMetrics metrics(m_label->font());
        const QString status = parts.status.isEmpty() ? QString() : QStringLiteral("(%1)").arg(parts.status);
        const int room = width() - 2 * kMargin - iconsWidth() - kSpacing - 2;
        if (metrics.horizontalAdvance(status + main) > room)
            main = metrics.elidedText(main, Qt::ElideRight, qMax(0, room - metrics.horizontalAdvance(status)));
    }
    m_label->setText(HouseRowTexts::communityHtml(parts.status, main, m_searchWords));
}

int HouseTableItemWidget::iconsWidth() const
{
    int width = 0;
    for (const QLabel *icon : m_icons)
        width += icon->width() + kSpacing;
    return width;
}

void HouseTableItemWidget::clearIcons()
{
    qDeleteAll(m_icons);
    m_icons.clear();
    m_leftShown.clear();
    m_rightShown.clear();
}

// Inserts the icons of the tags that have one at layout position `at`, in order; returns
// those tags.
QStringList HouseTableItemWidget::addIcons(const QStringList &tags, int at)
{
    QStringList shown;
    for (const QString &tag : tags) {
        const QString path = HouseRowTexts::tagIcon(tag);
        if (path.isEmpty())
            continue;
        m_layout->insertWidget(at++, createIcon(tag, path));
        shown << tag;
    }
    return shown;
}

QLabel *HouseTableItemWidget::createIcon(const QString &tag, const QString &path)
{
    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("tagIcon"));
    icon->setProperty("tag", tag);
    icon->setToolTip(tag);
    icon->setStyleSheet(QStringLiteral("border-image:url(%1);").arg(path));
    icon->setFixedSize(iconSize(path));
    m_icons << icon;
    return icon;
}
