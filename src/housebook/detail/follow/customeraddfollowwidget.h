#pragma once
// The entry dialog of a follow-up with tags and an optional reminder for a colleague.
#include <QJsonValue>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class FollowService;
class FollowTagBar;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class CustomerAddFollowWidget : public QWidget
{
    Q_OBJECT
public:
    CustomerAddFollowWidget(int id, bool rent, QWidget *parent = nullptr);

    // The form the dialog would send now.
    QVariantMap form() const;

signals:
    void followSuccess();
    void closeWidget();

public slots:
    void download_tagList();
    void deal_tagData(QJsonValue resultValue);
    void followTagShow();
    void deal_addTag();
    void dateChoose();
    void peopleChoose();
    void submitData();

private:
    QWidget *buildReminder();
    QString reminderRefusal() const;
    void setRemindTime(const QString &time);
    void setRemindPerson(const QVariantMap &person);

    int m_id;
    bool m_rent;
    FollowService *m_service;
    FollowTagBar *m_tags;
    QPlainTextEdit *m_content;
    QCheckBox *m_remind;
    QLineEdit *m_remindTime;
    QPushButton *m_person;
    QLineEdit *m_remindText;
    QString m_personId;
    BusyOverlay *m_overlay;
};
