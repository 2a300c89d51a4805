#pragma once
// The demo host's command line: which server to use, who signs in, and what to do unattended.
#include <QString>
#include <QStringList>

struct HostOptions
{
    QString server;       // "--server URL": all six roots on that server; empty: see serverFromEnvironment
    QString phone;        // "--phone P": sign in at once with this phone, no dialog
    QString openExport;   // "--open NAME": call this export after signing in (default: the sale book)
    int id = -1;          // "--id N": listing id for the detail and record exports, list kind for the books
    QString screenshot;   // "--screenshot FILE": grab the window once the opened page has settled
    int quitAfterMs = -1; // "--quit-after MS": end at the latest after this long

    // Parses the arguments; on a bad value returns false with the reason in *error.
    bool parse(const QStringList &arguments, QString *error);
};
