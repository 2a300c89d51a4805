#pragma once
// A picture shown from a web address or a local file without ever blocking the window: web
// pictures are fetched asynchronously through one shared network access with a disk cache,
// scaled once to the view's size and kept; until then (or when the picture cannot be had)
// the view shows its placeholder.
#include <QLabel>
#include <QString>

class ThumbnailView : public QLabel
{
    Q_OBJECT
public:
    explicit ThumbnailView(QWidget *parent = nullptr);

    // A web address ("http://…", "https://…") or a local path; empty shows the placeholder.
    void setSource(const QString &source);
    QString source() const { return m_source; }
    // The picture shown while loading and for a source that cannot be had.
    void setPlaceholder(const QString &resource);
    // Whether the picture itself is shown (not the placeholder).
    bool hasPicture() const { return m_hasPicture; }

signals:
    void loaded(bool ok);
    void clicked();

private:
    QString m_source;
    bool m_hasPicture = false;
};
