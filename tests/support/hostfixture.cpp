#include "hostfixture.h"

#include "datacenter.h"
#include "sql/basesqlobject.h"
#include "sql/booksyncstatus.h"
#include "sql/firstbookdownload.h"
#include "sql/usermessage_datasqltable.h"

#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTest>
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
    signInAs(TestUser());
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
    // A first download a page started must not answer into the next fixture's store (the same
    // phone opens the same file names there): its replies would replace that user's rights.
    if (!QTest::qWaitFor([] { return !FirstBookDownload::isRunning(true) && !FirstBookDownload::isRunning(false); }, 30000))
        qWarning("HostFixture: a first download was still running when the fixture ended");
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

namespace {

QString jsonText(const QVariant &value)
{
    return QString::fromUtf8(QJsonDocument::fromVariant(value).toJson(QJsonDocument::Compact));
}

void store(const QString &column, const QString &value)
{
    for (bool jointSale : {false, true}) {
        if (!UserMessage_DataSqlTable(nullptr, jointSale).updateColumn(column, value))
            QTest::qFail("the user store refused the signed-in user's row", __FILE__, __LINE__);
    }
}

} // namespace

void HostFixture::signInAs(const TestUser &user)
{
    DataCenter::UserPhoneNumber = user.m_phone;
    DataCenter::CompanyID = user.m_companyId;
    DataCenter::JointSaleCompanyId = user.m_jointSaleCompanyId;
    DataCenter::CityID = user.m_cityId;
    DataCenter::YongHuID = user.m_yongHuId;
    DataCenter::isManager = user.m_manager;
    DataCenter::isJointSaleManger = user.m_jointSaleManager;
    if (user.m_departmentsStored)
        store(QStringLiteral("bumens"), jsonText(QVariantMap{{"suozai_bumens", user.m_ownDepartments}, {"sons", user.m_tree}}));
    if (user.m_rightsStored)
        store(QStringLiteral("userauth"), jsonText(user.m_rights));
}
