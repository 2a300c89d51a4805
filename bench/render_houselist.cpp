// Renders the house list page offscreen so a person can check it looks finished: seeds a few
// dozen listings, opens the sale book and saves
//   houselist_page.png     the whole page;
//   houselist_menu.png     the context menu of a row, as a joint-sale manager sees it;
//   houselist_status.png   its "修改状态" submenu.
//
//   QT_QPA_PLATFORM=offscreen render_houselist [OUTPUT_DIR]   (default: the current folder)
#include "houselistseed.h"
#include "list/housebooklistwidget.h"
#include "widgets/hovertablewidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void spinUntil(const std::function<bool()> &done)
{
    QElapsedTimer guard;
    guard.start();
    while (!done() && guard.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool save(QWidget *widget, const QString &path)
{
    const bool ok = widget->grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "could not save", qPrintable(path));
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    QTemporaryDir data;
    HouseListSeed::signIn(data.path(), 20);
    HouseListSeed::seed(48, 7);

    QWidget window;
    window.resize(1440, 860);
    DataCenter::MainWindowWidget = &window;
    auto *page = new HouseBookListWidget(&window);
    page->resize(window.size());
    window.show();
    page->setMode(4, 0);
    spinUntil([&] { return !page->listings().isEmpty(); });
    QApplication::processEvents();
    bool ok = save(page, out.filePath(QStringLiteral("houselist_page.png")));

    DataCenter::isJointSaleManger = true;
    auto *table = page->findChild<HoverTableWidget *>(QStringLiteral("tableWidget"));
    page->showTableMeun(table->visualRect(table->model()->index(1, 0)).center());
    QMenu *menu = page->tableMenu();
    spinUntil([&] { return menu->isVisible(); });
    ok = save(menu, out.filePath(QStringLiteral("houselist_menu.png"))) && ok;
    for (QAction *action : menu->actions()) {
        if (action->menu()) {
            action->menu()->popup(menu->mapToGlobal(QPoint(menu->width(), 0)));
            QApplication::processEvents();
            ok = save(action->menu(), out.filePath(QStringLiteral("houselist_status.png"))) && ok;
        }
    }
    return ok ? 0 : 1;
}
