#pragma once
// The editors' view of a DescribePhotoSet: a grid of photo tiles (cover, remove) that follows
// the set, or "暂无图片" when it is empty.
#include <QWidget>

class DescribePhotoSet;
class QGridLayout;

class DescribePhotoGrid : public QWidget
{
    Q_OBJECT
public:
    DescribePhotoGrid(DescribePhotoSet *set, int type, QWidget *parent = nullptr);

private:
    void refill();

    DescribePhotoSet *m_set;
    int m_type;  // the photos of this type only; -1: all
    QGridLayout *m_grid;
};
