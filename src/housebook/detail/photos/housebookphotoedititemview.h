#pragma once
// One photo of the submission window: the thumbnail with its category badge, an editable
// title and a delete button. A photo whose upload failed carries a visible mark until it
// has been uploaded.
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class ThumbnailView;

class HouseBookPhotoEditItemView : public QWidget
{
    Q_OBJECT
public:
    HouseBookPhotoEditItemView(const QString &url, int type, const QString &title, QWidget *parent = nullptr);

    void setType(int type);
    int type() const { return m_type; }
    QString title() const;
    void setUploadFailed(bool failed);
    bool isUploadFailed() const;
    ThumbnailView *picture() const { return m_picture; }

signals:
    void titleChange(QString txt);
    void deleteItem();
    // A left click on the picture.
    void clickItem();
    // A right click on the picture: the end of tagging.
    void rightClickItem();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ThumbnailView *m_picture = nullptr;
    QLabel *m_badge = nullptr;
    QLabel *m_failedMark = nullptr;
    QLineEdit *m_title = nullptr;
    int m_type = 0;
};
