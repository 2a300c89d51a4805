#pragma once
// One viewing of the listing: the client group shown it (masked when the viewer may not see
// the client), the agent and store, the time, the feedback, the reminder, and a link that
// opens the listing's detail window.
#include "detail/follow/housebooktakelooklist_model.h"

#include <QWidget>

class TakeLookListItem : public QWidget
{
    Q_OBJECT
public:
    TakeLookListItem(const HousebookTakeLookList_Model::ListData &data, bool canSeeCustomer,
                     QWidget *parent = nullptr);

    // The time shown before a row has its data.
    static QString emptyTime();
    // A phone the viewer may not see: its first 3 characters and "********".
    static QString maskedPhone(const QString &phone);

public slots:
    // text: the link's target, the listing id.
    void dealClickLink(QString text);

private:
    HousebookTakeLookList_Model::ListData m_data;
};
