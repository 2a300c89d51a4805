#include "widgets/loadfailureview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

LoadFailureView::LoadFailureView(const QString &prefix, QWidget *parent)
    : QWidget(parent)
    , m_prefix(prefix)
    , m_text(new QLabel(this))
{
    m_text->setObjectName(QStringLiteral("failureLabel"));
    m_text->setStyleSheet(QStringLiteral("color:#ff0000;"));
    m_text->setWordWrap(true);
    auto *retry = new QPushButton(QStringLiteral("重试"), this);
    retry->setObjectName(QStringLiteral("retryButton"));
    connect(retry, &QPushButton::clicked, this, &LoadFailureView::retryRequested);
    auto *layout = new QHBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(m_text);
    layout->addWidget(retry);
    layout->addStretch(1);
    hide();
}

void LoadFailureView::showReason(const QString &reason)
{
    m_text->setText(m_prefix + (reason.isEmpty() ? QStringLiteral("服务器没有应答") : reason));
    show();
}

QString LoadFailureView::text() const
{
    return m_text->text();
}
