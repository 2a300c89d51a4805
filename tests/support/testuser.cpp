#include "testuser.h"

const QString TestUser::kPhone = QStringLiteral("13800000001");

TestUser &TestUser::phone(const QString &phone)
{
    m_phone = phone;
    return *this;
}

TestUser &TestUser::company(int companyId)
{
    m_companyId = companyId;
    return *this;
}

TestUser &TestUser::jointSaleCompany(int companyId)
{
    m_jointSaleCompanyId = companyId;
    return *this;
}

TestUser &TestUser::city(int cityId)
{
    m_cityId = cityId;
    return *this;
}

TestUser &TestUser::userId(int yongHuId)
{
    m_yongHuId = yongHuId;
    return *this;
}

TestUser &TestUser::manager(bool on)
{
    m_manager = on;
    return *this;
}

TestUser &TestUser::jointSaleManager(bool on)
{
    m_jointSaleManager = on;
    return *this;
}

TestUser &TestUser::ownDepartment(int id, const QString &name)
{
    m_departmentsStored = true;
    m_ownDepartments << QVariantMap{{"id", id}, {"name", name}};
    return *this;
}

TestUser &TestUser::departmentTree(const QVariantList &tree)
{
    m_departmentsStored = true;
    m_tree = tree;
    return *this;
}

QVariantMap TestUser::department(int id, const QVariantList &sons)
{
    QVariantMap node{{"dept_id", id}};
    if (!sons.isEmpty())
        node.insert(QStringLiteral("sons"), sons);
    return node;
}

TestUser &TestUser::grant(int right, int range, const QVariantList &bumens, const QStringList &sons, int count)
{
    m_rightsStored = true;
    m_rights << QVariantMap{{"id", right}, {"selected", true}, {"range", range},
                            {"bumens", bumens}, {"count", count}, {"sons", sons}};
    return *this;
}

TestUser &TestUser::grant(const QList<int> &rights, int range)
{
    for (int right : rights)
        grant(right, range);
    return *this;
}

TestUser &TestUser::rights(const QVariantList &entries)
{
    m_rightsStored = true;
    m_rights << entries;
    return *this;
}

TestUser &TestUser::viewRange(int range, int metres)
{
    return grant(132, range, QVariantList(), QStringList(), metres);
}

TestUser &TestUser::withoutRights()
{
    m_rightsStored = true;
    m_rights.clear();
    return *this;
}
