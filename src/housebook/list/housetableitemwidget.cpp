#include "housetableitemwidget.h"

#include "list/houserowtexts.h"

#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPixmap>

namespace {

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
    m_layout->setContentsMargins(6, 0, 6, 0);
    m_layout->setSpacing(4);
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("textLabel"));
    m_label->setFont(communityFont());
    // Long names are cut at the cell's edge instead of widening the column.
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
    m_label->setText(HouseRowTexts::communityHtml(parts.status, parts.main, m_searchWords));
    m_leftShown = addIcons(parts.leftTags, 0);
    m_rightShown = addIcons(parts.rightTags, m_layout->indexOf(m_label) + 1);
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
