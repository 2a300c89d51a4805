#include "separation/evidencechoicebutton.h"

EvidenceChoiceButton::EvidenceChoiceButton(const QString &objectName, const QString &prompt, QWidget *parent)
    : QPushButton(prompt, parent)
    , m_prompt(prompt)
{
    setObjectName(objectName);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral("text-align: left; padding: 4px 8px;"));
}

void EvidenceChoiceButton::setChoice(const QString &id, const QString &text)
{
    m_id = id;
    m_text = text.trimmed();
    setText(m_text.isEmpty() ? m_prompt : m_text);
}

void EvidenceChoiceButton::clearChoice()
{
    setChoice(QString(), QString());
}
