#include "list/searchitem.h"

#include <QHBoxLayout>
#include <QLineEdit>

HouseSearchItem::HouseSearchItem(const QVariantMap &description, QWidget *parent)
    : QWidget(parent), m_description(description), m_id(description.value(QStringLiteral("id")).toInt())
{
    setAttribute(Qt::WA_StyledBackground, true);
    applySizeLimits();
}

int HouseSearchItem::itemType() const
{
    return m_description.value(QStringLiteral("type")).toInt();
}

bool HouseSearchItem::isSingleLine() const
{
    return m_description.value(QStringLiteral("SingleLine")).toBool();
}

QString HouseSearchItem::title() const
{
    return m_description.value(QStringLiteral("title")).toString();
}

QString HouseSearchItem::prompt() const
{
    const QString placeholder = m_description.value(QStringLiteral("placeholder")).toString();
    return placeholder.isEmpty() ? title() : placeholder;
}

// Limits of 0 or less (or absent) leave Qt's defaults.
void HouseSearchItem::applySizeLimits()
{
    const auto limit = [this](const char *key) { return m_description.value(QLatin1String(key)).toInt(); };
    if (limit("minW") > 0)
        setMinimumWidth(limit("minW"));
    if (limit("maxW") > 0)
        setMaximumWidth(limit("maxW"));
    if (limit("minH") > 0)
        setMinimumHeight(limit("minH"));
    if (limit("maxH") > 0)
        setMaximumHeight(limit("maxH"));
}

QLineEdit *HouseSearchItem::addLineEdit(const QString &objectName, const QString &placeholder, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setPlaceholderText(placeholder);
    edit->setStyleSheet(lineEditStyle());
    edit->setMinimumHeight(30);
    connect(edit, &QLineEdit::returnPressed, this, &HouseSearchItem::startSearch);
    return edit;
}

QString HouseSearchItem::lineEditStyle()
{
    return QStringLiteral("QLineEdit{background-color:white;border:1px solid rgb(221,221,221);border-radius:3px;"
                          "color:rgb(60,60,60);font-size:13px;font-family:微软雅黑;padding-left:4px;}");
}

QString HouseSearchItem::comboBoxStyle()
{
    return QStringLiteral("QComboBox{background-color:white;border:1px solid rgb(221,221,221);border-radius:3px;"
                          "color:rgb(60,60,60);font-size:13px;font-family:微软雅黑;padding-left:4px;min-height:28px;}"
                          "QComboBox QAbstractItemView{background-color:white;color:rgb(60,60,60);"
                          "selection-background-color:rgb(24,135,240);selection-color:white;}");
}

QString HouseSearchItem::buttonStyle()
{
    return QStringLiteral("QPushButton{background-color:white;border:1px solid rgb(221,221,221);border-radius:3px;"
                          "color:rgb(60,60,60);font-size:12px;font-family:微软雅黑;min-height:28px;padding:0 2px;}"
                          "QPushButton:hover{border-color:rgb(12,145,235);}");
}

QHBoxLayout *HouseSearchItem::plainRow(QWidget *owner)
{
    auto *row = new QHBoxLayout(owner);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    return row;
}
