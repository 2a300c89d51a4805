#pragma once
// A picture at a readable size in its own pop-up titled "查看大图". The view is handed back
// so a caller may lay its own marks over the picture.
#include <QString>

class ThumbnailView;
class QWidget;

ThumbnailView *showLargePicture(QWidget *owner, const QString &url);
