#pragma once
// The status-bar word on the plug-in's listing sync. While the plug-in marks a sync in
// DataCenter::refreshStateOfDB it says so; otherwise it shows the outcome the plug-in last
// announced on the signal hub for the listing sync (code 1): baseSqlReq state 1 is success,
// state 2 failure with {"type": 1, "message": reason}. Before any outcome it stays empty,
// so a book that could not be fetched is never called synced. While pages are stored it
// counts them (baseSqlReq state 5: {"type": 1, "pages": N, "listings": M}).
#include <QLabel>
#include <QVariant>

class SyncStateLabel : public QLabel
{
    Q_OBJECT
public:
    explicit SyncStateLabel(QWidget *parent = nullptr);

    // Reads the sync flags again; the host calls it on its status timer.
    void refresh();
    static bool syncRunning();

private:
    enum class Outcome { None, Succeeded, Failed };
    void hear(int state, const QVariant &value);

    Outcome m_outcome = Outcome::None;
    QString m_reason;
    QString m_progress;
};
