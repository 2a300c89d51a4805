#pragma once
// One promotion photo as a tile: the picture, and under it "封面" for the cover or a
// "设置封面" button for the others (hidden when the viewer may not change the photos). An
// editor's tile also offers removing the photo.
#include <QWidget>

class QLabel;
class QPushButton;
class ThumbnailView;

class HouseDescribeItemListView : public QWidget
{
    Q_OBJECT
public:
    HouseDescribeItemListView(int index, const QString &source, bool cover, QWidget *parent = nullptr);

    int index() const { return m_index; }
    QString source() const;
    bool isCover() const { return m_cover; }
    void setEditable(bool editable);
    void setRemovable(bool removable);

signals:
    void coverClicked(int index);
    void photoClicked(int index);
    void removeClicked(int index);

private:
    int m_index;
    bool m_cover;
    ThumbnailView *m_picture = nullptr;
    QLabel *m_coverLabel = nullptr;
    QPushButton *m_coverButton = nullptr;
    QPushButton *m_removeButton = nullptr;
};
