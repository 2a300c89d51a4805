#include "entry_forms/chooser/addnewloudongmessagewidget.h"

#include "entry_forms/chooser/chooserstyle.h"
#include "widgets/alertwidget.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

AddNewLouDongMessageWidget::AddNewLouDongMessageWidget(const QString &title, const QString &placeholder,
                                                       const QStringList &suffixes, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("AddNewLouDongMessageWidget"));
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(16);

    auto *hint = new QLabel(QStringLiteral("请输入要添加的内容"), this);
    hint->setObjectName(QStringLiteral("label_hint"));
    hint->setStyleSheet(ChooserStyle::hint());
    layout->addWidget(hint);

    auto *row = new QHBoxLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("lineEdit_name"));
    m_name->setPlaceholderText(placeholder);
    m_name->setStyleSheet(ChooserStyle::edit());
    row->addWidget(m_name, 1);
    m_suffix = new QComboBox(this);
    m_suffix->setObjectName(QStringLiteral("comboBox_unit"));
    m_suffix->addItems(suffixes);
    m_suffix->setVisible(!suffixes.isEmpty());
    m_suffix->setMinimumWidth(80);
    row->addWidget(m_suffix);
    layout->addLayout(row);
    layout->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setObjectName(QStringLiteral("pushButton_cancel"));
    cancel->setStyleSheet(ChooserStyle::plainButton());
    connect(cancel, &QPushButton::clicked, this, &AddNewLouDongMessageWidget::closeWidget);
    buttons->addWidget(cancel);
    auto *sure = new QPushButton(QStringLiteral("确定"), this);
    sure->setObjectName(QStringLiteral("pushButton_sure"));
    sure->setStyleSheet(ChooserStyle::primaryButton());
    connect(sure, &QPushButton::clicked, this, &AddNewLouDongMessageWidget::sureButtonClick);
    connect(m_name, &QLineEdit::returnPressed, this, &AddNewLouDongMessageWidget::sureButtonClick);
    buttons->addWidget(sure);
    layout->addLayout(buttons);
}

void AddNewLouDongMessageWidget::sureButtonClick()
{
    const QString name = m_name->text().trimmed();
    if (name.isEmpty()) {
        AlertWidget::warning(QStringLiteral("请输入内容!"));
        return;
    }
    const QString suffix = m_suffix->currentText();
    emit backValue(name, suffix == QStringLiteral("无") ? QString() : suffix);
    emit closeWidget();
}
