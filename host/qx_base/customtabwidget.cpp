#include "customtabwidget.h"

CustomTabWidget::CustomTabWidget(QWidget *parent) : QTabWidget(parent)
{
    setTabsClosable(true);
    setDocumentMode(true);
    connect(this, &QTabWidget::tabCloseRequested, this, &CustomTabWidget::closePage);
}

void CustomTabWidget::addTabWidget(const QString &title, QWidget *page)
{
    if (!page)
        return;
    int index = indexOf(page);
    if (index < 0)
        index = addTab(page, title);
    QTabWidget::setCurrentIndex(index);
}

void CustomTabWidget::setCurrentWidget(QWidget *page)
{
    if (page && indexOf(page) >= 0)
        QTabWidget::setCurrentWidget(page);
}

void CustomTabWidget::closePage(int index)
{
    QWidget *page = widget(index);
    removeTab(index);
    if (page)
        page->deleteLater();
}
