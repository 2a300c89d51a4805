#pragma once
// The promotion tab of a sale listing: the shared block with the promotion data of the
// extended facts (title, introduction, photos, tags, panorama) and, under it, every extended
// fact with its label. Editing opens the extended facts editor.
#include "detail/describe/describepagebase.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>

class SaleHouseDetailDescribeWidget : public DescribePageBase
{
    Q_OBJECT
public:
    explicit SaleHouseDetailDescribeWidget(QWidget *parent = nullptr);

    // The last extended facts received.
    QJsonObject detail() const { return m_detail; }

public slots:
    void refreshData() override;
    void editClick() override;
    void downloadDetaileData();
    void dealDetailData(QJsonValue value);

protected:
    void saveCover(const QList<DescribeTexts::Photo> &photos) override;
    bool mayEdit(const DescribeRights &rights) const override { return rights.push; }

private:
    void fillExtendedFacts();

    QJsonObject m_detail;
    QMap<QString, QLabel *> m_factLabels;
};
