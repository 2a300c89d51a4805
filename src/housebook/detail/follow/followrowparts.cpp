#include "detail/follow/followrowparts.h"

#include "detail/follow/replyfields.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>

namespace {

QLabel *mark(const QString &tag, QWidget *row)
{
    const QString colour = tag == QStringLiteral("加急")   ? QStringLiteral("rgb(235,70,60)")
                           : tag == QStringLiteral("重要") ? QStringLiteral("rgb(245,150,30)")
                                                          : QStringLiteral("rgb(150,150,150)");
    auto *label = FollowRowParts::plainLabel(tag, QString(), row);
    label->setObjectName(tag == QStringLiteral("加急")   ? QStringLiteral("urgentMark")
                         : tag == QStringLiteral("重要") ? QStringLiteral("importantMark")
                                                        : QStringLiteral("tagMark"));
    label->setStyleSheet(QStringLiteral("QLabel{color:white;background-color:%1;border-radius:3px;padding:0px 4px;}")
                             .arg(colour));
    return label;
}

} // namespace

namespace FollowRowParts {

QLabel *plainLabel(const QString &text, const QString &objectName, QWidget *row)
{
    auto *label = new QLabel(row);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    if (!objectName.isEmpty())
        label->setObjectName(objectName);
    return label;
}

QLayout *header(const HouseBookFollowData_Model::ListData &data, QWidget *row)
{
    auto *line = new QHBoxLayout;
    line->setSpacing(8);
    auto *writer = plainLabel(data.username, QStringLiteral("writerLabel"), row);
    writer->setStyleSheet(QStringLiteral("QLabel{color:rgb(12,145,235);font-weight:bold;}"));
    line->addWidget(writer);
    auto *time = plainLabel(data.time, QStringLiteral("timeLabel"), row);
    time->setStyleSheet(QStringLiteral("QLabel{color:rgb(150,150,150);}"));
    line->addWidget(time);
    for (const QString &tag : data.tags)
        line->addWidget(mark(tag, row));
    line->addStretch(1);
    return line;
}

QLayout *reminder(bool on, const QString &person, const QString &moment, const QString &text, QWidget *row)
{
    if (!on)
        return nullptr;
    auto *line = new QHBoxLayout;
    line->setSpacing(8);
    auto *label = plainLabel(ReplyFields::reminderText(person, moment), QStringLiteral("reminderLabel"), row);
    label->setStyleSheet(QStringLiteral("QLabel{color:rgb(245,150,30);}"));
    line->addWidget(label);
    if (!text.isEmpty()) {
        auto *contents = plainLabel(text, QStringLiteral("reminderContentsLabel"), row);
        contents->setWordWrap(true);
        line->addWidget(contents, 1);
    }
    if (ReplyFields::reminderExpired(moment, QDateTime::currentDateTime())) {
        auto *expired = plainLabel(QStringLiteral("已过期"), QStringLiteral("expiredLabel"), row);
        expired->setStyleSheet(QStringLiteral("QLabel{color:rgb(235,70,60);}"));
        line->addWidget(expired);
    }
    line->addStretch(1);
    return line;
}

} // namespace FollowRowParts
