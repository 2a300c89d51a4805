#pragma once
// The sync bookkeeping row of the company database (company_config) and the required
// columns of house and community that the column upgrade compares against.
#include "sql/basesqlobject.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class CompanySQLConfig_DataSqltable : public BaseSqlObject
{
    Q_OBJECT
public:
    CompanySQLConfig_DataSqltable(QObject *parent, bool isJointSale);

    // The one row; empty when it cannot be read.
    QVariantMap getRow();
    QString lastUpdateTime();
    QString communityLastUpdateTime();
    QString version();
    int building();

    bool setColumn(const QString &column, const QVariant &value);
    // Moves a sync mark forward only: stored when later than the stored one (text comparison
    // of "yyyy/MM/dd HH:mm:ss").
    bool advanceLastUpdateTime(const QString &time);
    bool advanceCommunityLastUpdateTime(const QString &time);

    // The 97 required {"key","type"} pairs of house, in order.
    static QList<QVariantMap> houseColumns();
    // The 31 pairs of community.
    static QList<QVariantMap> communityColumns();

    // The declared type as the required lists spell it: "INT", "TEXT", "REAL" read as "int",
    // "varchar", "float"; other types lower-cased.
    static QString normalizedType(const QString &declaredType);
    // Required columns absent from the present ones (by name, case-insensitive), in required order.
    static QList<QVariantMap> columnsToAdd(const QList<QVariantMap> &present, const QList<QVariantMap> &required);
    // Names of present columns that are not required, in present order.
    static QStringList columnsToDrop(const QList<QVariantMap> &present, const QList<QVariantMap> &required);

    // Brings house and community to the required columns (a snapshot of an older version)
    // and stores the added columns as JSON in house_add_key / community_add_key.
    bool upgradeColumns();

private:
    void writeDefaultRow();
    bool advanceMark(const QString &column, const QString &time);
    bool upgradeTable(const QString &table, const QList<QVariantMap> &required, const QString &addKeyColumn);
};
