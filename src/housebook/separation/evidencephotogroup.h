#pragma once
// One group of photos on an evidence form (contract, deed, identity card, ...): the agent
// adds pictures, which are shrunk on workers before they count, sees them as thumbnails
// and may delete any. Photos are local paths until uploaded, web addresses after; both
// kinds live side by side so a failed upload keeps every picture for the next try.
#include <QJsonArray>
#include <QStringList>
#include <QWidget>

class PhotoPicker;
class QGridLayout;
class QLabel;
class QPushButton;

class EvidencePhotoGroup : public QWidget
{
    Q_OBJECT
public:
    // key: the name the group's photos are posted under.
    EvidencePhotoGroup(const QString &key, const QString &title, QWidget *parent = nullptr);

    QString key() const { return m_key; }
    QString title() const { return m_title; }
    PhotoPicker *picker() const { return m_picker; }

    QStringList photos() const { return m_photos; }
    void setPhotos(const QStringList &photos);
    void replacePhoto(int index, const QString &path);
    void removePhoto(int index);
    bool isEmpty() const { return m_photos.isEmpty(); }
    // Pictures still being shrunk: they are not in photos() yet.
    bool isBusy() const;

    // The photos as the servers take them: [{"url": ...}, ...] in compact JSON.
    QString json() const;
    static QJsonArray array(const QStringList &urls);

public slots:
    // Opens the file dialog (or the chooser set on picker()).
    void choose();

signals:
    void changed();

private:
    void picked(const QStringList &paths);
    void showProgress(int done, int total);
    void rebuild();
    QWidget *photoItem(int index);

    QString m_key;
    QString m_title;
    QStringList m_photos;
    PhotoPicker *m_picker;
    QGridLayout *m_grid = nullptr;
    QLabel *m_progress = nullptr;
    QPushButton *m_add = nullptr;
};
