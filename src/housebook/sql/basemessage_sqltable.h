#pragma once
// The reference data of the house book: districts and areas, category lists, jobs, and the
// settings of neighbouring modules, as one row of JSON texts in the personal database
// ("basemessage", or "basemessage_jointsale" for the alliance's book).
#include "sql/basesqlobject.h"

#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

class BaseMessage_SqlTable : public BaseSqlObject
{
    Q_OBJECT
public:
    BaseMessage_SqlTable(QObject *parent, bool isJointSale);

    QVariantMap readRow();
    // The stored text of one column ("" when none).
    QString getValue(const QString &key);
    bool setValue(const QString &key, const QString &value);
    // A reply value stored as JSON text; null or missing values leave the column as it was.
    bool setJsonValue(const QString &key, const QJsonValue &value);

    // The decoded list or object of a column; empty when the text is not one.
    QVariantList list(const QString &column);
    QVariantMap object(const QString &column);
    // The `name` values of a name list ("zhuangxiu", "fangchan", "housetype", "tag",
    // "hutype", "job", "property1", "property2", "traffic", "renttag", "saletag", "payway",
    // "housesource", "clouditem", "cloudarea").
    QStringList names(const QString &column);

    // Districts, each with `name`, `status` and `sons` (its areas).
    QList<QVariantMap> areaTree();
    // A list member of a customer or contract settings object, by name: member "tags" or
    // "fukuan" of "customersaleset", "customerrentset", "customernewhouseset",
    // "salecontractset" or "rentcontractset".
    QStringList settingNames(const QString &column, const QString &member);
    // The customer states of a customer settings object as "title(lable)".
    QStringList customerStates(const QString &column);
    QList<QVariantMap> contractSteps();
    QVariantList watchCommunitys();
    QVariant oaAuth();

    // Call settings: the switch and one rule {timeLimit, choose, days} of a group
    // ("housebook", "clientbook", "hetong") by name ("sale", "wuXiao", "ershoufang", ...).
    QVariantMap callSettings();
    bool isCallOpen();
    QVariantMap callRule(const QString &group, const QString &name);

    // Column choices of the contract lists and of the customer list, completed from the
    // column catalogue.
    QList<QVariantMap> contractShowItems(bool sale);
    QList<QVariantMap> customerShowItems();

    // Stores the reply of the public category download: entries {name, data}.
    bool storePublicCategory(const QJsonValue &reply);
    // Stores the reply of the house-book category download.
    bool storeHouseBookCategory(const QJsonValue &reply);

private:
    void ensureDefaultRow();
};
