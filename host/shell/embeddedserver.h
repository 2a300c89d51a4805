#pragma once
// The alliance server simulator running inside the host process, for a demo without the
// alliance's servers. Absent from builds without the simulator library.
#include <QString>
#include <QStringList>

#include <memory>

class EmbeddedServer
{
public:
    EmbeddedServer();
    ~EmbeddedServer();
    EmbeddedServer(const EmbeddedServer &) = delete;
    EmbeddedServer &operator=(const EmbeddedServer &) = delete;

    static bool isAvailable();

    // Seeds with the default seed and listens on a free loopback port.
    bool start(QString *error);
    // "http://127.0.0.1:PORT" without the trailing slash.
    QString baseUrl() const;
    // The seeded users' phones, the joint-sale manager first.
    QStringList userPhones() const;
    // Requests that carry no phone are answered for this user.
    void setSignedInPhone(const QString &phone);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
