// A review library standing in for the host's, for the survey page tests: it remembers which
// survey record it was asked to show instead of showing it.
#include <QString>
#include <QtGlobal>

class QWidget;

namespace {
int g_calls = 0;
int g_houseId = 0;
QString g_recordId;
} // namespace

extern "C" Q_DECL_EXPORT void loadReviewDetail(QWidget *, int houseId, const QString &recordId)
{
    ++g_calls;
    g_houseId = houseId;
    g_recordId = recordId;
}

extern "C" Q_DECL_EXPORT int lastReviewCall(int *houseId, QString *recordId)
{
    *houseId = g_houseId;
    *recordId = g_recordId;
    return g_calls;
}
