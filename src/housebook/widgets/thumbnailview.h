#pragma once
// A picture shown from a web address or a local file without ever blocking the window: web
// pictures are fetched asynchronously through one shared network access with a disk cache,
// scaled once to the view's size and kept; until then (or when the picture cannot be had)
// the view shows its placeholder.
//
// Views live on the GUI thread; decoding and scaling run on the global thread pool and hand
// their image back only to a view that still exists and still shows the same source.
#include <QLabel>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;

class ThumbnailView : public QLabel
{
    Q_OBJECT
public:
    explicit ThumbnailView(QWidget *parent = nullptr);
    ~ThumbnailView() override;

    // A web address ("http://…", "https://…") or a local path; empty shows the placeholder.
    void setSource(const QString &source);
    QString source() const { return m_source; }
    // The picture shown while loading and for a source that cannot be had.
    void setPlaceholder(const QString &resource);
    // Whether the picture itself is shown (not the placeholder).
    bool hasPicture() const { return m_hasPicture; }

    // The network access every thumbnail shares (GUI thread only). Its disk cache lives in
    // "cache/thumbnails" under the plug-in's data folder and follows that folder when it moves.
    static QNetworkAccessManager *sharedNetwork();

signals:
    void loaded(bool ok);
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void fetch(const QString &url);
    void fetched(QNetworkReply *reply, int generation);
    void decodeLater(const QByteArray &bytes, const QString &path, int generation);
    void decoded(const QImage &image, int generation);
    void showPlaceholder();
    void abortFetch();
    QSize box() const;

    QString m_source;
    QString m_placeholder;
    bool m_hasPicture = false;
    int m_generation = 0;
    QPointer<QNetworkReply> m_reply;
};
