#include "detail/photos/housebookphotoreviewrefusewidget.h"

#include "widgets/alertwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

HouseBookPhotoReviewRefuseWidget::HouseBookPhotoReviewRefuseWidget(QWidget *parent)
    : QWidget(parent)
{
    auto *label = new QLabel(QStringLiteral("驳回原因："), this);
    label->setObjectName(QStringLiteral("label_reason"));
    m_reason = new QPlainTextEdit(this);
    m_reason->setObjectName(QStringLiteral("textEdit_reason"));
    m_reason->setPlaceholderText(QStringLiteral("请输入驳回原因"));
    m_reason->setMinimumSize(360, 120);
    auto *submit = new QPushButton(QStringLiteral("提交"), this);
    submit->setObjectName(QStringLiteral("submitButton"));
    submit->setFixedSize(90, 32);
    submit->setStyleSheet(QStringLiteral("background: rgb(24,137,240); color: white; border-radius: 4px;"));
    connect(submit, &QPushButton::clicked, this, &HouseBookPhotoReviewRefuseWidget::submit);

    auto *row = new QHBoxLayout;
    row->addWidget(label, 0, Qt::AlignTop);
    row->addWidget(m_reason, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addLayout(row);
    layout->addWidget(submit, 0, Qt::AlignRight);
}

// A rejection without a reason tells the agent nothing, so an empty box is refused.
void HouseBookPhotoReviewRefuseWidget::submit()
{
    const QString reason = m_reason->toPlainText().trimmed();
    if (reason.isEmpty()) {
        AlertWidget::warning(QStringLiteral("请输入驳回原因"));
        return;
    }
    emit backTxt(reason);
}
