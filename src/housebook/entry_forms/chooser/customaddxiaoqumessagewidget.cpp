#include "entry_forms/chooser/customaddxiaoqumessagewidget.h"

#include "entry_forms/chooser/chooserstyle.h"
#include "widgets/alertwidget.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CustomAddXiaoQuMessageWidget::CustomAddXiaoQuMessageWidget(QWidget *parent, const QStringList &suffixes)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CustomAddXiaoQuMessageWidget"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *label = new QLabel(QStringLiteral("手动添加："), this);
    label->setStyleSheet(ChooserStyle::hint());
    layout->addWidget(label);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("lineEdit_custom"));
    m_edit->setPlaceholderText(QStringLiteral("请输入添加内容"));
    m_edit->setStyleSheet(ChooserStyle::edit());
    layout->addWidget(m_edit, 1);
    m_suffix = new QComboBox(this);
    m_suffix->setObjectName(QStringLiteral("comboBox_customUnit"));
    m_suffix->addItems(suffixes);
    m_suffix->setVisible(!suffixes.isEmpty());
    layout->addWidget(m_suffix);
    auto *next = new QPushButton(QStringLiteral("下一步"), this);
    next->setObjectName(QStringLiteral("pushButton_next"));
    next->setStyleSheet(ChooserStyle::primaryButton());
    layout->addWidget(next);

    connect(m_edit, &QLineEdit::textChanged, this, &CustomAddXiaoQuMessageWidget::textValueChange);
    connect(m_edit, &QLineEdit::returnPressed, this, &CustomAddXiaoQuMessageWidget::clickChoose);
    connect(next, &QPushButton::clicked, this, &CustomAddXiaoQuMessageWidget::clickChoose);
}

QString CustomAddXiaoQuMessageWidget::text() const
{
    return m_edit->text();
}

// Keeps the entry free of line breaks pasted in with the value.
void CustomAddXiaoQuMessageWidget::textValueChange(const QString &txt)
{
    QString clean = txt;
    clean.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    if (clean != txt)
        m_edit->setText(clean);
}

void CustomAddXiaoQuMessageWidget::getInputFocus()
{
    m_edit->setFocus(Qt::OtherFocusReason);
    m_edit->selectAll();
}

void CustomAddXiaoQuMessageWidget::clickChoose()
{
    const QString content = m_edit->text().trimmed();
    if (content.isEmpty()) {
        AlertWidget::warning(QStringLiteral("请输入添加内容！"));
        return;
    }
    const QString suffix = m_suffix->count() > 0 ? m_suffix->currentText() : QString();
    emit clickItem(content, suffix == QStringLiteral("无") ? QString() : suffix);
}
