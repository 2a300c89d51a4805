#pragma once
// One written follow-up in a listing's follow list: writer, time, tag marks, the text, the
// reminder and, for the writer, "删除".
#include "detail/follow/housebookfollowdata_model.h"

#include <QWidget>

class HouseFollowHistoryWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseFollowHistoryWidget(const HouseBookFollowData_Model::ListData &data, QWidget *parent = nullptr);

    HouseBookFollowData_Model::ListData data() const { return m_data; }

signals:
    void deleteRequested(int id);

private:
    HouseBookFollowData_Model::ListData m_data;
};

// The same row in the general follow list of the day's work.
class DayWorkFollowItemView : public HouseFollowHistoryWidget
{
    Q_OBJECT
public:
    explicit DayWorkFollowItemView(const HouseBookFollowData_Model::ListData &data, QWidget *parent = nullptr);
};
