#include "syncstatelabel.h"

#include "commonsignaltool.h"
#include "datacenter.h"

namespace {

constexpr int kListingSync = 1;
constexpr int kSucceeded = 1;
constexpr int kFailed = 2;
constexpr int kProgress = 5;

} // namespace

SyncStateLabel::SyncStateLabel(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("syncState"));
    connect(CommonSignalTool::Instance(), &CommonSignalTool::baseSqlReq, this,
            [this](int state, const QVariant &value, QObject *) { hear(state, value); });
    refresh();
}

bool SyncStateLabel::syncRunning()
{
    for (char c : DataCenter::refreshStateOfDB) {
        if (c != 0)
            return true;
    }
    return false;
}

void SyncStateLabel::hear(int state, const QVariant &value)
{
    if (state == kSucceeded && value.toInt() == kListingSync) {
        m_outcome = Outcome::Succeeded;
        m_reason.clear();
    } else if (state == kFailed && value.toMap().value(QStringLiteral("type")).toInt() == kListingSync) {
        m_outcome = Outcome::Failed;
        m_reason = value.toMap().value(QStringLiteral("message")).toString();
    } else if (state == kProgress && value.toMap().value(QStringLiteral("type")).toInt() == kListingSync) {
        const QVariantMap progress = value.toMap();
        m_progress = QStringLiteral("同步房源中：第%1页，已写入%2条")
                         .arg(progress.value(QStringLiteral("pages")).toInt())
                         .arg(progress.value(QStringLiteral("listings")).toInt());
    }
    // Starts and ends move the sync flags too.
    refresh();
}

void SyncStateLabel::refresh()
{
    if (syncRunning()) {
        setText(m_progress.isEmpty() ? QStringLiteral("房源同步中…") : m_progress);
        return;
    }
    m_progress.clear();
    if (m_outcome == Outcome::Succeeded)
        setText(QStringLiteral("房源已同步"));
    else if (m_outcome == Outcome::Failed)
        setText(m_reason.isEmpty() ? QStringLiteral("房源同步失败") : QStringLiteral("房源同步失败：%1").arg(m_reason));
    else
        clear();
}
