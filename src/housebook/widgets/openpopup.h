#pragma once
// Opens a page of the module in its own pop-up frame (CommonAddWidget): the frame is sized
// for the kind of page it holds, shades its owner window in black at alpha 30, and is shown
// at once. The caller connects the content's closeWidget() to the frame's.
#include <QSize>
#include <QString>

class CommonAddWidget;
class QWidget;

enum class PopupSize {
    Detail,       // the listing detail window
    EntryForm,    // the sale and rent entry forms
    Settings,     // the house-book settings
    DaysChooser,  // the days of a flag
};

QSize popupSize(PopupSize size);

CommonAddWidget *openPopup(QWidget *parent, PopupSize size, const QString &title, QWidget *content);
