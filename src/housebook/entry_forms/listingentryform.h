#pragma once
// What the sale and rent entry forms share: the record they were filled from, where a
// published listing comes from, and the signals their openers listen to.
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class ListingEntryForm : public QWidget
{
    Q_OBJECT
public:
    ListingEntryForm(QWidget *parent, bool isEdit, bool isReview);

    // Fills every field from a listing record.
    void setHouseData(const HouseMessage_DataSqlTable::HouseMessageData &model);
    // Remembers where a published listing comes from (source id, source type, flag).
    void setSourceData(const QString &sourceId, const QString &sourceType, int flag);

    bool isEdit() const { return m_isEdit; }
    bool isReview() const { return m_isReview; }
    const HouseMessage_DataSqlTable::HouseMessageData &houseData() const { return m_model; }
    QString sourceId() const { return m_sourceId; }
    QString sourceType() const { return m_sourceType; }
    int sourceFlag() const { return m_sourceFlag; }

signals:
    void addHouseSuccess(int houseid);
    void closeWidget();

private:
    bool m_isEdit;
    bool m_isReview;
    HouseMessage_DataSqlTable::HouseMessageData m_model;
    QString m_sourceId;
    QString m_sourceType;
    int m_sourceFlag = 0;
};
