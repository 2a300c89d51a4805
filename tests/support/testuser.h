#pragma once
// Who is signed in for a test: the identity the host puts in DataCenter, and the rights and
// departments the downloads would store. HostFixture::signInAs applies it; the defaults are
// the fixture's own agent, an ordinary user whose rights have not been stored yet.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

class TestUser
{
public:
    static const QString kPhone;  // the fixture's agent

    TestUser &phone(const QString &phone);
    TestUser &company(int companyId);
    TestUser &jointSaleCompany(int companyId);
    TestUser &city(int cityId);
    TestUser &userId(int yongHuId);
    TestUser &manager(bool on = true);
    TestUser &jointSaleManager(bool on = true);

    // One of the user's own departments.
    TestUser &ownDepartment(int id, const QString &name = QString());
    // The company's department tree; nodes built with department().
    TestUser &departmentTree(const QVariantList &tree);
    static QVariantMap department(int id, const QVariantList &sons = QVariantList());

    // A granted right with its range (see UserMessage_DataSqlTable::RangeKind), the chosen
    // departments of range 5, the chosen sub-options and its limit (metres, listings, days).
    TestUser &grant(int right, int range = 1, const QVariantList &bumens = QVariantList(),
                    const QStringList &sons = QStringList(), int count = 0);
    TestUser &grant(const QList<int> &rights, int range = 1);
    // Right entries as the server writes them, granted or not.
    TestUser &rights(const QVariantList &entries);
    // The view range right (132), limited to metres around the store when given.
    TestUser &viewRange(int range, int metres = 0);
    // The rights download arrived and was empty.
    TestUser &withoutRights();

private:
    friend class HostFixture;

    QString m_phone = kPhone;
    int m_companyId = 1001;
    int m_jointSaleCompanyId = 9001;
    int m_cityId = 340100;
    int m_yongHuId = 501;
    bool m_manager = false;
    bool m_jointSaleManager = false;

    bool m_rightsStored = false;
    QVariantList m_rights;
    bool m_departmentsStored = false;
    QVariantList m_ownDepartments;
    QVariantList m_tree;
};
