#include "widgets/largepicture.h"

#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"
#include "widgets/thumbnailview.h"

#include <QVBoxLayout>

ThumbnailView *showLargePicture(QWidget *owner, const QString &url)
{
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    auto *picture = new ThumbnailView(content);
    picture->setObjectName(QStringLiteral("largePicture"));
    picture->setFixedSize(800, 560);
    picture->setAlignment(Qt::AlignCenter);
    picture->setSource(url);
    layout->addWidget(picture);
    openPopup(owner, PopupSize::Detail, QStringLiteral("查看大图"), content)->resize(830, 620);
    return picture;
}
