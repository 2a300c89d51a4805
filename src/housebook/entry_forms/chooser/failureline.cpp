#include "entry_forms/chooser/failureline.h"

#include "entry_forms/chooser/chooserstyle.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

FailureLine::FailureLine(QWidget *parent)
    : QWidget(parent)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("widget_error"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_text->setObjectName(QStringLiteral("label_error"));
    m_text->setStyleSheet(ChooserStyle::errorText());
    m_text->setWordWrap(true);
    layout->addWidget(m_text, 1);
    auto *retry = new QPushButton(QStringLiteral("重试"), this);
    retry->setObjectName(QStringLiteral("pushButton_retry"));
    retry->setCursor(Qt::PointingHandCursor);
    retry->setStyleSheet(ChooserStyle::plainButton());
    connect(retry, &QPushButton::clicked, this, [this] {
        hide();
        emit this->retry();
    });
    layout->addWidget(retry);
    hide();
}

void FailureLine::showFailure(const QString &text)
{
    m_text->setText(text);
    show();
}

QString FailureLine::text() const
{
    return isHidden() ? QString() : m_text->text();
}
