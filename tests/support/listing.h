#pragma once
// A listing record as the server sends it and the house store keeps it. The defaults make an
// active public sale listing of another agent, in the signed-in user's city, company and
// department, so a test states only what it varies.
#include <QJsonObject>
#include <QString>
#include <QVariantMap>

class Listing
{
public:
    static const QString kOwner;  // the other agent who owns a listing unless told otherwise

    explicit Listing(qint64 id);

    Listing &sale();
    Listing &rent();
    Listing &status(const QString &newstate);
    Listing &active(bool onShelf = true);  // housestatus 1, or 0 (waiting to be dealt with)
    Listing &price(double price);
    Listing &unitPrice(double unitPrice);
    Listing &area(double builtUpArea);
    Listing &community(int id, const QString &name);
    Listing &district(const QString &district, const QString &area);
    Listing &unit(const QString &building, const QString &unit, const QString &room);
    Listing &floors(int floor, int allFloors);
    Listing &owner(const QString &phone);
    Listing &department(int deptId);
    Listing &company(int companyId);
    Listing &city(int cityId);
    // A collaboration role (lururen, weihuren, dujiaren, ...) held by one person.
    Listing &role(const QString &roleKey, const QString &name, const QString &phone, bool reviewed = true);
    Listing &created(const QString &time);
    Listing &updated(const QString &time);

    Listing &top(bool on = true);
    Listing &locked(bool on = true);
    Listing &sealed(bool on = true);
    Listing &exclusive(bool on = true);
    Listing &deleted(bool on = true);
    Listing &underReview(bool on = true);

    Listing &set(const QString &key, const QVariant &value);
    Listing &with(const QVariantMap &changes);

    QVariantMap map() const { return m_fields; }
    operator QVariantMap() const { return m_fields; }
    QJsonObject json() const { return QJsonObject::fromVariantMap(m_fields); }

    // One collaboration role entry as the server writes it.
    static QVariantMap person(const QString &name, const QString &phone, bool reviewed);

private:
    Listing &flag(const char *key, bool on);

    QVariantMap m_fields;
};
