#pragma once
// Pieces every follow-up row shows the same way: the header (writer, time, tag marks) and
// the reminder line with its "已过期" mark.
#include "detail/follow/housebookfollowdata_model.h"

class QLabel;
class QLayout;
class QWidget;

namespace FollowRowParts {

// Writer, time and one mark per tag ("加急" red, "重要" orange, others grey).
QLayout *header(const HouseBookFollowData_Model::ListData &data, QWidget *row);
// A label that shows text as written: a follow-up may hold "<", "&" or markup-like text.
QLabel *plainLabel(const QString &text, const QString &objectName, QWidget *row);
// "提醒:person(date-time)" with the reminder text, and "已过期" when its time has passed;
// null when the row has no reminder.
QLayout *reminder(bool on, const QString &person, const QString &moment, const QString &text, QWidget *row);

} // namespace FollowRowParts
