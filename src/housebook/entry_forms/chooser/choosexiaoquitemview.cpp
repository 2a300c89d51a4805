#include "entry_forms/chooser/choosexiaoquitemview.h"

#include "entry_forms/chooser/chooserstyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace {

QString field(const QVariantMap &map, const char *key)
{
    return map.value(QLatin1String(key)).toString().trimmed();
}

} // namespace

ChooseXiaoQuItemView::ChooseXiaoQuItemView(const QVariantMap &community, QWidget *parent)
    : ChooseXiaoQuItemView(community, false, parent)
{
}

ChooseXiaoQuItemView::ChooseXiaoQuItemView(const QVariantMap &community, bool manual, QWidget *parent)
    : QWidget(parent)
    , m_community(community)
    , m_manual(manual)
{
    setAttribute(Qt::WA_StyledBackground);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("ChooseXiaoQuItemView{background:white;border-bottom:1px solid rgb(238,238,238);}"
                                 "ChooseXiaoQuItemView:hover{background:rgb(240,247,253);}"));
    if (manual)
        buildManual();
    else
        buildResult();
    // A rich-text label takes the press itself (for links it may hold), so without this a
    // click on the row's name or address would never choose the row.
    for (QLabel *label : findChildren<QLabel *>())
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
}

ChooseXiaoQuItemView *ChooseXiaoQuItemView::manualRow(const QString &typed, QWidget *parent)
{
    return new ChooseXiaoQuItemView({{QStringLiteral("name"), typed}}, true, parent);
}

QString ChooseXiaoQuItemView::titleText(const QVariantMap &community)
{
    const QString alias = field(community, "othername");
    QString title = field(community, "name");
    if (!alias.isEmpty())
        title = QStringLiteral("%1(%2)").arg(title, alias);
    return title.toHtmlEscaped();
}

QString ChooseXiaoQuItemView::addressText(const QVariantMap &community)
{
    return QStringLiteral("%1-%2-%3").arg(field(community, "districtname"), field(community, "areaname"),
                                          field(community, "address"));
}

QString ChooseXiaoQuItemView::countText(const QVariantMap &community)
{
    return QStringLiteral("%1套").arg(community.value(QStringLiteral("housecount")).toInt());
}

void ChooseXiaoQuItemView::buildResult()
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 8, 12, 8);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    const bool jointSale = m_community.value(QStringLiteral("lianmai")).toInt() == 1;
    auto *title = new QLabel(titleText(m_community) + (jointSale ? QStringLiteral(" <img src=\":/res/lm_small.png\"/>") : QString()), this);
    title->setObjectName(QStringLiteral("label_name"));
    title->setTextFormat(Qt::RichText);
    title->setStyleSheet(QStringLiteral("QLabel{color:rgb(51,51,51);font-size:14px;}"));
    texts->addWidget(title);
    auto *address = new QLabel(addressText(m_community), this);
    address->setObjectName(QStringLiteral("label_address"));
    address->setTextFormat(Qt::PlainText);
    address->setStyleSheet(QStringLiteral("QLabel{color:rgb(153,153,153);font-size:12px;}"));
    texts->addWidget(address);
    layout->addLayout(texts, 1);
    auto *count = new QLabel(countText(m_community), this);
    count->setObjectName(QStringLiteral("label_count"));
    count->setStyleSheet(QStringLiteral("QLabel{color:rgb(102,102,102);font-size:13px;}"));
    layout->addWidget(count);
}

void ChooseXiaoQuItemView::buildManual()
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 10);
    auto *title = new QLabel(QStringLiteral("手动添加(%1)").arg(field(m_community, "name")), this);
    title->setObjectName(QStringLiteral("label_name"));
    title->setTextFormat(Qt::PlainText);
    title->setStyleSheet(QStringLiteral("QLabel{color:rgb(12,145,235);font-size:14px;}"));
    layout->addWidget(title, 1);
}

// The row takes the press so that the release, and with it the choice, comes back to it.
void ChooseXiaoQuItemView::mousePressEvent(QMouseEvent *event)
{
    event->setAccepted(event->button() == Qt::LeftButton);
}

void ChooseXiaoQuItemView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->pos()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}
