#pragma once
// One entry of a SortWidget: check box with the entry's title, the optional help tip and
// "设置>" button. It is dragged onto another entry to move there.
#include <QVariantMap>
#include <QWidget>

class QCheckBox;

class SortItemView : public QWidget
{
    Q_OBJECT
public:
    SortItemView(const QVariantMap &item, int row, int colum, QWidget *parent = nullptr);

    int row() const { return m_row; }
    int colum() const { return m_colum; }
    // Sets the box without emitting statechange (a refused unchoose puts the tick back).
    void setChoose(bool choose);
    bool isChoose() const;

signals:
    void statechange(bool choose);
    void changeTo(int fromRow, int fromColum, int toRow, int toColum);
    void btnClick();

private:
    QCheckBox *m_check = nullptr;
    int m_row = 0;
    int m_colum = 0;
};
