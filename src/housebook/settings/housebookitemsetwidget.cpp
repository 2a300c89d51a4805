#include "settings/housebookitemsetwidget.h"

#include "platform/housebookcodes.h"
#include "services/housebooksettingsservice.h"
#include "settings/categorylisteditor.h"
#include "settings/settingssave.h"
#include "sql/basemessage_sqltable.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"

#include <QGridLayout>
#include <QMap>

namespace {

struct CategoryKind
{
    const char *key;
    const char *title;
    const char *refusal;  // told when the list is submitted empty
};

// In the order the page shows them and checks them.
const CategoryKind kKinds[] = {
    {"property1", "产权", "至少添加一个产权选项"},
    {"property2", "产证", "至少添加一个产证选项"},
    {"traffic", "交通", "至少添加一个交通选项"},
    {"renttag", "租房标签", "至少添加一个租房标签选项"},
    {"saletag", "售房标签", "至少添加一个售房标签选项"},
    {"payway", "付款方式", "至少添加一个付款方式选项"},
};

constexpr int kColumns = 3;

QList<QVariantMap> mapsOf(const QVariantList &list)
{
    QList<QVariantMap> maps;
    for (const QVariant &value : list)
        maps << value.toMap();
    return maps;
}

} // namespace

HouseBookItemSetWidget::HouseBookItemSetWidget(QWidget *parent)
    : QWidget(parent), m_service(new HouseBookSettingsService(this))
{
    buildUi();
    m_busy = new BusyOverlay(this);
    SettingsSave::bind(m_service, HouseBookSettingsService::Category, m_busy, [this] { showSet(); },
                       [this] { emit setSuccess(); });
    showSet();
}

void HouseBookItemSetWidget::buildUi()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(20, 20, 20, 20);
    grid->setHorizontalSpacing(24);
    grid->setVerticalSpacing(16);
    for (const CategoryKind &kind : kKinds) {
        auto *editor = new CategoryListEditor(QLatin1String(kind.key), QString::fromUtf8(kind.title), this);
        grid->addWidget(editor, m_editors.size() / kColumns, m_editors.size() % kColumns);
        m_editors << editor;
    }
}

void HouseBookItemSetWidget::showSet()
{
    BaseMessage_SqlTable store(nullptr, HouseBookCodes::kJointSale);
    for (CategoryListEditor *editor : qAsConst(m_editors))
        editor->setEntries(mapsOf(store.list(editor->key())));
}

bool HouseBookItemSetWidget::checkLists()
{
    for (int i = 0; i < m_editors.size(); ++i) {
        if (m_editors.at(i)->entries().isEmpty()) {
            AlertWidget::warning(QString::fromUtf8(kKinds[i].refusal));
            return false;
        }
    }
    return true;
}

void HouseBookItemSetWidget::submit()
{
    if (m_busy->isRunning() || !checkLists())
        return;
    QMap<QString, QList<QVariantMap>> lists;
    for (CategoryListEditor *editor : qAsConst(m_editors))
        lists.insert(editor->key(), editor->entries());
    m_busy->start(QStringLiteral("提交设置中..."));
    m_service->saveCategories(lists);
}
