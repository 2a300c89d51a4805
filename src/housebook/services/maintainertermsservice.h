#pragma once
// The maintainers' terms of the listings: downloaded from the server and stored in the local
// maintainer table, where the maintainer worklist joins them with the listings. A failed
// download keeps the terms stored by the last one and says why; it shows no message box,
// since the worklist tells of it in its own table.
#include <QJsonValue>
#include <QObject>
#include <QString>

class MaintainerTermsService : public QObject
{
    Q_OBJECT
public:
    explicit MaintainerTermsService(QObject *parent = nullptr);

    void download();
    // Replaces the stored terms with those of a reply: a JSON array of objects (other
    // items are skipped).
    static void storeTerms(const QJsonValue &reply);

signals:
    void termsStored();
    void downloadFailed(const QString &reason);
};
