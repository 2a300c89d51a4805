#pragma once
// The texts of the detail window's first page, computed from the listing record alone: every
// fact line in the layout's order for a sale or a rent listing ("暂无" for a missing value),
// the address and floor with their hidden forms, the tags and their colours, the photo and
// video counts, and the update times the server and the store write.
#include "sql/housemessage_datasqltable.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace FirstPageTexts {

using Record = HouseMessage_DataSqlTable::HouseMessageData;

struct Line
{
    QString objectName;  // the label's object name ("label_price", ...)
    QString text;
};

// The fact lines between the address and the floor, in the layout's order.
QList<Line> factLines(const Record &record, bool rent);

QString addressText(const Record &record, bool roomShown);
QString floorText(const Record &record, bool shown);
QString remarkText(const Record &record);
QStringList tagNames(const Record &record);
// The style of the index-th tag; the six colours are taken in turn.
QString tagStyle(int index);
// 图片（N）视频（M） with each number blue above 0, red otherwise.
QString countsText(int photos, int videos);
// "yyyy/MM/dd HH:mm:ss" or "yyyy/M/d H:mm:ss" (also with "-"); invalid when neither.
QDateTime parseTime(const QString &text);
// The server's update time differs from the record's. An unreadable server time gives no
// reason to fetch the listing again; an unreadable record time does.
bool updateTimeDiffers(const QString &serverTime, const QString &recordTime);

} // namespace FirstPageTexts
