#pragma once
// A button that stands for one choice made elsewhere (a department, a person, a contract,
// a date): it shows the chosen text, or its prompt while nothing is chosen, and keeps the
// chosen entry's id for the post.
#include <QPushButton>

class EvidenceChoiceButton : public QPushButton
{
    Q_OBJECT
public:
    EvidenceChoiceButton(const QString &objectName, const QString &prompt, QWidget *parent = nullptr);

    void setChoice(const QString &id, const QString &text);
    void clearChoice();
    bool hasChoice() const { return !m_text.isEmpty(); }
    QString choiceId() const { return m_id; }
    QString choiceText() const { return m_text; }

private:
    QString m_prompt;
    QString m_id;
    QString m_text;
};
