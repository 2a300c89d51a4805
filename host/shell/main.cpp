// The demo host: starts (or names) an alliance server, loads the house-book plug-in from
// its own folder, signs a user in and opens the sale book, like the agency client does.
#include "automation.h"
#include "embeddedserver.h"
#include "hostoptions.h"
#include "hostwindow.h"
#include "pluginloader.h"
#include "signindialog.h"
#include "signinsession.h"

#include "datacenter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTextStream>

namespace {

// The simulator's seeded users, offered when the host talks to a simulator it did not start.
const char *const kSeededPhones[] = {"13800000001", "13800000002", "13800000003", "13800000004", "13800000005"};

enum ExitCode { BadArguments = 1, SignInFailed = 2, NoServer = 4, NoPlugin = 5 };

// Reports on the terminal, and in a box too when a person is watching.
int stop(int code, const QString &text, bool interactive)
{
    QTextStream(stderr) << "qx_host: " << text << Qt::endl;
    if (interactive)
        QMessageBox::critical(nullptr, QStringLiteral("联卖房源本"), text);
    return code;
}

// On the agency's machines the plug-in keeps its personal databases in the application
// folder. Here that is the build folder, which every user and every run would share, so each
// user gets a folder of their own under the user's data location; a folder already named in
// the environment is kept. The plug-in reads it on first use, which comes after the sign-in.
QString useDataFolderOf(const QString &phone)
{
    const char name[] = "QX_HOUSEBOOK_DATA_DIR";
    QString folder = qEnvironmentVariable(name);
    if (folder.isEmpty()) {
        folder = QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)).filePath(phone);
        qputenv(name, QFile::encodeName(folder));
    }
    QDir().mkpath(folder);
    return folder;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qx_host"));

    HostOptions options;
    QString error;
    if (!options.parse(QApplication::arguments(), &error))
        return stop(BadArguments, error, false);
    const bool interactive = options.phone.isEmpty() && options.quitAfterMs < 0;

    // The plug-in reads its server roots once, on first use: they must be set before it loads.
    EmbeddedServer embedded;
    QString server = options.server;
    if (server.isEmpty())
        server = qEnvironmentVariable("QX_HOUSEBOOK_SERVER");
    if (server.isEmpty()) {
        if (!embedded.start(&error))
            return stop(NoServer, error, interactive);
        server = embedded.baseUrl();
    }
    while (server.endsWith(QLatin1Char('/')))
        server.chop(1);
    qputenv("QX_HOUSEBOOK_SERVER", server.toUtf8());
    QTextStream(stdout) << "qx_host: server " << server << Qt::endl;

    PluginLoader plugin;
    if (!plugin.load(QApplication::applicationDirPath()))
        return stop(NoPlugin, QStringLiteral("无法加载插件：%1").arg(plugin.errorString()), interactive);

    HostWindow window(plugin.exports());
    DataCenter::MainWindowWidget = &window;
    DataCenter::addThemeWidget(QStringLiteral("main"), &window);

    Automation automation(&window, options.screenshot, options.quitAfterMs);
    QObject::connect(&window, &HostWindow::exportCalled, &automation, &Automation::pageRequested);
    automation.start();

    SignInSession session(server);
    QStringList phones = embedded.userPhones();
    if (phones.isEmpty()) {
        for (const char *phone : kSeededPhones)
            phones << QString::fromLatin1(phone);
    }
    SignInDialog dialog(&session, phones, server);
    // Unattended runs have nobody to press the button: the preselected user signs in.
    if (options.phone.isEmpty() && (options.quitAfterMs >= 0 || !options.screenshot.isEmpty()))
        options.phone = phones.value(0);
    if (!options.phone.isEmpty()) {
        dialog.show();
        dialog.signInNow(options.phone, true);
    }
    if (dialog.exec() != QDialog::Accepted) {
        if (!dialog.lastError().isEmpty())
            return stop(SignInFailed, QStringLiteral("登录失败：%1").arg(dialog.lastError()), false);
        if (!options.phone.isEmpty())
            return stop(SignInFailed, QStringLiteral("登录未在限定时间内完成"), false);
        return 0;  // the user closed the login window
    }
    embedded.setSignedInPhone(DataCenter::UserPhoneNumber);
    QTextStream(stdout) << "qx_host: data " << useDataFolderOf(DataCenter::UserPhoneNumber) << Qt::endl;
    QTextStream(stdout) << "qx_host: signed in " << DataCenter::UserPhoneNumber << " company " << DataCenter::CompanyID
                        << " city " << DataCenter::CityID << " joint-sale company " << DataCenter::JointSaleCompanyId
                        << (DataCenter::isJointSaleManger ? " (manager)" : "") << Qt::endl;

    window.show();
    window.showStatus(QStringLiteral("已登录 %1（公司 %2，联卖公司 %3%4）")
                          .arg(DataCenter::UserPhoneNumber)
                          .arg(DataCenter::CompanyID)
                          .arg(DataCenter::JointSaleCompanyId)
                          .arg(DataCenter::isJointSaleManger ? QStringLiteral("，联卖管理员") : QString()));
    // The sale book starts the plug-in's first downloads; its progress shows in the status bar.
    window.openExport(options.openExport.isEmpty() ? QStringLiteral("loadHouseListWidget") : options.openExport,
                      options.id);
    const int code = QApplication::exec();
    DataCenter::removeThemeWidget(QStringLiteral("main"), &window);
    DataCenter::MainWindowWidget = nullptr;
    return code;
}
