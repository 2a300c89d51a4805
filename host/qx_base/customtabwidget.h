#pragma once
// The host's tab container for module pages; closing a tab destroys its page.
#include "qx_base_global.h"

#include <QTabWidget>

class QX_BASE_EXPORT CustomTabWidget : public QTabWidget
{
    Q_OBJECT
public:
    explicit CustomTabWidget(QWidget *parent = nullptr);

    // Adds the page as a tab (once) and makes it current.
    void addTabWidget(const QString &title, QWidget *page);
    void setCurrentWidget(QWidget *page);

private:
    void closePage(int index);
};
