#pragma once
// The host's login window: a phone number (a seeded user preselected), the sign-in requests
// with their progress, and the reason when they fail.
#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class SignInSession;

class SignInDialog : public QDialog
{
    Q_OBJECT
public:
    SignInDialog(SignInSession *session, const QStringList &phones, const QString &serverText,
                 QWidget *parent = nullptr);

    QString phone() const;
    QString lastError() const { return m_error; }
    // Signs in with the phone at once; with stopOnFailure the dialog rejects on a failure
    // instead of waiting for another try (unattended runs).
    void signInNow(const QString &phone, bool stopOnFailure);

private:
    void startSignIn();
    void showProgress(int step, const QString &text);
    void showFailure(const QString &reason);

    SignInSession *m_session;
    QComboBox *m_phone;
    QPushButton *m_button;
    QProgressBar *m_progress;
    QLabel *m_message;
    QString m_error;
    bool m_stopOnFailure = false;
};
