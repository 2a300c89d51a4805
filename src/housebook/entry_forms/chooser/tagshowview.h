#pragma once
// Chosen tags shown as small labels in a row that wraps; the forms' tag, traffic and
// facility fields show their value with it.
#include <QStringList>
#include <QWidget>

class FlowLayout;

class TagShowView : public QWidget
{
    Q_OBJECT
public:
    explicit TagShowView(QWidget *parent = nullptr);

    // Blank entries are left out.
    void setTags(const QStringList &tags);
    QStringList tags() const { return m_tags; }

private:
    QStringList m_tags;
    FlowLayout *m_layout;
};
