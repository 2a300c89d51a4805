#pragma once
// The host's spreadsheet library. Callers load it on demand by file name ("qx_excel.dll")
// and resolve the one undecorated export below.
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#if defined(QX_EXCEL_LIBRARY)
#define QX_EXCEL_EXPORT Q_DECL_EXPORT
#else
#define QX_EXCEL_EXPORT Q_DECL_IMPORT
#endif

// Writes a workbook of one sheet to path (replacing a file there): headers as a bold first
// row, then one row per entry of rows, cell by cell as text. Columns are as wide as their
// longest line, a CJK character counting twice. Characters a workbook cannot hold (control
// characters other than tab and line breaks) are left out, and a cell keeps at most the
// 32767 characters a workbook allows. True when the file was written completely.
extern "C" QX_EXCEL_EXPORT bool saveExcelToPath(const QStringList &headers, const QList<QStringList> &rows,
                                                const QString &path);
