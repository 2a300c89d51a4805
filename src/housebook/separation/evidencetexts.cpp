#include "separation/evidencetexts.h"

#include "net/formencoding.h"
#include "net/wholenumber.h"

namespace EvidenceTexts {

const char *const kEleContractLine = "合同编号：[w]contractno[cp] [w]typename[cp]\n签约人：[w]qianyueren[cp]-[w]storename[cp]";
const char *const kDealContractLine = "[w]xiaoqu[cp] [w]houseaddress[cp]\n合同编号：[w]contractno[cp] 签约人：[w]qianyueren[cp]-[w]storename[cp]";

QString fill(const QString &pattern, const QVariantMap &record)
{
    static const QString open = QStringLiteral("[w]");
    static const QString close = QStringLiteral("[cp]");
    QString out;
    int from = 0;
    while (true) {
        const int start = pattern.indexOf(open, from);
        const int end = start < 0 ? -1 : pattern.indexOf(close, start + open.size());
        if (end < 0)
            break;
        out += pattern.midRef(from, start - from);
        const QString name = pattern.mid(start + open.size(), end - start - open.size());
        out += FormEncoding::valueText(record.value(name));
        from = end + close.size();
    }
    out += pattern.midRef(from);
    return out;
}

QString maskIdentity(const QString &number)
{
    const QString trimmed = number.trimmed();
    if (trimmed.isEmpty())
        return QString();
    if (trimmed.size() < 8)
        return QStringLiteral("****");
    return trimmed.left(3) + QStringLiteral("****") + trimmed.right(4);
}

QString verifierText(const QVariantMap &verifier)
{
    QString text = QStringLiteral("%1(%2)").arg(verifier.value(QStringLiteral("name")).toString(),
                                                 verifier.value(QStringLiteral("type")).toString());
    if (WholeNumber::toInt(verifier.value(QStringLiteral("isweituo"))) == 1)
        text += QStringLiteral("(委托人)");
    const QString idcard = maskIdentity(FormEncoding::valueText(verifier.value(QStringLiteral("idcard"))));
    if (!idcard.isEmpty())
        text += QLatin1Char(' ') + idcard;
    return text;
}

} // namespace EvidenceTexts
