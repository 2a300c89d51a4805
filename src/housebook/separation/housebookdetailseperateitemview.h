#pragma once
// One role row of a listing's separation page: the role's caption and help mark, its review
// state, the holder (head photo, name, phone, store, remark), the verification and commission
// codes with their copy buttons, and the buttons the role and the user's rights offer. Every
// button, the state and the row menu report their text through clickBtn; the page decides.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class HelpQuestionWidget;
class QHBoxLayout;
class QLabel;
class QMenu;
class QPushButton;
class ThumbnailView;

class HouseBookDetailSeperateItemView : public QWidget
{
    Q_OBJECT
public:
    // What the signed-in user may do with the rows of the listing shown.
    struct Rights
    {
        bool assign = false;   // 分配
        bool release = false;  // 解除, when the row has a holder
    };

    explicit HouseBookDetailSeperateItemView(QWidget *parent = nullptr);

    // Applies to the next setTypeAndStatu.
    void setRights(const Rights &rights) { m_rights = rights; }
    const HouseBookSeperateList_Model::ItemData &model() const { return m_model; }

    // The buttons a row offers, in the order shown.
    static QStringList buttonsFor(const HouseBookSeperateList_Model::ItemData &row, const Rights &rights);
    // The role's evidence button ("上传文件", "上传图片", "录入钥匙", "录入合同"); empty for none.
    static QString evidenceButton(int type);
    // The text of a review state ("等待审核", "等待OA审核", "已审核", "已驳回"); empty for none.
    static QString stateText(const HouseBookSeperateList_Model::ItemData &row);
    // The help tip of a role kind.
    static int helpTipId(int type) { return 40 + type; }

    // Texts of the buttons shown, in order.
    QStringList buttonTexts() const;
    QPushButton *button(const QString &text) const;
    // The row menu as last opened (null before the first showMenu).
    QMenu *menu() const { return m_menu; }

signals:
    void clickBtn(QString txt);

public slots:
    void showMenu();
    void hiddenPeopleMsg();
    void hiddenOperateBtns();
    void setTypeAndStatu(HouseBookSeperateList_Model::ItemData model, HouseMessage_DataSqlTable::HouseMessageData house_model);
    void setHeadPhoto(QString head);
    void setName(QString name);
    void setPhone(QString phone);
    void setStore(QString store);
    void setRemark(QString remark);
    void setWeiTuoAboutCode(QString heyanCode, QString weituoCode);

private:
    void buildUi();
    QWidget *buildCaption();
    QWidget *buildPeople();
    QWidget *buildCodes();
    void showState();
    void showButtons();
    void copyCode(const QString &code, const QString &confirmation);

    HouseBookSeperateList_Model::ItemData m_model;
    Rights m_rights;
    QLabel *m_title = nullptr;
    HelpQuestionWidget *m_helpMark = nullptr;
    QPushButton *m_state = nullptr;
    QWidget *m_people = nullptr;
    ThumbnailView *m_head = nullptr;
    QLabel *m_name = nullptr;
    QLabel *m_phone = nullptr;
    QLabel *m_store = nullptr;
    QLabel *m_remark = nullptr;
    QWidget *m_codes = nullptr;
    QLabel *m_heyanCode = nullptr;
    QLabel *m_weituoCode = nullptr;
    QPushButton *m_copyHeyan = nullptr;
    QPushButton *m_copyWeituo = nullptr;
    QWidget *m_buttonBar = nullptr;
    QHBoxLayout *m_buttonLayout = nullptr;
    QList<QPushButton *> m_buttons;
    QPushButton *m_more = nullptr;
    QMenu *m_menu = nullptr;
};
