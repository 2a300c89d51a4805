#pragma once
// Step 2 of the chooser: the community's buildings, or one typed by hand.
#include "entry_forms/chooser/structurelistpage.h"
#include "services/communitystructure.h"

#include <QJsonValue>

class ChooseHouseLouDongWidget : public StructureListPage
{
    Q_OBJECT
public:
    explicit ChooseHouseLouDongWidget(QWidget *parent = nullptr);

    void setBuildings(const QList<XiaoQuLouDongMsg_Model::LouDong> &buildings);
    QList<XiaoQuLouDongMsg_Model::LouDong> buildings() const { return m_buildings; }
    // lockdong of the community: no typed building beyond the list.
    void setLocked(bool locked) { m_locked = locked; }

signals:
    void clickItem(XiaoQuLouDongMsg_Model::LouDong model);

public slots:
    void dealSearchData(const QJsonValue &value);
    void addCustomTxt(const QString &content, const QString &unit);

protected:
    void entryChosen(int index) override;
    void customEntered(const QString &content, const QString &unit) override { addCustomTxt(content, unit); }

private:
    QList<XiaoQuLouDongMsg_Model::LouDong> m_buildings;
    bool m_locked = false;
};
