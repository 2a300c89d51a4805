#pragma once
// Step 3 of the chooser: the building's units, or one typed by hand.
#include "entry_forms/chooser/structurelistpage.h"
#include "services/communitystructure.h"

#include <QJsonValue>

class ChooseHouseUnitWidget : public StructureListPage
{
    Q_OBJECT
public:
    explicit ChooseHouseUnitWidget(QWidget *parent = nullptr);

    void setUnits(const QList<XiaoQuLouDongMsg_Model::DanYuan> &units);
    QList<XiaoQuLouDongMsg_Model::DanYuan> units() const { return m_units; }
    // lockuar of the community: no typed unit beyond the list.
    void setLocked(bool locked) { m_locked = locked; }

signals:
    void clickItem(XiaoQuLouDongMsg_Model::DanYuan model);

public slots:
    void addCustomTxt(const QString &content, const QString &unit);
    void dealDataList(const QJsonValue &value);

protected:
    void entryChosen(int index) override;
    void customEntered(const QString &content, const QString &unit) override { addCustomTxt(content, unit); }

private:
    QList<XiaoQuLouDongMsg_Model::DanYuan> m_units;
    bool m_locked = false;
};
