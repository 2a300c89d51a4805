#pragma once
// Puts the process in the state the host leaves it in: a signed-in user, a main window
// registered as "main", and local data under a fresh temporary folder.
#include "testuser.h"

#include <QScopedPointer>
#include <QString>

class QTemporaryDir;
class QWidget;

class HostFixture
{
public:
    HostFixture();
    ~HostFixture();

    // A shown main window registered under "main" and set as DataCenter::MainWindowWidget.
    QWidget *mainWindow() const { return m_main; }
    QString dataDir() const;

    // Signs the given user in as the host would: identity and manager flags in DataCenter, and,
    // when the user has them, rights and departments in the user store of both books.
    static void signInAs(const TestUser &user);

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QWidget *m_main = nullptr;
};
