#pragma once
// One thumbnail of a survey record on the survey page: the picture, its title, the mark
// "采集图片" on a picture collected from another site, and a dark menu of operations
// ("查看大图", "下载", "删除") that reports the chosen text.
#include <QStringList>
#include <QWidget>

class QLabel;
class QMenu;
class ThumbnailView;

class HouseBookPhotoSonItemView : public QWidget
{
    Q_OBJECT
public:
    // operations: the menu's texts, in order; an empty list shows no menu.
    HouseBookPhotoSonItemView(const QString &url, const QString &title,
                              const QStringList &operations = defaultOperations(), QWidget *parent = nullptr);

    static QStringList defaultOperations();
    static QString menuStyle();

    QString url() const { return m_url; }
    bool isCollected() const;
    // The menu as it is shown; built on first use.
    QMenu *menu();

signals:
    void operatesClick(QString txt);
    void clickItem();

public slots:
    void showMenu();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QString m_url;
    QStringList m_operations;
    ThumbnailView *m_picture = nullptr;
    QLabel *m_collected = nullptr;
    QMenu *m_menu = nullptr;
};
