#pragma once
// Rows of the chooser are rebuilt while one of their own buttons is still emitting its
// click; they are taken out of the widget tree at once (so lookups by object name only
// find the new rows) and deleted once control is back in the event loop.
class QBoxLayout;
class QScrollArea;
class QString;
class QVBoxLayout;
class QWidget;

// Discards every widget of the layout except the last `keep` items (stretches at the end).
void discardRows(QBoxLayout *layout, int keep = 0);

// A framed scroll area whose content (`rowsName`, painted in `background`) stacks rows
// above a closing stretch; *rows and *layout receive the content and its layout.
QScrollArea *newRowArea(QWidget *parent, const QString &rowsName, const QString &background, QWidget **rows,
                        QVBoxLayout **layout);
