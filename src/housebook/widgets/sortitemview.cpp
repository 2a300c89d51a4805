#include "widgets/sortitemview.h"

#include "helpquestionwidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QDataStream>
#include <QDrag>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyle>

namespace {

const QString kDragFormat = QStringLiteral("application/x-housebook-sortitem");

const QString kStyle = QStringLiteral(
    "SortItemView{background:transparent;border-left:3px solid transparent;}"
    "SortItemView[highlighted=\"true\"]{background:rgb(235,235,235);border-left:3px solid rgb(12,147,235);}"
    "QCheckBox{color:rgb(120,120,120);}"
    "QCheckBox::indicator{width:14px;height:14px;}"
    "QCheckBox::indicator:unchecked{image:url(:/res/uncheck.png);}"
    "QPushButton#sortItemSetButton{border:none;background:transparent;color:rgb(12,147,235);}");

// Drags are only taken by entries of the list they come from.
quint64 listKey(const QWidget *view)
{
    return quint64(reinterpret_cast<quintptr>(view->parentWidget()));
}

} // namespace

SortItemView::SortItemView(const QVariantMap &item, int row, int colum, QWidget *parent)
    : QWidget(parent), m_check(new QCheckBox(item.value(QStringLiteral("title")).toString(), this)), m_row(row),
      m_colum(colum)
{
    setAttribute(Qt::WA_StyledBackground);
    setAcceptDrops(true);
    setStyleSheet(kStyle);
    setProperty("highlighted", false);
    buildUi(item);
}

void SortItemView::buildUi(const QVariantMap &item)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->setSpacing(4);
    m_check->setObjectName(QStringLiteral("sortItemCheckBox"));
    m_check->setChecked(item.value(QStringLiteral("choose")).toBool());
    m_check->installEventFilter(this);
    layout->addWidget(m_check);
    const int tipId = item.value(QStringLiteral("tip_id")).toInt();
    if (tipId > 0) {
        auto *tip = new HelpQuestionWidget(this);
        tip->setTipId(tipId);
        layout->addWidget(tip);
    }
    if (item.value(QStringLiteral("has_set")).toBool()) {
        auto *set = new QPushButton(QStringLiteral("设置>"), this);
        set->setObjectName(QStringLiteral("sortItemSetButton"));
        set->setCursor(Qt::PointingHandCursor);
        layout->addWidget(set);
        connect(set, &QPushButton::clicked, this, &SortItemView::btnClick);
    }
    layout->addStretch();
    connect(m_check, &QCheckBox::toggled, this, &SortItemView::statechange);
}

void SortItemView::setPosition(int row, int colum)
{
    m_row = row;
    m_colum = colum;
}

void SortItemView::setChoose(bool choose)
{
    const QSignalBlocker blocker(m_check);
    m_check->setChecked(choose);
}

bool SortItemView::isChoose() const
{
    return m_check->isChecked();
}

QMimeData *SortItemView::createDragData() const
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << listKey(this) << qint32(m_row) << qint32(m_colum);
    auto *data = new QMimeData;
    data->setData(kDragFormat, bytes);
    return data;
}

bool SortItemView::readDragData(const QMimeData *data, int *row, int *colum) const
{
    if (!data || !data->hasFormat(kDragFormat))
        return false;
    QDataStream in(data->data(kDragFormat));
    quint64 key = 0;
    qint32 r = -1;
    qint32 c = -1;
    in >> key >> r >> c;
    if (in.status() != QDataStream::Ok || key != listKey(this) || r < 0 || c < 0)
        return false;
    *row = r;
    *colum = c;
    return true;
}

// The check box covers most of the entry, so presses on it may start a drag as well.
bool SortItemView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_check) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            m_pressed = mouse->button() == Qt::LeftButton;
            m_pressPos = m_check->mapTo(this, mouse->pos());
        } else if (event->type() == QEvent::MouseMove) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (startsDrag(m_check->mapTo(this, mouse->pos()), mouse->buttons())) {
                startDrag();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SortItemView::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    m_pressPos = event->pos();
    QWidget::mousePressEvent(event);
}

void SortItemView::mouseMoveEvent(QMouseEvent *event)
{
    if (startsDrag(event->pos(), event->buttons()))
        startDrag();
    else
        QWidget::mouseMoveEvent(event);
}

bool SortItemView::startsDrag(const QPoint &pos, Qt::MouseButtons buttons) const
{
    return m_pressed && (buttons & Qt::LeftButton)
           && (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance();
}

void SortItemView::startDrag()
{
    m_pressed = false;
    QPointer<SortItemView> self(this);
    auto *drag = new QDrag(this);
    drag->setMimeData(createDragData());
    drag->setPixmap(grab());
    drag->setHotSpot(m_pressPos);
    drag->exec(Qt::MoveAction);
    // The drop may have replaced the entries; only a view that is still there tidies up.
    if (!self)
        return;
    // The release went to the drag, so the box must not stay half pressed.
    m_check->setDown(false);
    setHovered(rect().contains(mapFromGlobal(QCursor::pos())));
}

void SortItemView::enterEvent(QEvent *event)
{
    setHovered(true);
    QWidget::enterEvent(event);
}

void SortItemView::leaveEvent(QEvent *event)
{
    setHovered(false);
    QWidget::leaveEvent(event);
}

void SortItemView::dragEnterEvent(QDragEnterEvent *event)
{
    int row = 0;
    int colum = 0;
    if (!readDragData(event->mimeData(), &row, &colum)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    setDropTarget(true);
}

void SortItemView::dragLeaveEvent(QDragLeaveEvent *event)
{
    setDropTarget(false);
    QWidget::dragLeaveEvent(event);
}

void SortItemView::dropEvent(QDropEvent *event)
{
    setDropTarget(false);
    int fromRow = 0;
    int fromColum = 0;
    if (!readDragData(event->mimeData(), &fromRow, &fromColum)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    if (fromRow != m_row || fromColum != m_colum)
        emit changeTo(fromRow, fromColum, m_row, m_colum);
}

void SortItemView::setHovered(bool hovered)
{
    m_hovered = hovered;
    updateHighlight();
}

void SortItemView::setDropTarget(bool target)
{
    m_dropTarget = target;
    updateHighlight();
}

void SortItemView::updateHighlight()
{
    if (property("highlighted").toBool() == isHighlighted())
        return;
    setProperty("highlighted", isHighlighted());
    // Property selectors of the style sheet are only re-read on a new polish.
    style()->unpolish(this);
    style()->polish(this);
    update();
}
