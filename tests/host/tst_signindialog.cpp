// The demo host's login window against the simulator: a seeded phone signs in with its own
// rights, a phone the alliance does not know is refused with the server's reason and the
// window stays open for another try.
#include "allianceserver.h"
#include "datacenter.h"
#include "signindialog.h"
#include "signinsession.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

class TestSignInDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void signIn_data();
    void signIn();
    void refusalLeavesTheDialogOpenForCorrection();

private:
    QScopedPointer<AllianceServer> m_server;
};

void TestSignInDialog::initTestCase()
{
    AllianceServer::Options o;
    o.listings = 20;
    o.communities = 5;
    m_server.reset(new AllianceServer(o));
    QVERIFY(m_server->start());
}

void TestSignInDialog::init()
{
    DataCenter::reset();
}

void TestSignInDialog::signIn_data()
{
    QTest::addColumn<QString>("phone");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("manager");
    QTest::newRow("joint-sale manager") << "13800000001" << true << true;
    QTest::newRow("narrow agent") << "13800000002" << true << false;
    QTest::newRow("unseeded number") << "12345" << false << false;
    QTest::newRow("letters") << "abc" << false << false;
}

// Before the fix an unknown phone signed in as the joint-sale manager.
void TestSignInDialog::signIn()
{
    QFETCH(QString, phone);
    QFETCH(bool, accepted);
    QFETCH(bool, manager);

    SignInSession session(m_server->baseUrl());
    SignInDialog dialog(&session, m_server->userPhones(), m_server->baseUrl());
    dialog.show();
    QSignalSpy done(&dialog, &QDialog::finished);
    QSignalSpy failed(&session, &SignInSession::failed);
    dialog.signInNow(phone, false);
    QTRY_VERIFY_WITH_TIMEOUT(!done.isEmpty() || !failed.isEmpty(), 15000);

    QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
    QCOMPARE(DataCenter::isJointSaleManger, manager);
    if (accepted) {
        QCOMPARE(DataCenter::UserPhoneNumber, phone);
        QVERIFY(DataCenter::CompanyID > 0);
        return;
    }
    QVERIFY(DataCenter::UserPhoneNumber.isEmpty());
    QCOMPARE(DataCenter::CompanyID, 0);
    QCOMPARE(dialog.lastError(), QStringLiteral("该手机号未注册：%1").arg(phone));
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("message"))->text(),
             QStringLiteral("登录失败：该手机号未注册：%1").arg(phone));
    QVERIFY(dialog.isVisible());
    QVERIFY(done.isEmpty());
}

// After a refusal the user corrects the number and signs in from the same window.
void TestSignInDialog::refusalLeavesTheDialogOpenForCorrection()
{
    SignInSession session(m_server->baseUrl());
    SignInDialog dialog(&session, m_server->userPhones(), m_server->baseUrl());
    dialog.show();
    QSignalSpy failed(&session, &SignInSession::failed);
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    auto *phone = dialog.findChild<QComboBox *>(QStringLiteral("phone"));
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("signIn"));
    QVERIFY(phone && button);

    phone->setCurrentText(QStringLiteral("12345"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(failed.wait(15000));
    QTRY_VERIFY(button->isEnabled() && phone->isEnabled());

    phone->setCurrentText(QStringLiteral("13800000004"));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(accepted.wait(15000));
    QCOMPARE(DataCenter::UserPhoneNumber, QStringLiteral("13800000004"));
    QVERIFY(!DataCenter::isJointSaleManger);
}

QTEST_MAIN(TestSignInDialog)
#include "tst_signindialog.moc"
