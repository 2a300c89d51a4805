#include "detail/photos/housebookphotosonitemview.h"

#include "services/surveyservice.h"
#include "widgets/thumbnailview.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kWidth = 150;
constexpr int kPictureHeight = 110;
} // namespace

HouseBookPhotoSonItemView::HouseBookPhotoSonItemView(const QString &url, const QString &title,
                                                     const QStringList &operations, QWidget *parent)
    : QWidget(parent)
    , m_url(url)
    , m_operations(operations)
{
    setFixedWidth(kWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_picture = new ThumbnailView(this);
    m_picture->setObjectName(QStringLiteral("picture"));
    m_picture->setFixedSize(kWidth, kPictureHeight);
    m_picture->setPlaceholder(QStringLiteral(":/res/icon_no_photo.png"));
    m_picture->setSource(url);
    m_picture->installEventFilter(this);
    layout->addWidget(m_picture);

    // The mark sits on the picture's top left corner.
    m_collected = new QLabel(QStringLiteral("采集图片"), m_picture);
    m_collected->setObjectName(QStringLiteral("label_collected"));
    m_collected->setStyleSheet(QStringLiteral("background:rgba(0,0,0,150);color:white;font-size:12px;padding:1px 4px;"));
    m_collected->move(0, 0);
    m_collected->setVisible(isCollected());

    auto *caption = new QLabel(title, this);
    caption->setObjectName(QStringLiteral("label_title"));
    caption->setAlignment(Qt::AlignCenter);
    caption->setVisible(!title.isEmpty());
    layout->addWidget(caption);
}

QStringList HouseBookPhotoSonItemView::defaultOperations()
{
    return {QStringLiteral("查看大图"), QStringLiteral("下载"), QStringLiteral("删除")};
}

QString HouseBookPhotoSonItemView::menuStyle()
{
    return QStringLiteral("QMenu{background:rgb(89,87,87);border:1px solid rgb(24,137,240);}"
                          "QMenu::item{font-size:13px;color:rgb(225,225,225);padding:5px 20px;background:transparent;}"
                          "QMenu::item:selected{background:rgb(235,110,36);}");
}

bool HouseBookPhotoSonItemView::isCollected() const
{
    return SurveyService::isCollected(m_url);
}

QMenu *HouseBookPhotoSonItemView::menu()
{
    if (!m_menu && !m_operations.isEmpty()) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("photoMenu"));
        m_menu->setStyleSheet(menuStyle());
        for (const QString &text : qAsConst(m_operations))
            m_menu->addAction(text, this, [this, text] { emit operatesClick(text); });
    }
    return m_menu;
}

void HouseBookPhotoSonItemView::showMenu()
{
    if (QMenu *shown = menu())
        shown->popup(QCursor::pos());
}

// Watched before the picture handles the press itself, so a click is reported exactly once.
bool HouseBookPhotoSonItemView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picture && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        emit clickItem();
    return QWidget::eventFilter(watched, event);
}

void HouseBookPhotoSonItemView::contextMenuEvent(QContextMenuEvent *event)
{
    showMenu();
    event->accept();
}
