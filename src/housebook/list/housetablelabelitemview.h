#pragma once
// The plain cell of the listing table: one line of text, elided at the cell's right edge,
// with the whole text as its tooltip. It paints the text itself; a table page holds up to
// two thousand of these, so each is one widget without children or a style sheet.
#include "widgets/hovertablewidget.h"

class HouseTableLabelItemView : public HoverTableCell
{
    Q_OBJECT
public:
    explicit HouseTableLabelItemView(int row = -1, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }
    // The text as drawn in the current width (elided with "…" when it does not fit).
    QString shownText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textRect() const;

    QString m_text;
    QString m_line;  // the text on one line
};
