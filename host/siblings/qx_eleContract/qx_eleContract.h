#pragma once
// The host's electronic contract library, the part the role entry details call to show a
// downloaded contract. Callers load it on demand by file name ("qx_eleContract.dll") and
// resolve the undecorated export below.
#include <QString>
#include <QtGlobal>

#if defined(QX_ELECONTRACT_LIBRARY)
#define QX_ELECONTRACT_EXPORT Q_DECL_EXPORT
#else
#define QX_ELECONTRACT_EXPORT Q_DECL_IMPORT
#endif

class QWidget;

// Opens a window ("pdfPreviewWindow", a top-level window owned by parent, deleted when closed)
// showing the PDF file at path, one picture per page ("pdfPage") in a scroll area, and returns
// it at once; its property "pageCount" holds the number of pages shown. A file that is
// missing, not a PDF or locked shows "无法打开该合同文件：<file name>" ("pdfPreviewMessage")
// in the window instead, with "pageCount" 0.
extern "C" QX_ELECONTRACT_EXPORT QWidget *pdfPreview(const QString &path, QWidget *parent);
