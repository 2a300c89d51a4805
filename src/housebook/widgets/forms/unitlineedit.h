#pragma once
// A line edit that shows its unit ("万元", "㎡", "元/月") inside its right edge; typed text
// never runs under the unit.
#include <QLineEdit>

class QLabel;

class UnitLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit UnitLineEdit(QWidget *parent = nullptr);
    UnitLineEdit(const QString &unit, QWidget *parent = nullptr);

    void setUnit(const QString &unit);
    QString unit() const;
    // The label carrying the unit (object name "unitLabel").
    QLabel *unitLabel() const { return m_unitLabel; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeUnit();

    QLabel *m_unitLabel = nullptr;
};
