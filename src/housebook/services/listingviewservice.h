#pragma once
// What the detail window tells the server about the agent looking at a listing: the view
// record (which the server may refuse, or hold back until another listing has been followed
// up), the "must follow up before viewing others" lock, and handing the listing over to
// another entering agent. Every reply of any shape ends in exactly one of the signals.
#include "sql/housemessage_datasqltable.h"

#include <QJsonValue>
#include <QObject>
#include <QString>
#include <QVariantMap>

class ListingViewService : public QObject
{
    Q_OBJECT
public:
    // The server's answer when the agent may not see the listing at all.
    static constexpr int kRefusedCode = 405;
    // The server's answer while another viewed listing still waits for its follow-up.
    static constexpr int kFollowFirstCode = 128;

    explicit ListingViewService(QObject *parent = nullptr);

    // Records that the agent opened the listing, on the server and in the local read list.
    void recordView(int id, bool rent);
    // The server holds back other listings until this one is followed up.
    void sendMustFollow(int id, bool rent);
    void clearMustFollow();
    // Makes person (a chooser entry: id, companyid, name, ...) the listing's entering agent.
    void assign(const HouseMessage_DataSqlTable::HouseMessageData &record, const QVariantMap &person);

    // The listing that waits for its follow-up, from a 128 reply: data.id, else the first
    // number in the message; 0 when neither holds one.
    static int waitingIdFrom(const QByteArray &reply, const QString &message);
    // The listing's current company and entering agent, as the assignment form names them.
    static int enteringCompanyId(const HouseMessage_DataSqlTable::HouseMessageData &record);
    static int enteringUserId(const HouseMessage_DataSqlTable::HouseMessageData &record);

signals:
    void viewed(int id);
    void viewRefused(int id);
    void followFirst(int waitingId, const QString &message);
    // Any other failure of the view record (the request object has told the agent).
    void viewFailed(int id);
    void assigned(int id);
    void assignFailed(int id, const QString &reason);
};
