#include "widgets/reasonbox.h"

#include "widgets/alertwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ReasonBox::ReasonBox(const QString &caption, const QString &emptyWarning, QWidget *parent)
    : QWidget(parent)
    , m_emptyWarning(emptyWarning)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("label_reason"));
    m_reason = new QPlainTextEdit(this);
    m_reason->setObjectName(QStringLiteral("textEdit_reason"));
    m_reason->setPlaceholderText(emptyWarning);
    m_reason->setMinimumSize(360, 120);
    m_submit = new QPushButton(QStringLiteral("提交"), this);
    m_submit->setObjectName(QStringLiteral("submitButton"));
    m_submit->setFixedSize(90, 32);
    m_submit->setStyleSheet(QStringLiteral("background: rgb(24,137,240); color: white; border-radius: 4px;"));
    connect(m_submit, &QPushButton::clicked, this, &ReasonBox::submit);

    auto *row = new QHBoxLayout;
    row->addWidget(label, 0, Qt::AlignTop);
    row->addWidget(m_reason, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->addLayout(row);
    layout->addWidget(m_submit, 0, Qt::AlignRight);
}

void ReasonBox::setSubmitText(const QString &text)
{
    m_submit->setText(text);
}

void ReasonBox::submit()
{
    const QString reason = m_reason->toPlainText().trimmed();
    if (reason.isEmpty()) {
        AlertWidget::warning(m_emptyWarning);
        return;
    }
    emit submitted(reason);
}
