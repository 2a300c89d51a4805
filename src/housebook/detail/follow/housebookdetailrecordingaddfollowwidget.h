#pragma once
// "录音跟进": a follow-up written against one call recording.
#include <QWidget>

class BusyOverlay;
class FollowService;
class QPlainTextEdit;

class HouseBookDetailRecordingAddFollowWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookDetailRecordingAddFollowWidget(int recordId, QWidget *parent = nullptr);

signals:
    // The text the server accepted.
    void submitSuccess(QString text);
    void closeWidget();

public slots:
    void submitData();

private:
    int m_recordId;
    FollowService *m_service;
    QPlainTextEdit *m_edit;
    BusyOverlay *m_overlay;
};
