#include "detail/follow/housebookdetailrecordingitemview.h"

#include "detail/follow/followrowparts.h"
#include "detail/follow/housebookdetailrecordingaddfollowwidget.h"
#include "detail/follow/recordingplayer.h"
#include "services/followservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"

#include <QHBoxLayout>
#include <QJsonObject>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

HouseBookDetailRecordingItemView::HouseBookDetailRecordingItemView(const HouseBookFollowData_Model::ListData &data,
                                                                   QWidget *parent)
    : HouseBookDetailRecordingItemView(data, false, parent)
{
}

HouseBookDetailRecordingItemView::HouseBookDetailRecordingItemView(const HouseBookFollowData_Model::ListData &data,
                                                                   bool compact, QWidget *parent)
    : QWidget(parent)
    , m_data(data)
    , m_playerLibrary(RecordingPlayer::defaultLibrary())
    , m_service(new FollowService(this))
    , m_overlay(new BusyOverlay(this))
{
    setObjectName(QStringLiteral("recordingRow"));
    buildUi(compact);
    connect(m_service, &FollowService::finished, m_overlay, &BusyOverlay::stop);
    connect(m_service, &FollowService::recordFileLoaded, this,
            [this](int, const QJsonValue &value) { dealMP3Result(value); });
}

QString HouseBookDetailRecordingItemView::hideQuestion()
{
    return QStringLiteral("您确定要隐藏该录音记录吗？隐藏后只有管理员账户和录音账户还能看见该录音，其他人无法查看到该记录！");
}

QString HouseBookDetailRecordingItemView::unhideQuestion()
{
    return QStringLiteral("您确定要取消隐藏该录音记录吗？取消隐藏后公司所有员工都能看见此条记录！");
}

void HouseBookDetailRecordingItemView::buildUi(bool compact)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(compact ? 4 : 10, compact ? 3 : 6, compact ? 4 : 10, compact ? 3 : 6);
    auto *header = static_cast<QHBoxLayout *>(FollowRowParts::header(m_data, this));
    layout->addLayout(header);
    if (m_data.recordhidden)
        header->addWidget(FollowRowParts::plainLabel(QStringLiteral("已隐藏"), QStringLiteral("hiddenLabel"), this));
    m_content = FollowRowParts::plainLabel(m_data.content, QStringLiteral("contentLabel"), this);
    m_content->setWordWrap(true);
    layout->addWidget(m_content);
    auto *buttons = new QHBoxLayout;
    auto addButton = [this, buttons](const QString &text, const QString &name) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        button->setCursor(Qt::PointingHandCursor);
        buttons->addWidget(button);
        return button;
    };
    connect(addButton(QStringLiteral("播放"), QStringLiteral("playButton")), &QPushButton::clicked, this,
            &HouseBookDetailRecordingItemView::palyButtonClick);
    connect(addButton(m_data.recordhidden ? QStringLiteral("取消隐藏") : QStringLiteral("隐藏"),
                      QStringLiteral("hideButton")),
            &QPushButton::clicked, this, &HouseBookDetailRecordingItemView::hiddenRecord);
    connect(addButton(QStringLiteral("+跟进"), QStringLiteral("addFollowButton")), &QPushButton::clicked, this,
            &HouseBookDetailRecordingItemView::addFollowContent);
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

void HouseBookDetailRecordingItemView::palyButtonClick()
{
    emit playRecordClick();
    playMap3(m_data.recordid, m_mp3);
}

void HouseBookDetailRecordingItemView::playMap3(int id, const QString &mp3)
{
    if (!mp3.isEmpty()) {
        m_mp3 = mp3;
        startPlay();
        return;
    }
    m_overlay->start(QStringLiteral("获取录音中..."));
    m_service->loadRecordFile(id);
}

void HouseBookDetailRecordingItemView::dealMP3Result(QJsonValue value)
{
    const QJsonValue url = value.toObject().value(QStringLiteral("url"));
    m_mp3 = url.isString() ? url.toString().trimmed() : QString();
    if (m_mp3.isEmpty()) {
        AlertWidget::warning(QStringLiteral("录音内容正在转码处理中，请稍后再进行访问！"));
        return;
    }
    startPlay();
}

void HouseBookDetailRecordingItemView::startPlay()
{
    RecordingPlayer::open(window(), m_mp3, m_playerLibrary);
}

void HouseBookDetailRecordingItemView::addFollowContent()
{
    auto *popup = new CommonAddWidget(this);
    popup->setTitle(QStringLiteral("录音跟进"));
    auto *form = new HouseBookDetailRecordingAddFollowWidget(m_data.recordid, popup);
    popup->setContentWidget(form);
    popup->resize(420, 260);
    connect(form, &HouseBookDetailRecordingAddFollowWidget::submitSuccess, this,
            &HouseBookDetailRecordingItemView::appendFollowText);
    connect(form, &HouseBookDetailRecordingAddFollowWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    popup->show();
}

void HouseBookDetailRecordingItemView::appendFollowText(const QString &text)
{
    m_data.content = m_data.content.isEmpty() ? text : m_data.content + QLatin1Char('\n') + text;
    m_content->setText(m_data.content);
}

void HouseBookDetailRecordingItemView::hiddenRecord()
{
    const bool hiding = !m_data.recordhidden;
    auto *box = new AlertWidget(hiding ? hideQuestion() : unhideQuestion(), AlertWidget::WarningIcon,
                                AlertWidget::SureAndCancle);
    box->setSureText(hiding ? QStringLiteral("隐藏") : QStringLiteral("取消隐藏"));
    connect(box, &AlertWidget::sureClick, this, [this, hiding] { emit recordChange(hiding ? 1 : 2); });
}

HouseBookDetailVoiceRecordingItemView::HouseBookDetailVoiceRecordingItemView(
    const HouseBookFollowData_Model::ListData &data, QWidget *parent)
    : HouseBookDetailRecordingItemView(data, true, parent)
{
    setObjectName(QStringLiteral("voiceRecordingRow"));
}
