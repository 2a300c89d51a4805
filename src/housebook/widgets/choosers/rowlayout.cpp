#include "widgets/choosers/rowlayout.h"

#include <QBoxLayout>
#include <QWidget>

void discardRows(QBoxLayout *layout, int keep)
{
    while (layout->count() > keep) {
        QLayoutItem *item = layout->takeAt(0);
        if (QWidget *w = item->widget()) {
            w->hide();
            w->setParent(nullptr);
            w->deleteLater();
        }
        delete item;
    }
}
