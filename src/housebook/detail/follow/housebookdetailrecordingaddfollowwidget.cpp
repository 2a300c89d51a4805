#include "detail/follow/housebookdetailrecordingaddfollowwidget.h"

#include "services/followservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

HouseBookDetailRecordingAddFollowWidget::HouseBookDetailRecordingAddFollowWidget(int recordId, QWidget *parent)
    : QWidget(parent)
    , m_recordId(recordId)
    , m_service(new FollowService(this))
    , m_edit(new QPlainTextEdit(this))
    , m_overlay(new BusyOverlay(this))
{
    auto *layout = new QVBoxLayout(this);
    m_edit->setObjectName(QStringLiteral("contentEdit"));
    m_edit->setPlaceholderText(QStringLiteral("请输入跟进内容"));
    layout->addWidget(m_edit, 1);
    auto *submit = new QPushButton(QStringLiteral("提交"), this);
    submit->setObjectName(QStringLiteral("submitButton"));
    layout->addWidget(submit, 0, Qt::AlignRight);
    connect(submit, &QPushButton::clicked, this, &HouseBookDetailRecordingAddFollowWidget::submitData);
    connect(m_service, &FollowService::finished, m_overlay, &BusyOverlay::stop);
    connect(m_service, &FollowService::followCallSaved, this, [this](int, const QString &text) {
        emit submitSuccess(text);
        emit closeWidget();
    });
}

void HouseBookDetailRecordingAddFollowWidget::submitData()
{
    const QString text = m_edit->toPlainText();
    const QString refusal = FollowService::contentRefusal(text);
    if (!refusal.isEmpty()) {
        AlertWidget::warning(refusal);
        return;
    }
    m_overlay->start(QStringLiteral("提交跟进内容中..."));
    m_service->followCall(m_recordId, text);
}
