#pragma once
// A call recording in a listing's follow list: who called and when, the call's note, and
// "播放", "隐藏"/"取消隐藏" and "+跟进". Hiding is confirmed here and carried out by the list
// (recordChange), which reloads afterwards.
#include "detail/follow/housebookfollowdata_model.h"

#include <QJsonValue>
#include <QWidget>

class BusyOverlay;
class FollowService;
class QLabel;

class HouseBookDetailRecordingItemView : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookDetailRecordingItemView(const HouseBookFollowData_Model::ListData &data,
                                              QWidget *parent = nullptr);

    HouseBookFollowData_Model::ListData data() const { return m_data; }
    // The library that shows the player page (the host's browser library unless told).
    void setPlayerLibrary(const QString &library) { m_playerLibrary = library; }

    static QString hideQuestion();
    static QString unhideQuestion();

signals:
    void playRecordClick();
    // The agent confirmed: 1 hide the recording, 2 show it again.
    void recordChange(int state);

public slots:
    void palyButtonClick();
    // Plays mp3 when known, else asks the server for the recording's address first.
    void playMap3(int id, const QString &mp3);
    void dealMP3Result(QJsonValue value);
    void startPlay();
    void addFollowContent();
    void hiddenRecord();

protected:
    // A compact row lays its parts closer together.
    HouseBookDetailRecordingItemView(const HouseBookFollowData_Model::ListData &data, bool compact, QWidget *parent);

private:
    void buildUi(bool compact);
    void appendFollowText(const QString &text);

    HouseBookFollowData_Model::ListData m_data;
    QString m_mp3;
    QString m_playerLibrary;
    FollowService *m_service;
    BusyOverlay *m_overlay;
    QLabel *m_content = nullptr;
};

// The compact recording row of the general follow list.
class HouseBookDetailVoiceRecordingItemView : public HouseBookDetailRecordingItemView
{
    Q_OBJECT
public:
    explicit HouseBookDetailVoiceRecordingItemView(const HouseBookFollowData_Model::ListData &data,
                                                   QWidget *parent = nullptr);
};
