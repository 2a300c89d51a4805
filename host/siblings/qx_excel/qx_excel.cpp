#include "qx_excel.h"

#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>

namespace {

constexpr int kMaxCellLength = 32767;
constexpr double kMaxColumnWidth = 80;

bool isWide(uint ucs)
{
    return (ucs >= 0x1100 && ucs <= 0x115F) || (ucs >= 0x2E80 && ucs <= 0xA4CF) || (ucs >= 0xAC00 && ucs <= 0xD7A3)
        || (ucs >= 0xF900 && ucs <= 0xFAFF) || (ucs >= 0xFE30 && ucs <= 0xFE4F) || (ucs >= 0xFF00 && ucs <= 0xFF60)
        || (ucs >= 0xFFE0 && ucs <= 0xFFE6) || (ucs >= 0x20000 && ucs <= 0x3FFFD);
}

// Columns a text takes in the sheet: its longest line, wide characters counting twice.
int displayWidth(const QString &text)
{
    int widest = 0;
    int line = 0;
    for (uint ucs : text.toUcs4()) {
        if (ucs == '\n') {
            line = 0;
            continue;
        }
        line += isWide(ucs) ? 2 : 1;
        widest = std::max(widest, line);
    }
    return widest;
}

QString cellText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out.append(c);
    }
    if (out.size() > kMaxCellLength) {
        out.truncate(kMaxCellLength);
        if (out.at(out.size() - 1).isHighSurrogate())
            out.chop(1);
    }
    return out;
}

bool writeRow(lxw_worksheet *sheet, lxw_row_t row, const QStringList &cells, lxw_format *format,
              QVector<int> *widths)
{
    for (int col = 0; col < cells.size(); ++col) {
        const QString text = cellText(cells.at(col));
        if (widths->size() <= col)
            widths->resize(col + 1);
        (*widths)[col] = std::max(widths->at(col), displayWidth(text));
        if (text.isEmpty())
            continue;
        if (worksheet_write_string(sheet, row, lxw_col_t(col), text.toUtf8().constData(), format) != LXW_NO_ERROR)
            return false;
    }
    return true;
}

} // namespace

bool saveExcelToPath(const QStringList &headers, const QList<QStringList> &rows, const QString &path)
{
    if (path.isEmpty() || rows.size() + 1 > LXW_ROW_MAX)
        return false;
    const QByteArray file = QFile::encodeName(path);
    lxw_workbook *book = workbook_new(file.constData());
    if (!book)
        return false;
    lxw_worksheet *sheet = workbook_add_worksheet(book, nullptr);
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);

    QVector<int> widths;
    bool ok = sheet && writeRow(sheet, 0, headers, bold, &widths);
    for (int i = 0; ok && i < rows.size(); ++i)
        ok = writeRow(sheet, lxw_row_t(i + 1), rows.at(i), nullptr, &widths);
    for (int col = 0; ok && col < widths.size(); ++col) {
        const double width = std::min(kMaxColumnWidth, double(widths.at(col) + 2));
        worksheet_set_column(sheet, lxw_col_t(col), lxw_col_t(col), width, nullptr);
    }
    // The workbook is written out on closing, which also frees it.
    const bool written = workbook_close(book) == LXW_NO_ERROR;
    if (!ok || !written) {
        QFile::remove(path);
        return false;
    }
    return true;
}
