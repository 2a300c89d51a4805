#include "list/searchitemtextwidgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

HouseSearch_ZeroWidget::HouseSearch_ZeroWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchItem(description, parent)
{
    m_edit = addLineEdit(QStringLiteral("lineTextEdit"), prompt(), this);
    plainRow(this)->addWidget(m_edit);
    connect(m_edit, &QLineEdit::textEdited, this, [this](const QString &text) { emit lineTextValue(itemId(), text); });
}

QString HouseSearch_ZeroWidget::value() const
{
    return m_edit->text();
}

void HouseSearch_ZeroWidget::setValue(const QString &text)
{
    m_edit->setText(text);
    emit lineTextValue(itemId(), text);
}

void HouseSearch_ZeroWidget::clearValue()
{
    const QSignalBlocker quiet(m_edit);
    m_edit->clear();
}

HouseSearchPartsItem::HouseSearchPartsItem(const QVariantMap &description, QWidget *parent)
    : HouseSearchItem(description, parent), m_row(plainRow(this))
{
}

QLineEdit *HouseSearchPartsItem::addPart(const QString &objectName, const QString &placeholder)
{
    QLineEdit *edit = addLineEdit(objectName, placeholder, this);
    static const QRegularExpression noComma(QStringLiteral("[^,]*"));
    edit->setValidator(new QRegularExpressionValidator(noComma, edit));
    m_row->addWidget(edit, 1);
    m_parts << edit;
    connect(edit, &QLineEdit::textEdited, this, &HouseSearchPartsItem::reportValue);
    return edit;
}

QLabel *HouseSearchPartsItem::addLabel(const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text, this);
    label->setObjectName(objectName);
    label->setStyleSheet(QStringLiteral("QLabel{color:rgb(60,60,60);font-size:13px;font-family:微软雅黑;}"));
    m_row->addWidget(label);
    return label;
}

QString HouseSearchPartsItem::value() const
{
    QStringList texts;
    for (const QLineEdit *edit : m_parts)
        texts << edit->text();
    return texts.join(QLatin1Char(','));
}

// A value with fewer parts leaves the remaining edits empty; surplus parts are dropped.
void HouseSearchPartsItem::setValue(const QString &text)
{
    const QStringList texts = text.split(QLatin1Char(','));
    for (int i = 0; i < m_parts.size(); ++i)
        m_parts.at(i)->setText(texts.value(i));
    reportValue();
}

void HouseSearchPartsItem::clearValue()
{
    for (QLineEdit *edit : qAsConst(m_parts)) {
        const QSignalBlocker quiet(edit);
        edit->clear();
    }
}

void HouseSearchPartsItem::reportValue()
{
    emit lineTextValue(itemId(), value());
}

HouseSearch_SecondWidget::HouseSearch_SecondWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchPartsItem(description, parent)
{
    addPart(QStringLiteral("firstLineEdit"), prompt());
    addLabel(QStringLiteral("firstUnitLabel"), QStringLiteral("栋"));
    addPart(QStringLiteral("secondLineEdit"));
    addLabel(QStringLiteral("secondUnitLabel"), QStringLiteral("单元"));
    addPart(QStringLiteral("thirdLineEdit"));
    addLabel(QStringLiteral("thirdUnitLabel"), QStringLiteral("室"));
}

HouseSearch_ThirdWidget::HouseSearch_ThirdWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchPartsItem(description, parent)
{
    const QStringList captions = prompt().split(QLatin1Char(','));
    addLabel(QStringLiteral("firstLabel"), captions.value(0));
    addPart(QStringLiteral("firstLineEdit"));
    addLabel(QStringLiteral("secondLabel"), captions.value(1));
    addPart(QStringLiteral("secondLineEdit"));
}

HouseSearch_FourWidget::HouseSearch_FourWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchPartsItem(description, parent)
{
    addLabel(QStringLiteral("titleLabel"), title());
    addPart(QStringLiteral("firstLineEdit"));
    addLabel(QStringLiteral("rangeDashLabel"), QStringLiteral("-"));
    addPart(QStringLiteral("secondLineEdit"));
}

HouseSearch_EightWidget::HouseSearch_EightWidget(const QVariantMap &description, QWidget *parent)
    : HouseSearchPartsItem(description, parent)
{
    addPart(QStringLiteral("lineEdit_room"));
    addLabel(QStringLiteral("roomLabel"), QStringLiteral("室"));
    addPart(QStringLiteral("lineEdit_hall"));
    addLabel(QStringLiteral("hallLabel"), QStringLiteral("厅"));
    addPart(QStringLiteral("lineEdit_huxingwei"));
    addLabel(QStringLiteral("huxingweiLabel"), QStringLiteral("卫"));
}
