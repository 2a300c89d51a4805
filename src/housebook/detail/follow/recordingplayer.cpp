#include "detail/follow/recordingplayer.h"

#include "net/endpoints.h"
#include "platform/siblinglibrary.h"

#include <QUrl>

namespace {
using LoadUrl = void (*)(QWidget *parent, const QString &url, const QString &title, int width, int height);
constexpr int kWidth = 480;
constexpr int kHeight = 200;
} // namespace

namespace RecordingPlayer {

QString defaultLibrary()
{
    return QStringLiteral("qx_cefview.dll");
}

QString pageUrl(const QString &audioUrl)
{
    return Endpoints::instance().call_player_html + QStringLiteral("?url=")
           + QString::fromLatin1(QUrl::toPercentEncoding(audioUrl));
}

bool open(QWidget *parent, const QString &audioUrl, const QString &library)
{
    const auto loadUrl = SiblingLibrary::resolveAs<LoadUrl>(library, "loadUrl");
    if (!loadUrl)
        return false;
    loadUrl(parent, pageUrl(audioUrl), QStringLiteral("录音播放"), kWidth, kHeight);
    return true;
}

} // namespace RecordingPlayer
