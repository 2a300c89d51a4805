#include "qx_cefview.h"

#include <QUrl>
#include <QVBoxLayout>
#include <QWebView>
#include <QWidget>

namespace {

constexpr int kMinimumSide = 200;

} // namespace

void loadUrl(QWidget *parent, const QString &url, const QString &title, int width, int height)
{
    // A window of its own even with a parent: Qt::Window keeps it top-level, the parent only
    // ties its lifetime and stacking to the caller's window.
    auto *window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("cefViewWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    window->resize(qMax(width, kMinimumSide), qMax(height, kMinimumSide));

    auto *view = new QWebView(window);
    view->setObjectName(QStringLiteral("cefWebView"));
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);

    view->load(QUrl::fromUserInput(url));
    window->show();
}
