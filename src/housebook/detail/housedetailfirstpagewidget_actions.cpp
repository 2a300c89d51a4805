// The first page's actions: reveals and their statistics, the contact list, the status menu,
// collecting, turning public, the counts with their one-time refresh, the map, the roles.
#include "detail/housedetailfirstpagewidget.h"

#include "datacenter.h"
#include "detail/housedetailfirstpagetexts.h"
#include "detail/listingmap.h"
#include "detail/xiezuoroleswidget.h"
#include "detail/yinghaolistitemview.h"
#include "platform/housebookcodes.h"
#include "portal/housebookxinfulipushobject.h"
#include "services/listingchangeservice.h"
#include "services/listingdetailservice.h"
#include "sql/housebookset_sqltable.h"
#include "sql/houserecord.h"
#include "widgets/alertwidget.h"

#include <QApplication>
#include <QClipboard>
#include <QIcon>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kHiddenContact = QStringLiteral("*************");
const QString kCurrentStatusIcon = QStringLiteral("://res/icon_tag_finished.png");

// The statuses of "修改状态": the grades, then the closing states of the listing's kind.
QStringList statusNames(bool rent)
{
    QStringList names{QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D"),
                      QStringLiteral("无效")};
    names << (rent ? QStringLiteral("已租") : QStringLiteral("已售"));
    names << QStringLiteral("成交") << QStringLiteral("已定") << QStringLiteral("电话无效");
    names << (rent ? QStringLiteral("暂不租") : QStringLiteral("暂不售"));
    return names;
}

// The owner contacts of a record: a JSON list of objects (name, level, phone, id) or of
// texts; anything else is one text.
QString textOf(const QVariantMap &entry, const char *key)
{
    return entry.value(QLatin1String(key)).toString();
}

// An entry written by an agent on the owner's behalf is marked with the level "经纪人".
QString contactText(const QVariantMap &entry)
{
    const QString level = textOf(entry, "level");
    if (textOf(entry, "name").isEmpty() && level.isEmpty())
        return textOf(entry, "phone");
    if (level == QStringLiteral("经纪人"))
        return QStringLiteral("经纪人-%1 %2").arg(textOf(entry, "name"), textOf(entry, "phone"));
    // A contact stored without a relation reads "李先生 138…", not "李先生() 138…".
    if (level.isEmpty())
        return QStringLiteral("%1 %2").arg(textOf(entry, "name"), textOf(entry, "phone"));
    return QStringLiteral("%1(%2) %3").arg(textOf(entry, "name"), level, textOf(entry, "phone"));
}

} // namespace

// ---- reveals ------------------------------------------------------------------------------

void HouseDetailFirstPageWidget::watchTongJi(int itemtype)
{
    if (m_record.id > 0)
        m_service->recordReveal(m_record.id, m_rent, itemtype);
}

void HouseDetailFirstPageWidget::revealed(int itemtype)
{
    if (itemtype == ListingDetailService::RoomItem)
        showRoomMsg();
    else if (itemtype == ListingDetailService::FloorItem)
        showFloorMsg();
    else
        showLinkPeople();
}

void HouseDetailFirstPageWidget::showRoomMsg()
{
    m_roomShown = true;
    fillFacts();
    emit watchKeyMessage();
}

void HouseDetailFirstPageWidget::hideRoomMsg()
{
    m_roomShown = false;
    fillFacts();
}

void HouseDetailFirstPageWidget::showFloorMsg()
{
    m_floorShown = true;
    fillFacts();
    emit watchKeyMessage();
}

void HouseDetailFirstPageWidget::hideFloorMsg()
{
    m_floorShown = false;
    fillFacts();
}

void HouseDetailFirstPageWidget::hiddenLinkPeopleMessage()
{
    if (m_contactLabel->text() == kHiddenContact) {
        watchTongJi(ListingDetailService::ContactItem);
        return;
    }
    clearYinHaoRows();
    m_contactLabel->setText(kHiddenContact);
    m_contactButton->setText(QStringLiteral("显示"));
}

// The listing hides its owner's phone behind the exclusive agent when it is an exclusive
// listing with an agent named (the store then keeps no owner contacts for other agents).
void HouseDetailFirstPageWidget::showLinkPeople()
{
    const bool hiddenNumbers =
        HouseBookSet_SqlTable(nullptr, HouseBookCodes::kJointSale).bookSetValue(QStringLiteral("yinhao_mode")).toInt() != 0;
    clearYinHaoRows();
    if (hiddenNumbers) {
        const QList<QVariantMap> entries = HouseRecord::contactEntries(m_record.contacts);
        for (int i = 0; i < entries.size(); ++i) {
            const QVariantMap &entry = entries.at(i);
            auto *row = new YingHaoListItemView(m_yinHaoList);
            const QString itemId = entry.contains(QStringLiteral("id")) ? textOf(entry, "id") : QString::number(i);
            row->setData(textOf(entry, "name"), textOf(entry, "phone"), itemId, m_rent, getYinsifangwenRealValue());
            m_yinHaoList->layout()->addWidget(row);
        }
        m_yinHaoList->show();
        m_contactLabel->clear();
    } else {
        m_contactLabel->setText(contactTexts().join(QLatin1Char('\n')));
    }
    m_contactButton->setText(QStringLiteral("隐藏"));
    emit watchKeyMessage();
}

QStringList HouseDetailFirstPageWidget::contactTexts() const
{
    const bool hideOwnerPhone = m_record.hbdujia == 1;
    const auto &agent = m_record.dujiaren;
    if (hideOwnerPhone && (!agent.name.isEmpty() || !agent.phone.isEmpty()))
        return {QStringLiteral("独家代理人-%1 %2").arg(agent.name, agent.phone)};
    QStringList texts;
    for (const QVariantMap &entry : HouseRecord::contactEntries(m_record.contacts))
        texts << contactText(entry);
    if (texts.isEmpty())
        texts << QStringLiteral("暂无");
    return texts;
}

void HouseDetailFirstPageWidget::clearYinHaoRows()
{
    for (auto *row : m_yinHaoList->findChildren<YingHaoListItemView *>(QString(), Qt::FindDirectChildrenOnly))
        delete row;
    m_yinHaoList->hide();
}

// A listing under privacy protection shows real numbers only to the agents in its phone range.
bool HouseDetailFirstPageWidget::getYinsifangwenRealValue() const
{
    if (m_record.yinsifangwen != 1)
        return true;
    return !DataCenter::UserPhoneNumber.isEmpty() && m_record.phonerange.contains(DataCenter::UserPhoneNumber);
}

// ---- status menu --------------------------------------------------------------------------

void HouseDetailFirstPageWidget::showMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("operationMenu"));
    }
    m_menu->clear();
    for (QMenu *old : m_menu->findChildren<QMenu *>(QString(), Qt::FindDirectChildrenOnly))
        old->deleteLater();
    if (m_operations.contains(QStringLiteral("编辑")))
        connect(m_menu->addAction(QStringLiteral("编辑")), &QAction::triggered, this, [this] { emit houseEdit(false); });
    if (m_operations.contains(QStringLiteral("状态"))) {
        auto *sub = new QMenu(QStringLiteral("修改状态"), m_menu);
        sub->setObjectName(QStringLiteral("statusMenu"));
        const int id = m_record.id;
        for (const QString &name : statusNames(m_rent)) {
            QAction *action = sub->addAction(QStringLiteral("  ") + name);
            if (name == m_record.newstate)
                action->setIcon(QIcon(kCurrentStatusIcon));
            const QString text = action->text();
            connect(action, &QAction::triggered, this, [this, id, text] { modifyHouseStatus(id, text); });
        }
        m_menu->addMenu(sub);
    }
    if (isVisible() && !m_menu->isEmpty())
        m_menu->popup(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height())));
}

void HouseDetailFirstPageWidget::modifyHouseStatus(int id, QString txt)
{
    m_changes->changeStatus(id, txt.trimmed());
}

void HouseDetailFirstPageWidget::statusChanged(int id, const QString &status)
{
    if (id != m_record.id)
        return;
    m_record.newstate = status;
    m_statusLabel->setText(status);
}

void HouseDetailFirstPageWidget::takeDownFromPortal(int id, const QString &reason)
{
    (new HouseBookXinfuLiPushObject)->xiaJiaData(id, reason);
}

// ---- buttons ------------------------------------------------------------------------------

void HouseDetailFirstPageWidget::collocteHouse()
{
    if (m_record.id > 0)
        m_service->toggleCollect(m_record.id, m_rent, m_collected == 1);
}

void HouseDetailFirstPageWidget::collectChanged(int id, bool collected)
{
    if (id != m_record.id)
        return;
    m_collected = collected ? 1 : 0;
    m_record.islike = m_collected;
    const QString icon = collected ? QStringLiteral("://res/shoucang.png") : QStringLiteral("://res/yc1.png");
    m_collectButton->setText(collected ? QStringLiteral("取消收藏") : QStringLiteral("收藏"));
    m_collectButton->setIcon(QIcon(icon));
    m_collectButton->setProperty("iconPath", icon);
}

void HouseDetailFirstPageWidget::changeToPublicHouse()
{
    if (m_record.id <= 0)
        return;
    auto *box = new AlertWidget(QStringLiteral("您确定要将该房源转为公盘房源吗？"), AlertWidget::WarningIcon,
                                AlertWidget::SureAndCancle);
    const int id = m_record.id;
    connect(box, &AlertWidget::sureClick, this, [this, id] { m_service->turnPublic(id); });
}

void HouseDetailFirstPageWidget::turnedPublic(int id)
{
    if (id != m_record.id)
        return;
    m_record.stype = 0;
    fillFacts();
    fillButtons();
}

void HouseDetailFirstPageWidget::fenPeiClick()
{
    emit fenPei();
}

void HouseDetailFirstPageWidget::followSuccessDeal()
{
    m_followed = true;
    m_service->fetchChangedListings();
    emit followSuccess();
}

void HouseDetailFirstPageWidget::copyNumber()
{
    if (m_record.id > 0)
        QApplication::clipboard()->setText(QString::number(m_record.id));
}

// ---- counts, map, roles -------------------------------------------------------------------

void HouseDetailFirstPageWidget::downloadPhotosVideoNum()
{
    if (m_record.id > 0)
        m_service->fetchCounts(m_record.id);
}

// A listing changed on the server is fetched once per opening; the reload that follows
// carries `refreshed` and fetches nothing.
void HouseDetailFirstPageWidget::dealPhotosVideo(QJsonValue value)
{
    const ListingDetailService::Counts counts = ListingDetailService::countsOf(value);
    m_countsLabel->setText(FirstPageTexts::countsText(counts.photos, counts.videos));
    if (m_refreshed || m_record.id <= 0 || m_downloadedId == m_record.id)
        return;
    if (FirstPageTexts::updateTimeDiffers(counts.lastTime, m_record.lasttime)) {
        m_downloadedId = m_record.id;
        m_service->refreshOneListing(m_record.id);
    }
}

void HouseDetailFirstPageWidget::showHouseMap()
{
    ListingMap::open(window(), m_record);
}

void HouseDetailFirstPageWidget::setXieZuoData(const Holder &add, const Holder &modify, const Holder &weituo,
                                               const Holder &shikan, const Holder &key, const Holder &daili,
                                               const Holder &chenjiao, int rate)
{
    m_roles->setRoles({add, modify, weituo, shikan, key, daili, chenjiao}, !m_record.heyanCode.isEmpty(), rate);
}
