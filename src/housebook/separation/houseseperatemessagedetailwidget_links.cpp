// The entry's links: its contract, shown by the host's contract manager, and its electronic
// contracts, downloaded and shown by the host's electronic contract library.
#include "separation/houseseperatemessagedetailwidget.h"

#include "platform/siblinglibrary.h"
#include "separation/seperatedetailcontent.h"
#include "sql/basesqlobject.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using ShowContractDetail = QWidget *(*)(QWidget *parent, const QVariantMap &args);
using PdfPreview = QWidget *(*)(const QString &path, QWidget *parent);

const QString kMissingLibrary = QStringLiteral("缺少<房源本>组件！");

QPushButton *linkButton(const QString &caption, const QString &text, const QString &objectName, QVBoxLayout *layout)
{
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(caption));
    auto *link = new QPushButton(text);
    link->setObjectName(objectName);
    link->setFlat(true);
    link->setCursor(Qt::PointingHandCursor);
    link->setStyleSheet(QStringLiteral("color:rgb(52,133,234);text-decoration:underline;border:none;text-align:left;"));
    row->addWidget(link);
    row->addStretch(1);
    layout->addLayout(row);
    return link;
}

} // namespace

QString HouseSeperateMessageDetailWidget::temporaryFolder()
{
    return BaseSqlObject::applicationDir() + QStringLiteral("/cache/temporary");
}

void HouseSeperateMessageDetailWidget::addLinks(QVBoxLayout *layout)
{
    if (SeperateDetailContent::hasContract(m_detail)) {
        const QString number = m_detail.contractNo.isEmpty() ? m_detail.contractid : m_detail.contractNo;
        connect(linkButton(QStringLiteral("合同："), number, QStringLiteral("contractLink"), layout), &QPushButton::clicked,
                this, &HouseSeperateMessageDetailWidget::showContract);
    }
    if (SeperateDetailContent::keepsElectronicContracts(m_row.type) || !m_detail.pdf.isEmpty()) {
        QStringList names;
        for (const auto &pdf : qAsConst(m_detail.pdf))
            names << (pdf.name.isEmpty() ? QStringLiteral("dud合同") : pdf.name);
        const QString text = names.isEmpty() ? QStringLiteral("查看") : names.join(QStringLiteral("、"));
        connect(linkButton(QStringLiteral("dud："), text, QStringLiteral("dudLink"), layout), &QPushButton::clicked, this,
                &HouseSeperateMessageDetailWidget::chooseElectronicContract);
    }
}

void HouseSeperateMessageDetailWidget::showContract()
{
    auto show = SiblingLibrary::resolveAs<ShowContractDetail>(m_contractLibrary, "showContractDetail", kMissingLibrary);
    if (!show)
        return;
    show(window(), {{QStringLiteral("contractId"), m_detail.contractid},
                    {QStringLiteral("contractNo"), m_detail.contractNo},
                    {QStringLiteral("houseId"), m_house.id},
                    {QStringLiteral("houseTitle"), m_house.name},
                    {QStringLiteral("entryId"), m_row.id},
                    {QStringLiteral("roleType"), m_row.type}});
}

void HouseSeperateMessageDetailWidget::chooseElectronicContract()
{
    const auto &pdfs = m_detail.pdf;
    if (pdfs.isEmpty()) {
        AlertWidget::warning(QStringLiteral("无可查看的dud合同！"));
        return;
    }
    if (pdfs.size() == 1) {
        openElectronicContract(pdfs.first());
        return;
    }
    auto *list = new QListWidget;
    list->setObjectName(QStringLiteral("dudList"));
    for (const auto &pdf : pdfs)
        list->addItem(pdf.name.isEmpty() ? pdf.url : pdf.name);
    CommonAddWidget *frame = openPopup(this, PopupSize::DaysChooser, QStringLiteral("选择要查看的dud合同"), list);
    connect(list, &QListWidget::itemClicked, frame, [this, frame, list](QListWidgetItem *item) {
        const int row = list->row(item);
        frame->closeWidget();
        if (row >= 0 && row < m_detail.pdf.size())
            openElectronicContract(m_detail.pdf.at(row));
    });
}

// The preview is resolved before the download, so a host without it costs no download.
void HouseSeperateMessageDetailWidget::openElectronicContract(const HouseBookSeperateDetail_Model::Pdf &pdf)
{
    m_preview = SiblingLibrary::resolve(m_pdfLibrary, "pdfPreview", kMissingLibrary, QStringLiteral("pdfPreview 导出失败！"));
    if (!m_preview)
        return;
    m_overlay->start(QStringLiteral("下载dud合同中..."));
    m_service->downloadPdf(pdf.url, temporaryFolder());
}

void HouseSeperateMessageDetailWidget::previewDownloaded(const QString &path)
{
    m_overlay->stop();
    if (m_preview)
        reinterpret_cast<PdfPreview>(m_preview)(path, window());
}
