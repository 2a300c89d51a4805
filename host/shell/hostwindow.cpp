#include "hostwindow.h"
#include "syncstatelabel.h"

#include "commonsignaltool.h"
#include "customtabwidget.h"
#include "datacenter.h"

#include <QDebug>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

namespace {

// The context word handed with each callback: which export registered it. The host has a
// single main window, which the callbacks reach through windowForCallbacks.
struct CallbackContext
{
    const char *exportName;
};
CallbackContext kDetailContext{"loadHouseDetail"};
CallbackContext kBookDetailContext{"loadHouseBookDetail"};
CallbackContext kAddRentContext{"addRentHouse"};
CallbackContext kAddSaleContext{"addSaleHouse"};
CallbackContext kSettingsContext{"showHouseBookSet"};
CallbackContext kPermissionContext{"initAutuView"};

QPointer<HostWindow> &windowForCallbacks()
{
    static QPointer<HostWindow> window;
    return window;
}

// The plug-in's signal-hub state that counts the pages a listing sync has stored.
constexpr int kSyncProgressState = 5;

const char *const kBookTitles[4] = {"出售房源", "出租房源", "我的出售", "我的出租"};

} // namespace

HostWindow::HostWindow(const HousebookExports &exports, QWidget *parent)
    : QMainWindow(parent)
    , m_exports(exports)
{
    windowForCallbacks() = this;
    setObjectName(QStringLiteral("hostMainWindow"));
    setWindowTitle(QStringLiteral("联卖房源本 - 演示宿主"));

    m_navigation = new QTreeWidget(this);
    m_navigation->setObjectName(QStringLiteral("navigation"));
    m_navigation->setHeaderHidden(true);
    m_idBox = new QSpinBox(this);
    m_idBox->setObjectName(QStringLiteral("houseId"));
    m_idBox->setRange(1, 99999999);
    m_idBox->setPrefix(QStringLiteral("房源编号 "));

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_navigation, 1);
    leftLayout->addWidget(m_idBox);

    m_tabs = new CustomTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("hostTabs"));
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("hostStack"));
    m_area = new QStackedWidget(this);
    m_area->addWidget(m_tabs);
    m_area->addWidget(m_stack);

    auto *splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(m_area);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 1050});
    setCentralWidget(splitter);

    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    m_syncLabel = new SyncStateLabel(this);
    m_syncBar = new QProgressBar(this);
    m_syncBar->setMaximumWidth(140);
    m_syncBar->setTextVisible(false);
    statusBar()->addWidget(m_statusLine, 1);
    statusBar()->addPermanentWidget(m_syncLabel);
    statusBar()->addPermanentWidget(m_syncBar);
    m_syncTimer = new QTimer(this);
    m_syncTimer->setInterval(250);
    connect(m_syncTimer, &QTimer::timeout, this, &HostWindow::updateSyncState);
    m_syncTimer->start();
    updateSyncState();

    buildNavigation();
    listenToSignalHub();
    resize(1280, 800);
    showStatus(QStringLiteral("插件版本 %1").arg(m_exports.getVersion()));
}

HostWindow::~HostWindow()
{
    // The plug-in's pop-ups report their end while the window's children are destroyed;
    // by then this window can no longer show anything.
    windowForCallbacks() = nullptr;
}

void HostWindow::buildNavigation()
{
    auto group = [this](const QString &title) {
        auto *item = new QTreeWidgetItem(m_navigation, {title});
        item->setFlags(Qt::ItemIsEnabled);
        item->setExpanded(true);
        return item;
    };
    QTreeWidgetItem *books = group(QStringLiteral("房源本"));
    for (int kind = 0; kind < 4; ++kind) {
        addEntry(books, QString::fromUtf8(kBookTitles[kind]), QStringLiteral("loadHouseListWidget"), kind, [this](int k) {
            showTabs();
            m_exports.loadHouseListWidget(this, &m_tabs, &m_books[qBound(0, k, 3)], k, 0);
        });
    }
    QTreeWidgetItem *embedded = group(QStringLiteral("房源本（嵌入）"));
    for (int kind = 0; kind < 4; ++kind) {
        addEntry(embedded, QString::fromUtf8(kBookTitles[kind]), QStringLiteral("loadHouseListWidget_2"), kind,
                 [this](int k) {
                     showStack();
                     m_lastListSlot = &m_embeddedBooks[qBound(0, k, 3)];
                     m_exports.loadHouseListWidget_2(this, &m_stack, m_lastListSlot, k, 0);
                 });
    }
    QTreeWidgetItem *work = group(QStringLiteral("工作清单"));
    // The three worklists share one page: each call switches it to its own list.
    addEntry(work, QStringLiteral("待处理"), QStringLiteral("loadNeedDealHouseList"), 0, [this](int k) {
        showStack();
        m_lastListSlot = &m_workPage;
        m_exports.loadNeedDealHouseList(this, &m_stack, &m_workPage, k);
    });
    addEntry(work, QStringLiteral("待审核房源"), QStringLiteral("loadNeedReviewHouseList"), 0, [this](int k) {
        showStack();
        m_lastListSlot = &m_workPage;
        m_exports.loadNeedReviewHouseList(this, &m_stack, &m_workPage, k);
    });
    addEntry(work, QStringLiteral("待审核"), QStringLiteral("loadNeedXieZuoHouseList"), 0, [this](int k) {
        showStack();
        m_lastListSlot = &m_workPage;
        m_exports.loadNeedXieZuoHouseList(this, &m_stack, &m_workPage, k);
    });
    addEntry(work, QStringLiteral("维护人即将到期"), QStringLiteral("loadWeiHuHouseList"), 0, [this](int flag) {
        showStack();
        m_exports.loadWeiHuHouseList(this, &m_stack, &m_weihuPage, flag);
    });
    addEntry(work, QStringLiteral("举报审核"), QStringLiteral("loadJubaoReviewHouseList"), 0, [this](int) {
        showStack();
        m_exports.loadJubaoReviewHouseList(this, &m_stack, &m_reportPage);
    });
    QTreeWidgetItem *refresh = group(QStringLiteral("刷新"));
    addEntry(refresh, QStringLiteral("刷新房源列表"), QStringLiteral("houseListRefresh"), 0,
             [this](int) { m_exports.houseListRefresh(m_lastListSlot); });
    addEntry(refresh, QStringLiteral("刷新维护人清单"), QStringLiteral("weihuListRefresh"), 0,
             [this](int) { m_exports.weihuListRefresh(&m_weihuPage); });
    addEntry(refresh, QStringLiteral("刷新举报审核"), QStringLiteral("reportListRefresh"), 0,
             [this](int) { m_exports.reportListRefresh(&m_reportPage); });
    QTreeWidgetItem *entry = group(QStringLiteral("录入"));
    addEntry(entry, QStringLiteral("添加出售"), QStringLiteral("addNewSaleHouse"), 0,
             [this](int) { m_exports.addNewSaleHouse(this); });
    addEntry(entry, QStringLiteral("添加出租"), QStringLiteral("addNewRentHouse"), 0,
             [this](int) { m_exports.addNewRentHouse(this); });
    addEntry(entry, QStringLiteral("出售房源推送至联卖"), QStringLiteral("addSaleHouse"), -1, [this](int id) {
        m_exports.addSaleHouse(this, demoRecord(id, 0), &HostWindow::pluginCallback, &kAddSaleContext);
    });
    addEntry(entry, QStringLiteral("出租房源推送至联卖"), QStringLiteral("addRentHouse"), -1, [this](int id) {
        m_exports.addRentHouse(this, demoRecord(id, 1), &HostWindow::pluginCallback, &kAddRentContext);
    });
    QTreeWidgetItem *house = group(QStringLiteral("房源"));
    addEntry(house, QStringLiteral("打开房源（嵌入）"), QStringLiteral("loadHouseDetail"), -1,
             [this](int id) { openDetail(id); });
    addEntry(house, QStringLiteral("打开房源（弹窗）"), QStringLiteral("loadHouseBookDetail"), -1, [this](int id) {
        m_exports.loadHouseBookDetail(this, id, 0, 1, &HostWindow::pluginCallback, &kBookDetailContext);
    });
    QTreeWidgetItem *settings = group(QStringLiteral("设置"));
    addEntry(settings, QStringLiteral("房源本设置"), QStringLiteral("showHouseBookSet"), 0,
             [this](int) { m_exports.showHouseBookSet(this, &HostWindow::pluginCallback, &kSettingsContext); });
    addEntry(settings, QStringLiteral("权限设置"), QStringLiteral("initAutuView"), 0, [this](int) {
        showStack();
        m_exports.initAutuView(this, m_stack, &m_permissionPage, m_ranges, &HostWindow::pluginCallback,
                               &kPermissionContext);
    });
    addEntry(settings, QStringLiteral("插件版本"), QStringLiteral("getVersion"), 0, [this](int) {
        showStatus(QStringLiteral("getVersion → %1").arg(m_exports.getVersion()));
    });
    connect(m_navigation, &QTreeWidget::itemClicked, this, &HostWindow::runEntry);
}

void HostWindow::addEntry(QTreeWidgetItem *group, const QString &title, const QString &exportName, int defaultArg,
                          std::function<void(int)> run)
{
    auto *item = new QTreeWidgetItem(group, {title});
    item->setToolTip(0, exportName);
    item->setData(0, Qt::UserRole, m_entries.size());
    m_entries.append({exportName, defaultArg, std::move(run)});
}

void HostWindow::runEntry(QTreeWidgetItem *item)
{
    const QVariant index = item->data(0, Qt::UserRole);
    if (!index.isValid())
        return;
    const NavEntry &entry = m_entries.at(index.toInt());
    // Entries without a default argument take the listing id from the id box.
    const int arg = entry.defaultArg < 0 ? m_idBox->value() : entry.defaultArg;
    // Announced first: an export may open a modal box and only return once it is closed.
    emit exportCalled(entry.exportName);
    entry.run(arg);
}

bool HostWindow::openExport(const QString &name, int arg)
{
    // The entry of that export whose own argument matches (the book of that kind), else its first.
    int index = -1;
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).exportName != name)
            continue;
        if (index < 0 || (arg >= 0 && m_entries.at(i).defaultArg == arg))
            index = i;
    }
    if (index < 0)
        return false;
    const NavEntry &entry = m_entries.at(index);
    if (entry.defaultArg < 0 && arg >= 0)
        m_idBox->setValue(arg);
    const int value = arg >= 0 ? arg : (entry.defaultArg < 0 ? m_idBox->value() : entry.defaultArg);
    for (QTreeWidgetItemIterator it(m_navigation); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole) == QVariant(index))
            m_navigation->setCurrentItem(*it);
    }
    emit exportCalled(name);
    entry.run(value);
    return true;
}

void HostWindow::openDetail(int houseId)
{
    showStack();
    m_detailId = houseId;
    const QJsonObject request{{QStringLiteral("id"), houseId}, {QStringLiteral("hidePage"), false}};
    m_exports.loadHouseDetail(this, m_stack, &m_detailPage,
                              QString::fromUtf8(QJsonDocument(request).toJson(QJsonDocument::Compact)),
                              &HostWindow::pluginCallback, &kDetailContext);
}

HouseMessage_DataSqlTable::HouseMessageData HostWindow::demoRecord(int houseId, int types) const
{
    // A listing of the host's own book, as the host hands it over for publishing.
    HouseMessage_DataSqlTable::HouseMessageData record;
    record.id = houseId;
    record.types = types;
    record.userphone = DataCenter::UserPhoneNumber;
    record.room = 2;
    record.hall = 1;
    record.floors = 6;
    record.allfloors = 18;
    record.builtuparea = 89.5;
    record.price = types == 0 ? 128 : 2600;
    return record;
}

void HostWindow::showTabs()
{
    m_area->setCurrentWidget(m_tabs);
}

void HostWindow::showStack()
{
    m_area->setCurrentWidget(m_stack);
}

void HostWindow::showStatus(const QString &text)
{
    m_statusLine->setText(text);
}

QString HostWindow::statusText() const
{
    return m_statusLine->text();
}

bool HostWindow::syncRunning()
{
    return SyncStateLabel::syncRunning();
}

void HostWindow::updateSyncState()
{
    const bool running = syncRunning();
    m_syncLabel->refresh();
    m_syncBar->setRange(0, running ? 0 : 1);
    m_syncBar->setValue(running ? 0 : 1);
}

void HostWindow::listenToSignalHub()
{
    CommonSignalTool *hub = CommonSignalTool::Instance();
    connect(hub, &CommonSignalTool::lostLogin, this, [this](const QVariant &value, QObject *) {
        showStatus(QStringLiteral("登录失效：%1").arg(value.toString()));
    });
    connect(hub, &CommonSignalTool::reviceMsg, this, [this](const QString &type, const QVariant &value, QObject *) {
        showStatus(QStringLiteral("服务器消息 %1：%2").arg(type, value.toString()));
    });
    connect(hub, &CommonSignalTool::baseSqlReq, this, [this](int type, const QVariant &, QObject *) {
        if (type == kSyncProgressState)
            return;  // the sync label counts the pages
        showStatus(QStringLiteral("插件请求刷新基础数据 %1").arg(type));
    });
}

void HostWindow::pluginCallback(QString message, void *context)
{
    const auto *tag = static_cast<const CallbackContext *>(context);
    const QString name = tag ? QString::fromLatin1(tag->exportName) : QStringLiteral("?");
    qInfo().noquote() << "callback" << name << message;
    if (HostWindow *window = windowForCallbacks())
        window->receive(name, message);
}

void HostWindow::receive(const QString &exportName, const QString &message)
{
    showStatus(QStringLiteral("%1 回调：%2").arg(exportName, message));
    const QJsonDocument doc = QJsonDocument::fromJson(message.toUtf8());
    if (exportName == QLatin1String("initAutuView") && doc.isArray()) {
        m_ranges.clear();
        for (const QJsonValue &v : doc.array())
            m_ranges.append(v.toObject().toVariantMap());
        return;
    }
    if (exportName != QLatin1String("loadHouseDetail") || !doc.isObject())
        return;
    const QJsonObject object = doc.object();
    const QString type = object.value(QStringLiteral("type")).toString();
    // The detail window asks the host to move; the host decides which listing comes next.
    if (type == QLatin1String("loadHouseId"))
        QTimer::singleShot(0, this, [this, id = object.value(QStringLiteral("id")).toInt()] { openDetail(id); });
    else if (type == QLatin1String("close"))
        showTabs();
}
