#include "widgets/choosers/rowlayout.h"

#include <QBoxLayout>
#include <QScrollArea>
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

QScrollArea *newRowArea(QWidget *parent, const QString &rowsName, const QString &background, QWidget **rows,
                        QVBoxLayout **layout)
{
    auto *scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setStyleSheet(QStringLiteral("QScrollArea{border:1px solid rgb(230,230,230);}"));
    *rows = new QWidget(scroll);
    (*rows)->setObjectName(rowsName);
    (*rows)->setAttribute(Qt::WA_StyledBackground);
    (*rows)->setStyleSheet(QStringLiteral("#%1{background:%2;}").arg(rowsName, background));
    *layout = new QVBoxLayout(*rows);
    (*layout)->setContentsMargins(6, 6, 6, 6);
    (*layout)->setSpacing(2);
    (*layout)->addStretch();
    scroll->setWidget(*rows);
    return scroll;
}
