#include "widgets/forms/unitlineedit.h"

#include <QLabel>
#include <QResizeEvent>

namespace {
const int kUnitPadding = 6;
}

UnitLineEdit::UnitLineEdit(QWidget *parent)
    : UnitLineEdit(QString(), parent)
{
}

UnitLineEdit::UnitLineEdit(const QString &unit, QWidget *parent)
    : QLineEdit(parent)
    , m_unitLabel(new QLabel(this))
{
    m_unitLabel->setObjectName(QStringLiteral("unitLabel"));
    m_unitLabel->setStyleSheet(QStringLiteral("color:#999999;background:transparent;"));
    // Clicks on the unit reach the edit, so the unit behaves as part of the field.
    m_unitLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    setUnit(unit);
}

void UnitLineEdit::setUnit(const QString &unit)
{
    m_unitLabel->setText(unit);
    m_unitLabel->setVisible(!unit.isEmpty());
    placeUnit();
}

QString UnitLineEdit::unit() const
{
    return m_unitLabel->text();
}

void UnitLineEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeUnit();
}

void UnitLineEdit::placeUnit()
{
    QMargins margins = textMargins();
    if (unit().isEmpty()) {
        margins.setRight(0);
        setTextMargins(margins);
        return;
    }
    const int width = m_unitLabel->sizeHint().width();
    m_unitLabel->setGeometry(this->width() - width - kUnitPadding, 0, width, height());
    margins.setRight(width + kUnitPadding);
    setTextMargins(margins);
}
