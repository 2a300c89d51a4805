#include "qx_eleContract.h"

#include <poppler-qt5.h>

#include <QFileInfo>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

#include <memory>

namespace {

// Pages are rendered at a resolution that fits a contract page to about 800 pixels wide.
constexpr double kDpi = 96.0;

std::unique_ptr<Poppler::Document> openDocument(const QString &path)
{
    std::unique_ptr<Poppler::Document> document(Poppler::Document::load(path));
    if (!document || document->isLocked())
        return nullptr;
    document->setRenderHint(Poppler::Document::Antialiasing);
    document->setRenderHint(Poppler::Document::TextAntialiasing);
    return document;
}

// The rendered pages; a page Poppler cannot render is left out.
int addPages(Poppler::Document *document, QVBoxLayout *layout, QWidget *body)
{
    int shown = 0;
    for (int i = 0; i < document->numPages(); ++i) {
        std::unique_ptr<Poppler::Page> page(document->page(i));
        const QImage image = page ? page->renderToImage(kDpi, kDpi) : QImage();
        if (image.isNull())
            continue;
        auto *label = new QLabel(body);
        label->setObjectName(QStringLiteral("pdfPage"));
        label->setPixmap(QPixmap::fromImage(image));
        layout->addWidget(label, 0, Qt::AlignHCenter);
        ++shown;
    }
    return shown;
}

} // namespace

QWidget *pdfPreview(const QString &path, QWidget *parent)
{
    auto *window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("pdfPreviewWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QFileInfo(path).fileName());
    auto *scroll = new QScrollArea(window);
    scroll->setWidgetResizable(true);
    auto *body = new QWidget;
    auto *pages = new QVBoxLayout(body);
    const std::unique_ptr<Poppler::Document> document = openDocument(path);
    const int shown = document ? addPages(document.get(), pages, body) : 0;
    if (shown == 0) {
        auto *message = new QLabel(QStringLiteral("无法打开该合同文件：%1").arg(QFileInfo(path).fileName()), body);
        message->setObjectName(QStringLiteral("pdfPreviewMessage"));
        pages->addWidget(message, 0, Qt::AlignCenter);
    }
    scroll->setWidget(body);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    window->setProperty("pageCount", shown);
    window->resize(860, 900);
    window->show();
    return window;
}
