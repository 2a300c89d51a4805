#include "listingentryform.h"

ListingEntryForm::ListingEntryForm(QWidget *parent, bool isEdit, bool isReview)
    : QWidget(parent)
    , m_isEdit(isEdit)
    , m_isReview(isReview)
{
}

void ListingEntryForm::setHouseData(const HouseMessage_DataSqlTable::HouseMessageData &model)
{
    m_model = model;
}

void ListingEntryForm::setSourceData(const QString &sourceId, const QString &sourceType, int flag)
{
    m_sourceId = sourceId;
    m_sourceType = sourceType;
    m_sourceFlag = flag;
}
