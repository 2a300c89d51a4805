#pragma once
// The tag cell of the listing table: the listing's tags (comma-separated) as coloured chips
// from left to right, as many as fit; when one does not fit, "●●●" ends the row and hovering
// it shows all tags in a MoreTableHouseTagView.
#include "widgets/hovertablewidget.h"

#include <QLabel>
#include <QPointer>
#include <QStringList>

class MoreTagPushButton;
class MoreTableHouseTagView;

// One tag chip: text and 1 px rounded border in the tag's palette colour, 18 px high. It
// paints itself, so the row's hover colours never reach its own colour.
class HouseTagChip : public QLabel
{
public:
    HouseTagChip(const QString &tag, int index, QWidget *parent = nullptr);
    QColor color() const { return m_color; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
};

class HouseTableTagItemWidget : public HoverTableCell
{
    Q_OBJECT
public:
    // deferBuild: the chips are made in ensureBuilt() (see HoverTableCell).
    explicit HouseTableTagItemWidget(int row = -1, QWidget *parent = nullptr, bool deferBuild = false);
    ~HouseTableTagItemWidget() override;

    void setText(const QString &text);
    QString text() const { return m_text; }
    QStringList tags() const { return m_tags; }
    // The chips laid out in the current width, and whether "●●●" ends them.
    QStringList shownTags() const;
    MoreTagPushButton *moreButton() const { return m_more; }
    MoreTableHouseTagView *moreView() const;

    bool isBuilt() const override { return m_built; }
    void ensureBuilt() override;
    // Room for every chip.
    int contentWidth() const override;

    // Tag i takes palette entry i mod 6, for text and border.
    static QColor tagColor(int index);
    // The room a tag takes in the row: 15 px per character and 8 px.
    static int estimatedWidth(const QString &tag);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutChips();
    void clearChips();
    void addMoreButton(int x);
    void showMoreTags();
    void hideMoreTags();

    QString m_text;
    QStringList m_tags;
    QList<HouseTagChip *> m_chips;
    MoreTagPushButton *m_more = nullptr;
    QPointer<MoreTableHouseTagView> m_popup;
    int m_laidOutWidth = -1;
    bool m_built = false;
};
