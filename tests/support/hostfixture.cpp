#include "hostfixture.h"

#include "datacenter.h"
#include "sql/basesqlobject.h"
#include "sql/booksyncstatus.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

HostFixture::HostFixture() : m_dir(new QTemporaryDir)
{
    // Every location the plug-in writes to lies in this fixture's own folder.
    qputenv("XDG_DATA_HOME", m_dir->filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", m_dir->filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_CACHE_HOME", m_dir->filePath(QStringLiteral("cache")).toUtf8());

    BaseSqlObject::setPersonalBaseDir(m_dir->filePath(QStringLiteral("app")));

    DataCenter::reset();
    BookSyncStatus::instance()->reset();
    DataCenter::CityID = 340100;
    DataCenter::CompanyID = 1001;
    DataCenter::JointSaleCompanyId = 9001;
    DataCenter::YongHuID = 501;
    DataCenter::UserPhoneNumber = QStringLiteral("13800000001");
    DataCenter::UserOnline = true;
    DataCenter::CurrentWindow = QStringLiteral("main");

    m_main = new QWidget;
    m_main->setObjectName(QStringLiteral("hostMainWindow"));
    m_main->resize(1200, 800);
    m_main->show();
    DataCenter::MainWindowWidget = m_main;
    DataCenter::addThemeWidget(QStringLiteral("main"), m_main);
}

HostFixture::~HostFixture()
{
    delete m_main;
    BaseSqlObject::removeAllConnect();
    BaseSqlObject::setPersonalBaseDir(QString());
    DataCenter::reset();
    BookSyncStatus::instance()->reset();
}

QString HostFixture::dataDir() const
{
    return m_dir->path();
}
