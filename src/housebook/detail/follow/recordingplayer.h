#pragma once
// Plays a call recording in the player page of the server, shown in a web window of the
// host's browser library ("录音播放").
#include <QString>

class QWidget;

namespace RecordingPlayer {

// The library that shows web pages, as the host ships it.
QString defaultLibrary();
// The player page with the audio address as its `url` query item.
QString pageUrl(const QString &audioUrl);
// Opens the player window; false (with the loader's message shown) when the library or its
// entry is missing.
bool open(QWidget *parent, const QString &audioUrl, const QString &library = defaultLibrary());

} // namespace RecordingPlayer
