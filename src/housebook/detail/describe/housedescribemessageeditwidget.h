#pragma once
// The editor of a sale listing's extended facts for the outside portals: every fact of the
// facts table with its input (declared as a FormBinder table), the title, the portal tags
// (loaded from the portal's tag list), indoor / floor plan / outside photos with a cover, and
// the 720° panorama. Before posting, the first broken rule is shown in red under the form;
// operateSuccess() follows the server's acceptance.
#include "sql/housemessage_datasqltable.h"
#include "widgets/forms/formbinder.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QStringList>
#include <QWidget>

class BusyOverlay;
class DescribePhotoSet;
class DescribeService;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class TagChooserWidget;

class HouseDescribeMessageEditWidget : public QWidget
{
    Q_OBJECT
public:
    // detail: the facts as housebook2/housebookdesdetail gave them (may be empty).
    HouseDescribeMessageEditWidget(const HouseMessage_DataSqlTable::HouseMessageData &record, const QJsonObject &detail,
                                   QWidget *parent = nullptr);

    // 1: the listing goes out as the owner's own listing, so "no commission" (0) is allowed.
    void setPortalMode(int mode) { m_portalMode = mode; }
    int portalMode() const { return m_portalMode; }
    // Before a push to 58 the 58 community must be chosen; the red note says so while it is not.
    void setPortalCommunity(bool required, const QString &community);

    const FormBinder &binder() const { return *m_binder; }
    DescribePhotoSet *photoSet() const { return m_photos; }
    QString errorText() const;

signals:
    void operateSuccess();
    void closeWidget();

public slots:
    void showQuanJinTutorial();
    void baseinit();
    void checkInit();
    void dateChoose(const QString &type);
    void addFuShuMsg();
    void addHouseTag();
    void choosePhotos(int type);
    void loadPhoto();
    void coverSet(int index);
    void downloadHousetag();
    void dealHousetags(const QStringList &tags);
    void startCheck();
    void showErrorMsg(QString msg);
    // The message of the first broken rule; "" when the facts may be posted.
    QString checkMsgIsCorrect() const;
    QVariantMap getInputContent() const;
    void submitClick();

private:
    QWidget *section(const QString &title, QFormLayout **form);
    QWidget *factInput(const QString &key, int input, const QStringList &choices, const QString &hint,
                       const QString &unit, QList<FormField> *fields);
    QWidget *photoRow(int type, const QString &button);
    void addNotes(QVBoxLayout *layout);

    HouseMessage_DataSqlTable::HouseMessageData m_record;
    QJsonObject m_detail;
    int m_portalMode = 0;
    bool m_portalCommunityRequired = false;
    QString m_portalCommunity;
    bool m_tagsLoading = false;
    FormBinder *m_binder = nullptr;
    DescribePhotoSet *m_photos;
    DescribeService *m_service;
    BusyOverlay *m_overlay;
    QLineEdit *m_title = nullptr;
    TagChooserWidget *m_tags = nullptr;
    TagChooserWidget *m_fuShu = nullptr;
    QLineEdit *m_vrurl = nullptr;
    QMap<int, QLabel *> m_countLabels;
    QLabel *m_communityNote = nullptr;
    QLabel *m_error = nullptr;
};
