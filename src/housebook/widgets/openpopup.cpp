#include "widgets/openpopup.h"

#include "widgets/commonaddwidget.h"

#include <QColor>

QSize popupSize(PopupSize size)
{
    switch (size) {
    case PopupSize::Detail:
        return QSize(912, 692);
    case PopupSize::EntryForm:
        return QSize(762, 762);
    case PopupSize::Settings:
        return QSize(762, 662);
    case PopupSize::DaysChooser:
        return QSize(412, 312);
    }
    return QSize();
}

CommonAddWidget *openPopup(QWidget *parent, PopupSize size, const QString &title, QWidget *content)
{
    auto *popup = new CommonAddWidget(parent, QStringLiteral("main"), true);
    popup->setTitle(title, QColor(0, 0, 0, 30));
    popup->setContentWidget(content);
    popup->resize(popupSize(size));
    popup->show();
    return popup;
}
