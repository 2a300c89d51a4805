#pragma once
// The small window that lists all tags of a listing, shown while the pointer rests on the
// "●●●" of its tag cell: the chips in the tag palette, centred line by line.
#include <QStringList>
#include <QWidget>

class MoreTableHouseTagView : public QWidget
{
    Q_OBJECT
public:
    explicit MoreTableHouseTagView(QWidget *parent = nullptr);

    // Replaces the chips; the window grows in height when they need more lines.
    void setTags(const QStringList &tags);
    QStringList tags() const { return m_tags; }

private:
    QList<QList<int>> lines(int room) const;
    void placeLine(const QList<int> &line, int y);

    QStringList m_tags;
    QList<QWidget *> m_chips;
};
