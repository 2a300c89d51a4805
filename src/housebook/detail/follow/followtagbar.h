#pragma once
// The tags of a follow-up being written: "标签：", the kind's tag list (each chosen by a
// click, removed with its "×"), "+添加" with its "添加标签" dialog, and the "加急" / "重要"
// boxes. chosenTags() is what the follow-up form sends as `tag`.
#include <QJsonValue>
#include <QStringList>
#include <QWidget>

class FollowService;
class QCheckBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;

class FollowTagBar : public QWidget
{
    Q_OBJECT
public:
    explicit FollowTagBar(QWidget *parent = nullptr);

    void setRent(bool rent) { m_rent = rent; }
    QStringList tags() const { return m_tags; }
    // The picked tags in list order, then "加急" and "重要" when ticked.
    QStringList chosenTags() const;
    // Clears the picks after a follow-up was saved.
    void clearChoice();

    // Tag names from {"list":[...]}, a bare list or an object of names.
    static QStringList parseTags(const QJsonValue &data);

public slots:
    void download_tagList();
    void deal_tagData(QJsonValue resultValue);
    void followTagShow();
    // Opens "添加标签".
    void deal_addTag();
    void removeTag(const QString &tag);

private:
    void submitTag(QLineEdit *edit);
    QWidget *tagButton(const QString &tag);

    bool m_rent = false;
    QStringList m_tags;
    QStringList m_picked;
    FollowService *m_service;
    QHBoxLayout *m_tagLayout;
    QCheckBox *m_urgent;
    QCheckBox *m_important;
};
