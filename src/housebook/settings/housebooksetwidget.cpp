#include "settings/housebooksetwidget.h"

#include "settings/housebookbasesetwidget.h"
#include "settings/housebookhighseperatesetwidget.h"
#include "settings/housebookitemsetwidget.h"
#include "settings/housebookrentsetwidget.h"
#include "settings/housebooksalesetwidget.h"
#include "platform/housebookcodes.h"
#include "services/housebooksettingsservice.h"
#include "sql/housebookset_sqltable.h"
#include "widgets/busyoverlay.h"
#include "widgets/alertwidget.h"
#include "widgets/commonaddwidget.h"
#include "widgets/namedwidgets.h"
#include "widgets/openpopup.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The left buttons, in the order of the pages they show.
const QList<QPair<QString, QString>> kPageButtons{
    {QStringLiteral("baseSetButton"), QStringLiteral("基本设置")},
    {QStringLiteral("saleSetButton"), QStringLiteral("出售房源")},
    {QStringLiteral("rentSetButton"), QStringLiteral("出租房源")},
    {QStringLiteral("itemSetButton"), QStringLiteral("类目管理")},
    {QStringLiteral("xieZuoSetButton"), QStringLiteral("团队协作")}};

} // namespace

HouseBookSetWidget::HouseBookSetWidget(QWidget *parent, int type) : QWidget(parent), m_type(type)
{
    buildUi();
    connectJobService();
    setCurrentPage(BasePage);
    refreshIfNeverDownloaded();
}

// Opened before the sign-in downloads have stored the company's settings, the pages would
// show blank values, and saving them would overwrite what the company set. The settings are
// fetched first, with the pages covered until they arrive.
void HouseBookSetWidget::refreshIfNeverDownloaded()
{
    if (!HouseBookSet_SqlTable(nullptr, HouseBookCodes::kJointSale).bookSet().isEmpty())
        return;
    auto *overlay = new BusyOverlay(m_stack);
    overlay->setObjectName(QStringLiteral("settingsRefreshOverlay"));
    overlay->start(QStringLiteral("加载设置中..."));
    connect(m_service, &HouseBookSettingsService::cachesRefreshed, overlay,
            [this, overlay](bool ok, const QString &reason) {
                overlay->stop();
                overlay->deleteLater();
                showRefreshed(ok, reason);
            });
    m_service->refreshCaches();
}

void HouseBookSetWidget::showRefreshed(bool ok, const QString &reason)
{
    if (!ok) {
        AlertWidget::warning(
            QStringLiteral("房源本设置下载失败：%1。页面显示的是本机保存的设置，请确认后再保存。").arg(reason));
        return;
    }
    m_basePage->showSet();
    m_salePage->showSet();
    m_rentPage->showSet();
    m_itemPage->showSet();
}

CommonAddWidget *HouseBookSetWidget::openSettings(QWidget *parent, int page)
{
    auto *settings = new HouseBookSetWidget(parent, 1);
    settings->setCurrentPage(page);
    CommonAddWidget *popup = openPopup(parent, PopupSize::Settings, QStringLiteral("房源本设置"), settings);
    connect(settings, &HouseBookSetWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    connect(settings, &HouseBookSetWidget::setSuccess, popup, [popup] {
        AlertWidget::tip(QStringLiteral("设置应用成功！"));
        popup->closeWidget();
    });
    return popup;
}

void HouseBookSetWidget::buildUi()
{
    m_stack = new QStackedWidget(this);
    m_stack->setObjectName(QStringLiteral("setStackedWidget"));
    m_basePage = new HouseBookBaseSetWidget(m_stack);
    connect(m_basePage, &HouseBookBaseSetWidget::setSuccess, this, &HouseBookSetWidget::setSuccess);
    connect(m_basePage, &HouseBookBaseSetWidget::closeWidget, this, &HouseBookSetWidget::closeWidget);
    m_stack->addWidget(m_basePage);
    m_salePage = new HouseBookSaleSetWidget(m_stack);
    addBookPage(m_salePage);
    m_rentPage = new HouseBookRentSetWidget(m_stack);
    addBookPage(m_rentPage);
    m_itemPage = new HouseBookItemSetWidget(m_stack);
    connect(m_itemPage, &HouseBookItemSetWidget::setSuccess, this, &HouseBookSetWidget::setSuccess);
    connect(m_itemPage, &HouseBookItemSetWidget::closeWidget, this, &HouseBookSetWidget::closeWidget);
    m_stack->addWidget(m_itemPage);
    m_stack->addWidget(buildXieZuoPage());

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    QPushButton *cancel = namedButton(QStringLiteral("cancelButton"), QStringLiteral("取消"), this);
    QPushButton *save = namedButton(QStringLiteral("saveButton"), QStringLiteral("保存设置"), this);
    connect(cancel, &QPushButton::clicked, this, &HouseBookSetWidget::closeWidget);
    connect(save, &QPushButton::clicked, this, &HouseBookSetWidget::submitModify);
    bottom->addWidget(cancel);
    bottom->addWidget(save);

    auto *right = new QVBoxLayout;
    right->addWidget(m_stack, 1);
    right->addLayout(bottom);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(buildNavigation());
    layout->addLayout(right, 1);
}

QWidget *HouseBookSetWidget::buildNavigation()
{
    auto *column = new QWidget(this);
    column->setFixedWidth(110);
    auto *layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    m_buttons = new QButtonGroup(this);
    for (int page = 0; page < kPageButtons.size(); ++page) {
        QPushButton *button = namedButton(kPageButtons.at(page).first, kPageButtons.at(page).second, column);
        button->setCheckable(true);
        m_buttons->addButton(button, page);
        layout->addWidget(button);
    }
    layout->addStretch();
    connect(m_buttons, &QButtonGroup::idClicked, this, &HouseBookSetWidget::childWidgetSwitch);
    return column;
}

// The sale or rent page: its outcome is the window's.
void HouseBookSetWidget::addBookPage(HouseBookBookSetPage *page)
{
    connect(page, &HouseBookBookSetPage::setSuccess, this, &HouseBookSetWidget::setSuccess);
    connect(page, &HouseBookBookSetPage::closeWidget, this, &HouseBookSetWidget::closeWidget);
    m_stack->addWidget(page);
}

QWidget *HouseBookSetWidget::buildXieZuoPage()
{
    m_xieZuoTabs = new QTabWidget(m_stack);
    m_xieZuoTabs->setObjectName(QStringLiteral("xieZuoTabWidget"));
    m_rulesPage = new HouseBookHighSeperateSetWidget(m_xieZuoTabs);
    connect(m_rulesPage, &HouseBookHighSeperateSetWidget::setSuccess, this, &HouseBookSetWidget::setSuccess);
    m_xieZuoTabs->addTab(m_rulesPage, QStringLiteral("分单规则"));
    m_xieZuoTabs->addTab(buildJobPage(), QStringLiteral("岗位权限"));
    return m_xieZuoTabs;
}

int HouseBookSetWidget::currentPage() const
{
    return m_stack->currentIndex();
}

void HouseBookSetWidget::childWidgetSwitch(int buttonId)
{
    setCurrentPage(buttonId);
}

void HouseBookSetWidget::setCurrentPage(int chooseIndex)
{
    if (chooseIndex < 0 || chooseIndex >= m_stack->count())
        return;
    m_stack->setCurrentIndex(chooseIndex);
    m_buttons->button(chooseIndex)->setChecked(true);
    // The jobs are fetched when the team page is first shown, not with every window.
    if (chooseIndex == XieZuoPage && !m_jobsRequested)
        loadjob();
}

void HouseBookSetWidget::submitModify()
{
    switch (currentPage()) {
    case BasePage:
        m_basePage->basic_message_submit();
        break;
    case XieZuoPage:
        if (m_xieZuoTabs->currentIndex() == JobAuthTab)
            saveJobAuth();
        else
            m_rulesPage->submit();
        break;
    case SalePage:
        m_salePage->sale_message_submit();
        break;
    case RentPage:
        m_rentPage->rent_message_submit();
        break;
    case ItemPage:
        m_itemPage->submit();
        break;
    default:
        break;
    }
}
