#pragma once
// Texts the evidence forms build from server records: list lines filled from a template,
// verifiers as the commission form offers them, and identity numbers shown masked.
#include <QString>
#include <QVariantMap>

namespace EvidenceTexts {

// Replaces each "[w]name[cp]" in the template by the record's member of that name (a
// missing member gives nothing). Values are inserted as they are, never read as template.
QString fill(const QString &pattern, const QVariantMap &record);

// An identity number with all but its first 3 and last 4 characters hidden behind "****";
// a number too short to keep both ends is hidden entirely.
QString maskIdentity(const QString &number);

// A verifier of the commission form: "name(type)", "(委托人)" after one who holds the
// owner's commission, then the masked identity number when there is one.
QString verifierText(const QVariantMap &verifier);

// The list lines of the electronic contracts and of the deal contracts.
extern const char *const kEleContractLine;
extern const char *const kDealContractLine;

} // namespace EvidenceTexts
