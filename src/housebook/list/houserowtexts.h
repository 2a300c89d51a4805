#pragma once
// How one listing record becomes the texts of its table row: the display value of every
// column key, and the community cell text that carries status, name and tag markers for
// HouseTableItemWidget. No widgets here, so the rules can be checked on their own.
#include "sql/housemessage_datasqltable.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class HouseRowTexts
{
public:
    using Record = HouseMessage_DataSqlTable::HouseMessageData;

    // Markers of the community cell text: between its four parts, and between the tags of a part.
    static QString partSplit() { return QStringLiteral("<HouseTableItemWidget>"); }
    static QString tagSplit() { return QStringLiteral("<HouseTableTagSplit>"); }

    // The community cell text split back into its parts; valid only with exactly four parts.
    struct CommunityParts
    {
        bool valid = false;
        QString status;
        QString main;
        QStringList leftTags;
        QStringList rightTags;
    };

    // Column key -> display value of every key a listing row can show. `today` decides the
    // "新上房源" tag; an invalid date stands for the current one (read once per call: asking
    // the clock costs a time-zone lookup, too much for every cell of a page).
    static QVariantMap cellValues(const Record &record, const QDate &today = QDate());
    // The display value of one column key; empty for keys the listing table does not know.
    static QString cellValue(const QString &key, const Record &record, const QDate &today = QDate());

    // Joined in the order status, main text, left tags, right tags.
    static QString composeCommunityText(const QStringList &leftTags, const QString &mainText,
                                        const QString &statusText, const QStringList &rightTags);
    static QString communityText(const Record &record, const QDate &today = QDate());
    static CommunityParts splitCommunityText(const QString &text);

    // Community name followed by building, unit and room when any of them is known
    // ("阳光花园-4栋-1单元304"): the listing's name in the community cell and in the delete
    // confirmation.
    static QString displayName(const Record &record);
    // Building and unit with their words: the record's `dongunit` / `danyuanunit`, or "栋" /
    // "单元" when it has none; empty when unknown. The 楼栋号 column shows building, unit and
    // room run together ("4栋1单元304").
    static QString buildingText(const Record &record);
    static QString unitText(const Record &record);
    // "待处理", "待审核", "驳回" or empty; the review state wins over the pending state.
    static QString statusText(const Record &record);
    // "新上房源", "有图", "VR", "视频房源" as they apply, in this order.
    static QStringList leftTags(const Record &record, const QDate &today = QDate());
    // "私房", "有车库", "置顶", "锁盘", "封盘", "独家" as they apply, in this order.
    static QStringList rightTags(const Record &record);

    static QString floorText(const Record &record);
    static QString publisherText(const Record &record);
    static QString schoolText(const Record &record);
    // The tags of the tag column: the listing's comma-separated tags, blanks dropped.
    static QStringList tagList(const QString &tags);

    // The icon of a community cell tag; empty for tags that have none.
    static QString tagIcon(const QString &tag);
    // Listings outside the alliance's collaboration (private or special listings) show
    // "不支持团队协作" in the collaboration column.
    static bool takesPartInXieZuo(const Record &record);

    // The community cell as rich text: the status in red between parentheses before the main
    // text, and every occurrence of a search word in the main text in red. Text is escaped.
    static QString communityHtml(const QString &status, const QString &mainText, const QStringList &searchWords);

private:
    static QString highlighted(const QString &text, const QStringList &words);
};
