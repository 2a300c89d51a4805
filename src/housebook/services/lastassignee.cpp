#include "services/lastassignee.h"

#include "datacenter.h"
#include "sql/usermessage_datasqltable.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kKey = QStringLiteral("lastFenPeiPeople");

} // namespace

namespace LastAssignee {

QVariantMap load()
{
    const QString text = UserMessage_DataSqlTable::getConfigValue(DataCenter::UserPhoneNumber, kKey);
    return QJsonDocument::fromJson(text.toUtf8()).object().toVariantMap();
}

void store(const QVariantMap &person)
{
    const QByteArray text = QJsonDocument(QJsonObject::fromVariantMap(person)).toJson(QJsonDocument::Compact);
    UserMessage_DataSqlTable::setConfigValue(DataCenter::UserPhoneNumber, kKey, QString::fromUtf8(text));
}

} // namespace LastAssignee
