#include "list/syncstatehint.h"

#include "sql/booksyncstatus.h"

namespace SyncStateHint {

QString html(const QString &richText)
{
    return QStringLiteral("<p style=\"font-size:14px;\">%1</p>").arg(richText);
}

QString emptyText(bool isJointSale, const QString &finished)
{
    const BookSyncStatus *status = BookSyncStatus::instance();
    switch (status->state(isJointSale)) {
    case BookSyncStatus::Failed:
        return html(QStringLiteral("房源同步失败：%1<br/>没有可显示的房源，请检查网络后重试。")
                        .arg(status->lastError(isJointSale).toHtmlEscaped()));
    case BookSyncStatus::Running:
        return html(QStringLiteral("正在从服务器同步房源，请稍候..."));
    default:
        return finished;
    }
}

} // namespace SyncStateHint
