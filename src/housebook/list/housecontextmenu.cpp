#include "list/housecontextmenu.h"

#include "platform/housebookcodes.h"
#include "sql/housebookset_sqltable.h"
#include "sql/listingrights.h"

#include <QIcon>
#include <QMenu>

namespace HouseContextMenu {

using namespace HouseBookCodes;

namespace {

void addOnce(QList<Entry> &entries, const Entry &entry)
{
    for (const Entry &e : qAsConst(entries)) {
        if (e.kind == entry.kind && e.flagType == entry.flagType)
            return;
    }
    entries << entry;
}

Entry plainEntry(EntryKind kind, const QString &text)
{
    Entry e;
    e.kind = kind;
    e.text = text;
    return e;
}

} // namespace


Entry flagEntry(const Record &record, int flagType)
{
    static const char *const names[] = {"", "置顶", "锁盘", "封盘", "独家"};
    const int current = flagType == TopFlag  ? record.istop
                      : flagType == LockFlag ? record.suopan
                      : flagType == SealFlag ? record.fengpan
                                             : record.hbdujia;
    Entry e;
    e.kind = FlagEntry;
    e.flagType = flagType;
    e.flagState = current == 1 ? 0 : 1;
    const QString name = QString::fromUtf8(names[flagType]);
    e.text = e.flagState == 1 ? name : QStringLiteral("取消") + name;
    return e;
}

QList<Entry> entriesFor(const Record &record, const Rights &rights)
{
    QList<Entry> entries;
    if (rights.manager) {
        for (int type : {TopFlag, LockFlag, SealFlag, ExclusiveFlag})
            addOnce(entries, flagEntry(record, type));
        addOnce(entries, plainEntry(DeleteEntry, QStringLiteral("删除")));
        addOnce(entries, plainEntry(StatusEntry, QStringLiteral("状态")));
    }
    if (rights.lock)
        addOnce(entries, flagEntry(record, LockFlag));
    if (rights.seal)
        addOnce(entries, flagEntry(record, SealFlag));
    if (rights.top)
        addOnce(entries, flagEntry(record, TopFlag));
    if (rights.remove)
        addOnce(entries, plainEntry(DeleteEntry, QStringLiteral("删除")));
    if (rights.status)
        addOnce(entries, plainEntry(StatusEntry, QStringLiteral("状态")));
    return entries;
}

QStringList statusNames(bool sale, bool isJointSale)
{
    QStringList names = HouseBookSet_SqlTable(nullptr, isJointSale).classStateNames(sale);
    names.removeAll(QString());
    const QString last = sale ? QStringLiteral("已售") : QStringLiteral("已租");
    const QString paused = sale ? QStringLiteral("暂不售") : QStringLiteral("暂不租");
    return names + QStringList{paused, QStringLiteral("电话无效"), QStringLiteral("已定"), QStringLiteral("成交"), last,
                               QStringLiteral("无效")};
}

QString styleSheet()
{
    return QStringLiteral("QMenu{background-color:rgb(240,240,240);border:1px solid rgb(221,221,221);}"
                          "QMenu::item{font-size:13px;color:black;padding:3px 30px 4px 10px;}"
                          "QMenu::item:selected,QMenu::item:pressed{background-color:rgb(24,135,240);color:white;}");
}

QString currentStatusIcon()
{
    return QStringLiteral("://res/icon_tag_finished.png");
}

void fill(QMenu *menu, const QList<Entry> &entries, const QStringList &statuses, const QString &currentStatus,
          const Handlers &handlers)
{
    menu->clear();
    for (QMenu *old : menu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly))
        old->deleteLater();
    for (const Entry &entry : entries) {
        if (entry.kind == FlagEntry) {
            const int type = entry.flagType;
            const int state = entry.flagState;
            QObject::connect(menu->addAction(entry.text), &QAction::triggered, menu,
                             [handlers, type, state] { handlers.flag(type, state); });
        } else if (entry.kind == DeleteEntry) {
            QObject::connect(menu->addAction(entry.text), &QAction::triggered, menu, [handlers] { handlers.remove(); });
        } else {
            auto *sub = new QMenu(QStringLiteral("修改状态"), menu);
            sub->setObjectName(QStringLiteral("statusMenu"));
            sub->setStyleSheet(styleSheet());
            for (const QString &name : statuses) {
                QAction *action = sub->addAction(QStringLiteral("  ") + name);
                if (name == currentStatus)
                    action->setIcon(QIcon(currentStatusIcon()));
                const QString text = action->text().remove(QLatin1Char(' '));
                QObject::connect(action, &QAction::triggered, menu, [handlers, text] { handlers.status(text); });
            }
            menu->addMenu(sub);
        }
    }
}

} // namespace HouseContextMenu
