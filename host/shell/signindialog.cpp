#include "signindialog.h"

#include "signinsession.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

SignInDialog::SignInDialog(SignInSession *session, const QStringList &phones, const QString &serverText,
                           QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_phone(new QComboBox(this))
    , m_button(new QPushButton(QStringLiteral("登录"), this))
    , m_progress(new QProgressBar(this))
    , m_message(new QLabel(this))
{
    setWindowTitle(QStringLiteral("登录 - 联卖房源本"));
    setObjectName(QStringLiteral("signInDialog"));
    m_phone->setEditable(true);
    m_phone->addItems(phones);
    m_phone->lineEdit()->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,11}")), m_phone));
    m_phone->setObjectName(QStringLiteral("phone"));
    m_progress->setRange(0, SignInSession::StepCount);
    m_progress->setFormat(QStringLiteral("%v / %m"));
    m_progress->setValue(0);
    m_message->setWordWrap(true);
    m_message->setObjectName(QStringLiteral("message"));
    m_button->setDefault(true);
    m_button->setObjectName(QStringLiteral("signIn"));

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("服务器"), new QLabel(serverText, this));
    form->addRow(QStringLiteral("手机号"), m_phone);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_progress);
    layout->addWidget(m_message);
    layout->addWidget(m_button);
    resize(380, 200);

    connect(m_button, &QPushButton::clicked, this, &SignInDialog::startSignIn);
    connect(m_session, &SignInSession::progress, this, &SignInDialog::showProgress);
    connect(m_session, &SignInSession::failed, this, &SignInDialog::showFailure);
    connect(m_session, &SignInSession::succeeded, this, [this] {
        m_progress->setValue(SignInSession::StepCount);
        accept();
    });
}

QString SignInDialog::phone() const
{
    return m_phone->currentText().trimmed();
}

void SignInDialog::signInNow(const QString &phone, bool stopOnFailure)
{
    m_stopOnFailure = stopOnFailure;
    m_phone->setCurrentText(phone);
    startSignIn();
}

void SignInDialog::startSignIn()
{
    if (phone().isEmpty()) {
        m_message->setText(QStringLiteral("请输入手机号"));
        return;
    }
    m_error.clear();
    m_button->setEnabled(false);
    m_phone->setEnabled(false);
    m_session->start(phone());
}

void SignInDialog::showProgress(int step, const QString &text)
{
    m_progress->setValue(step - 1);
    m_message->setText(text);
}

void SignInDialog::showFailure(const QString &reason)
{
    m_error = reason;
    m_message->setText(QStringLiteral("登录失败：%1").arg(reason));
    m_button->setEnabled(true);
    m_phone->setEnabled(true);
    m_progress->setValue(0);
    if (m_stopOnFailure)
        reject();
}
