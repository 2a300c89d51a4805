#include "separation/reportexport.h"

#include "platform/siblinglibrary.h"
#include "widgets/alertwidget.h"

#include <QDir>
#include <QFileDialog>

namespace ReportExport {

namespace {

SavePathProvider &provider()
{
    static SavePathProvider instance;
    return instance;
}

QString askForPath(QWidget *parent)
{
    const QString caption = QStringLiteral("选择存储位置");
    const QString filter = QStringLiteral("Microsoft Office Excel (*.xlsx)");
    if (provider())
        return provider()(parent, caption, proposedPath(), filter);
    return QFileDialog::getSaveFileName(parent, caption, proposedPath(), filter);
}

QString target(const HighSeperateReportList_Model::ItemData &report)
{
    QStringList parts;
    for (const QString &part : {report.fdstepname, report.sh.username}) {
        if (!part.isEmpty())
            parts << part;
    }
    return parts.join(QStringLiteral("："));
}

} // namespace

QStringList headers()
{
    return {QStringLiteral("房源编号"), QStringLiteral("举报对象"), QStringLiteral("举报人"), QStringLiteral("举报时间"),
            QStringLiteral("举报内容"), QStringLiteral("状态"),     QStringLiteral("审核人"), QStringLiteral("审核时间")};
}

QList<QStringList> rows(const QList<HighSeperateReportList_Model::ItemData> &reports)
{
    QList<QStringList> out;
    for (const HighSeperateReportList_Model::ItemData &report : reports) {
        out << QStringList{report.itemid,  target(report),     report.author,   report.time,
                           report.content, report.stateText(), report.shenpiren, report.shenpitime};
    }
    return out;
}

void setSavePathProvider(const SavePathProvider &replacement)
{
    provider() = replacement;
}

QString proposedPath()
{
    const QString start = QDir(QStringLiteral("C:/")).exists() ? QStringLiteral("C:/") : QDir::homePath();
    return QDir::cleanPath(start + QStringLiteral("/最近30天举报记录.xlsx"));
}

void save(QWidget *parent, const QList<HighSeperateReportList_Model::ItemData> &reports, const QString &library)
{
    auto write = SiblingLibrary::resolveAs<SaveExcelToPath>(library, "saveExcelToPath", QStringLiteral("缺少<Excel>组件！"));
    if (!write)
        return;
    const QString path = askForPath(parent);
    if (path.isEmpty())
        return;
    if (write(headers(), rows(reports), path))
        AlertWidget::tip(QStringLiteral("导出Excel表完成！"));
    else
        AlertWidget::warning(QStringLiteral("导出Excel表失败，请检查存储位置是否可写！"));
}

} // namespace ReportExport
