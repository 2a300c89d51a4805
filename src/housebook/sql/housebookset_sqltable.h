#pragma once
// The house-book settings of the signed-in user and the company: one row of JSON texts in
// the personal database ("housebookset", or "housebookset_jointsale" for the alliance's book).
#include "sql/basesqlobject.h"

#include <QHash>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

class BaseMessage_SqlTable;

class HouseBookSet_SqlTable : public BaseSqlObject
{
    Q_OBJECT
public:
    // Which book a choice list belongs to; any other kind reads the city's search order.
    enum BookKind { SaleBook = 1, RentBook = 2 };

    HouseBookSet_SqlTable(QObject *parent, bool isJointSale);

    // The stored text of one setting key ("" when none).
    QString getValue(const QString &key);
    bool setValue(const QString &key, const QString &value);
    // Ids of "likehistory", "readhistory" or "noticehistory": the stored list (JSON array of
    // ids or of objects with an id, or a comma text) as id strings.
    QStringList historyIds(const QString &key);

    QVariantMap readRow();
    // Adds a listing to a personal list (the read list when a listing is viewed).
    bool appendHistoryId(const QString &key, const QString &id);
    // The entries of a personal list as stored (ids or reminder objects).
    QVariantList historyList(const QString &key);

    // The book's tabs, {id, title, choose}.
    QList<QVariantMap> tabs();
    int pageSize();
    int enterFresh();
    int housePush();
    QString houseRepeat();

    // The company's settings object and its members.
    QVariantMap bookSet();
    QVariant bookSetValue(const QString &member);
    int companyGstate();
    int companySstate();
    int companyRentStyle();
    int companySaleStyle();
    int storeGstate();
    int storeSstate();
    // {title, lable} of the company's sale or rent state classes.
    QList<QVariantMap> saleStates();
    QList<QVariantMap> rentStates();
    // The names of the classes labelled A, B, C and D, in that order; a class the company
    // has not named is an empty text. The default status filter and the status menu use
    // these four, whatever order the classes were stored in.
    QStringList classStateNames(bool sale);
    // {id, choose} of the viewing-record kinds.
    QList<QVariantMap> viewRecord();

    // Separation (team cooperation) rules of sale or rent listings.
    QVariantMap saleXieZuoSet();
    QVariantMap rentXieZuoSet();

    // The chosen search fields and list columns, completed from the catalogues.
    QList<QVariantMap> searchItems(int kind);
    QList<QVariantMap> showItems(int kind);
    // The search field catalogue with its options filled from the reference data.
    QList<QVariantMap> searchCatalogue();
    QList<QVariantMap> columnCatalogue();

    // The user's edited choices, stored as {choose, id, title} lists; open pages are told.
    bool setTabs(const QList<QVariantMap> &tabs);
    bool setSearchItems(int kind, const QList<QVariantMap> &items);
    bool setShowItems(int kind, const QList<QVariantMap> &items);

    // Stores the reply of the house-book settings download and announces the change.
    bool storeHouseBookSet(const QJsonValue &reply);
    // Stores the reply of a separation-rules download.
    bool storeXieZuoSet(bool sale, const QJsonValue &reply);

private:
    void ensureDefaultRow();
    QVariantList defaultRowValues() const;
    bool updateColumn(const QString &column, const QVariant &value);
    bool storeTextMember(const QJsonValue &value, const QString &column);
    bool storeNumberMember(const QJsonValue &value, const QString &column);
    bool storeChoices(const QString &column, const QList<QVariantMap> &entries);
    int intColumn(const QString &column, int fallback);
    int bookSetInt(const QString &member);
    QList<QVariantMap> stateClasses(const QVariant &stored) const;
    QStringList stateNames(bool sale);
    QList<QVariantMap> mapList(const QVariantList &list) const;
    QString citySearchOrder();
    QHash<int, QStringList> placeholderLists(BaseMessage_SqlTable &reference);
    void announceChange();
};
