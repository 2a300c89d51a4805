#pragma once
// One photo of the listing's survey records, offered for the promotion photos: the picture,
// its title and whether it has been taken over. A click asks the editor to take it or let go.
#include <QWidget>

class QLabel;
class ThumbnailView;

class HouseDescribeChoosePhotoView : public QWidget
{
    Q_OBJECT
public:
    HouseDescribeChoosePhotoView(const QString &url, const QString &title, QWidget *parent = nullptr);

    QString url() const { return m_url; }
    QString titleName() const;
    bool isChosen() const { return m_chosen; }
    void setChosen(bool chosen);

signals:
    void clickItem(HouseDescribeChoosePhotoView *item);

public slots:
    void titleNameChange(QString txt);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QString m_url;
    bool m_chosen = false;
    ThumbnailView *m_picture = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_mark = nullptr;
};
