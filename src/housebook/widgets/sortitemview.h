#pragma once
// One entry of a SortWidget: check box with the entry's title, the optional help tip and
// "设置>" button. It is dragged onto another entry of the same SortWidget to move there; the
// drag carries the entry's grid position, and the entry it is dropped on reports both
// positions through changeTo.
#include <QVariantMap>
#include <QWidget>

class QCheckBox;
class QMimeData;

class SortItemView : public QWidget
{
    Q_OBJECT
public:
    SortItemView(const QVariantMap &item, int row, int colum, QWidget *parent = nullptr);

    int row() const { return m_row; }
    int colum() const { return m_colum; }
    // The grid cell the entry now sits in (its entry was moved or others moved around it).
    void setPosition(int row, int colum);
    // Sets the box without emitting statechange (a refused unchoose puts the tick back).
    void setChoose(bool choose);
    bool isChoose() const;
    // Drawn highlighted: under the mouse, or as the target of a drag passing over it.
    bool isHighlighted() const { return m_hovered || m_dropTarget; }

    // What a drag of this entry carries: its list and its grid position. Owned by the caller.
    QMimeData *createDragData() const;

signals:
    void statechange(bool choose);
    void changeTo(int fromRow, int fromColum, int toRow, int toColum);
    void btnClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildUi(const QVariantMap &item);
    // True once a press followed by this move has gone far enough to become a drag.
    bool startsDrag(const QPoint &pos, Qt::MouseButtons buttons) const;
    void startDrag();
    void setHovered(bool hovered);
    void setDropTarget(bool target);
    void updateHighlight();
    // The source position of a drag from this entry's list, or false for any other drag.
    bool readDragData(const QMimeData *data, int *row, int *colum) const;

    QCheckBox *m_check = nullptr;
    int m_row = 0;
    int m_colum = 0;
    QPoint m_pressPos;
    bool m_pressed = false;
    bool m_hovered = false;
    bool m_dropTarget = false;
};
