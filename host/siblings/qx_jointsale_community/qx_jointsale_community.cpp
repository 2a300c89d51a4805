#include "qx_jointsale_community.h"

#include "datacenter.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// The plug-in's database folder is named after its version, points replaced.
const QString kStoreFolder = QStringLiteral("sql/4_2_0_1");

QString companyDatabase(int companyId)
{
    const QByteArray key = QString::number(companyId).toLatin1() + "v2.0";
    const QString digest = QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Md5).toHex());
    return QStringLiteral("%1/%2/cp-c-%3.db")
        .arg(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation), kStoreFolder, digest.mid(8, 16));
}

// One community row of one database file; empty when the file or the row is missing.
QVariantMap readCommunity(const QString &file, int communityId)
{
    QVariantMap row;
    if (!QFileInfo::exists(file))
        return row;
    const QString connection = QStringLiteral("qx_jointsale_community-%1").arg(quintptr(&row));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
        if (db.open()) {
            QSqlQuery q(db);
            q.prepare(QStringLiteral("select * from community where id=?"));
            q.addBindValue(communityId);
            if (q.exec() && q.next()) {
                const QSqlRecord rec = q.record();
                for (int k = 0; k < rec.count(); ++k)
                    row.insert(rec.fieldName(k), q.value(k));
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return row;
}

QLabel *valueLabel(QWidget *parent, const QString &objectName, const QString &text)
{
    auto *label = new QLabel(text.isEmpty() ? QStringLiteral("暂无") : text, parent);
    label->setObjectName(objectName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

void fillArchive(QWidget *page, const QVariantMap &c)
{
    auto *title = new QLabel(c.value(QStringLiteral("name")).toString(), page);
    title->setObjectName(QStringLiteral("communityName"));
    title->setStyleSheet(QStringLiteral("font-size:18px;font-weight:bold;"));
    auto *form = new QFormLayout;
    auto text = [&c](const char *key) { return c.value(QLatin1String(key)).toString(); };
    form->addRow(QStringLiteral("区域："), valueLabel(page, QStringLiteral("communityDistrict"),
                                                     QStringList{text("districtname"), text("areaname")}.join(QLatin1Char(' ')).trimmed()));
    form->addRow(QStringLiteral("地址："), valueLabel(page, QStringLiteral("communityAddress"), text("address")));
    form->addRow(QStringLiteral("建成年代："), valueLabel(page, QStringLiteral("communityYears"), text("years")));
    form->addRow(QStringLiteral("位置："), valueLabel(page, QStringLiteral("communityPosition"),
                                                     text("lng").isEmpty() ? QString() : QStringLiteral("%1, %2").arg(text("lng"), text("lat"))));
    form->addRow(QStringLiteral("楼栋数："), valueLabel(page, QStringLiteral("communityBuildings"), text("buildingcount")));
    form->addRow(QStringLiteral("总户数："), valueLabel(page, QStringLiteral("communityHouses"), text("housecount")));
    form->addRow(QStringLiteral("建筑类型："), valueLabel(page, QStringLiteral("communityBuildingType"), text("buildingtype")));
    form->addRow(QStringLiteral("绿化率："), valueLabel(page, QStringLiteral("communityGreen"), text("green")));
    form->addRow(QStringLiteral("物业公司："), valueLabel(page, QStringLiteral("communityPropertyCompany"), text("propertycompany")));
    form->addRow(QStringLiteral("物业费："), valueLabel(page, QStringLiteral("communityPropertyFee"), text("propertyfee")));
    form->addRow(QStringLiteral("开发商："), valueLabel(page, QStringLiteral("communityDeveloper"), text("buildingcompany")));
    form->addRow(QStringLiteral("对口学校："), valueLabel(page, QStringLiteral("communitySchools"),
                                                       QStringList{text("primaryschool"), text("middleschool")}.join(QLatin1Char(' ')).trimmed()));
    form->addRow(QStringLiteral("参考均价："), valueLabel(page, QStringLiteral("communityPrice"), text("price")));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(title);
    layout->addLayout(form);
    layout->addStretch();
}

} // namespace

bool loadLocalCommunityData(int communityId, QVariantMap *out)
{
    if (!out || communityId <= 0)
        return false;
    for (int company : {DataCenter::CompanyID, DataCenter::JointSaleCompanyId}) {
        if (company <= 0)
            continue;
        const QVariantMap row = readCommunity(companyDatabase(company), communityId);
        if (!row.isEmpty()) {
            *out = row;
            return true;
        }
    }
    return false;
}

QWidget *localCommunityShow(QWidget *parent, int communityId)
{
    auto *page = new QWidget(parent);
    page->setObjectName(QStringLiteral("communityArchivePage"));
    QVariantMap community;
    if (loadLocalCommunityData(communityId, &community)) {
        fillArchive(page, community);
    } else {
        auto *layout = new QVBoxLayout(page);
        auto *none = new QLabel(QStringLiteral("暂无该小区的档案信息"), page);
        none->setObjectName(QStringLiteral("communityMissing"));
        none->setAlignment(Qt::AlignCenter);
        layout->addWidget(none);
    }
    return page;
}
