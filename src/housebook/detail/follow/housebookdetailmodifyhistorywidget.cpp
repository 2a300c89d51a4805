#include "detail/follow/housebookdetailmodifyhistorywidget.h"

#include "detail/follow/followrowparts.h"
#include "detail/follow/replyfields.h"
#include "detail/follow/rowlistarea.h"
#include "services/followservice.h"
#include "widgets/busyoverlay.h"

#include <QLabel>

HouseBookDetailModifyHistoryWidget::HouseBookDetailModifyHistoryWidget(QWidget *parent)
    : FollowPagedPage(QStringLiteral("当前已经是第一页了，无法向上翻页了！"), QStringLiteral("当前已经是最后一页了，无法向下翻页了！"),
                      FollowService::kHistoryPageSize, QStringLiteral("暂无修改记录"), parent)
{
    connect(pager(), &PagedListController::pageRequested, this,
            &HouseBookDetailModifyHistoryWidget::download_modifyHistory);
    connect(service(), &FollowService::modifyHistoryLoaded, this,
            &HouseBookDetailModifyHistoryWidget::deal_modifyHistoryList);
}

void HouseBookDetailModifyHistoryWidget::showHouse(int id, bool rent)
{
    setListing(id, rent);
    m_lines.clear();
    showModifyList();
    download_modifyHistory();
}

QStringList HouseBookDetailModifyHistoryWidget::linesOf(const QJsonValue &data)
{
    QStringList lines;
    for (const QJsonObject &row : ReplyFields::rows(data)) {
        lines.append(QStringLiteral("%1(%2)：%3")
                         .arg(ReplyFields::text(row.value(QStringLiteral("name"))),
                              ReplyFields::text(row.value(QStringLiteral("time"))),
                              ReplyFields::text(row.value(QStringLiteral("content")))));
    }
    return lines;
}

void HouseBookDetailModifyHistoryWidget::download_modifyHistory()
{
    if (houseId() <= 0)
        return;
    overlay()->start();
    service()->loadModifyHistory(houseId(), isRent(), page(), m_jointSale);
}

void HouseBookDetailModifyHistoryWidget::deal_modifyHistoryList(QJsonValue resultValue)
{
    m_lines = linesOf(resultValue);
    pager()->setTotal(qMax(m_lines.size(), ReplyFields::field(resultValue, QStringLiteral("total"), m_lines.size())));
    showModifyList();
}

void HouseBookDetailModifyHistoryWidget::showModifyList()
{
    rowList()->clear();
    for (const QString &line : qAsConst(m_lines)) {
        auto *label = FollowRowParts::plainLabel(line, QStringLiteral("modifyRow"), nullptr);
        label->setWordWrap(true);
        label->setContentsMargins(10, 6, 10, 6);
        rowList()->addRow(label);
    }
    rowList()->finish();
}
