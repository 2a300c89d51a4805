#pragma once
// The workbook of recent reports: its columns and rows, the place the reviewer picks for it,
// and the host's spreadsheet library that writes it.
#include "services/separationmodels.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace ReportExport {

// The export's entry in the spreadsheet library:
// bool saveExcelToPath(const QStringList &headers, const QList<QStringList> &rows, const QString &path)
using SaveExcelToPath = bool (*)(const QStringList &, const QList<QStringList> &, const QString &);

QStringList headers();
// One row per report, in the order of headers().
QList<QStringList> rows(const QList<HighSeperateReportList_Model::ItemData> &reports);

// Asks where to store the workbook: (parent, caption, proposed path, filter) → the chosen
// path, empty when the reviewer cancelled. The file dialog unless replaced.
using SavePathProvider = std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;
// An empty provider puts the file dialog back.
void setSavePathProvider(const SavePathProvider &provider);
// The folder the dialog starts in ("C:/", or the home folder where there is none) with the
// workbook's default name.
QString proposedPath();

// Asks for the place and has the library write the reports there; every outcome is told in a
// box. Nothing is asked when the library is missing.
void save(QWidget *parent, const QList<HighSeperateReportList_Model::ItemData> &reports,
          const QString &library = QStringLiteral("qx_excel.dll"));

} // namespace ReportExport
