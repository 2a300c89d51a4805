#pragma once
// The community cell of the listing table: the community text (with the listing's status in
// red before it and the search words in red within it) between the icons of its tags.
// Its text is the community cell text of HouseRowTexts; a text without exactly four parts
// is shown whole, as plain text. A name wider than the cell is elided with "…"; the tooltip
// holds it whole.
#include "widgets/hovertablewidget.h"

#include <QStringList>

class QHBoxLayout;
class QLabel;

class HouseTableItemWidget : public HoverTableCell
{
    Q_OBJECT
public:
    // deferBuild: the label and icons are made in ensureBuilt() (see HoverTableCell).
    explicit HouseTableItemWidget(int row = -1, QWidget *parent = nullptr, bool deferBuild = false);

    // The words of the current search, coloured red in the shown text.
    void setSearchWords(const QStringList &words);
    void setText(const QString &text);
    QString text() const { return m_text; }

    // What is shown: the label's text, and the tags that got an icon, left and right.
    QString labelText() const;
    QStringList leftIconTags() const { return m_leftShown; }
    QStringList rightIconTags() const { return m_rightShown; }

    bool isBuilt() const override { return m_label != nullptr; }
    void ensureBuilt() override;
    int contentWidth() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyText();
    void fitLabelText();
    int iconsWidth() const;
    void clearIcons();
    QStringList addIcons(const QStringList &tags, int at);
    QLabel *createIcon(const QString &tag, const QString &path);

    QString m_text;
    QStringList m_searchWords;
    QHBoxLayout *m_layout = nullptr;
    QLabel *m_label = nullptr;
    QList<QLabel *> m_icons;
    QStringList m_leftShown;
    QStringList m_rightShown;
    int m_fittedWidth = -1;
};
