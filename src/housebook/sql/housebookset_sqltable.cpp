#include "sql/housebookset_sqltable.h"

#include "commonsignaltool.h"
#include "datacenter.h"
#include "net/wholenumber.h"
#include "sql/basemessage_sqltable.h"
#include "sql/cityhouseset_datasqltable.h"
#include "sql/housebookcatalogue.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPair>
#include <QSet>

using namespace HouseBookCatalogue;

namespace {

const QString kCreateSql = QStringLiteral(
    "create table %1(item varchar,page int,enterfresh int,housepush int,houserepeat varchar,"
    "myrentsearch varchar,myrentshow varchar,mysalesearch varchar,mysaleshow varchar,readhistory varchar,"
    "likehistory varchar,noticehistory varchar,bookset varchar,salexiezuoset varchar,rentxiezuoset varchar,"
    "id int unique)");

// The columns before `id`, in table order.
const QStringList kColumns = {
    QStringLiteral("item"),         QStringLiteral("page"),         QStringLiteral("enterfresh"),
    QStringLiteral("housepush"),    QStringLiteral("houserepeat"),  QStringLiteral("myrentsearch"),
    QStringLiteral("myrentshow"),   QStringLiteral("mysalesearch"), QStringLiteral("mysaleshow"),
    QStringLiteral("readhistory"),  QStringLiteral("likehistory"),  QStringLiteral("noticehistory"),
    QStringLiteral("bookset"),      QStringLiteral("salexiezuoset"), QStringLiteral("rentxiezuoset")};

const QStringList kHistoryColumns = {QStringLiteral("readhistory"), QStringLiteral("likehistory"),
                                     QStringLiteral("noticehistory")};

// A listing id as text: a positive whole number, given as a number, as numeric text, or as
// the `id` (else `houseid`) of an object; empty otherwise.
QString idOf(const QJsonValue &value)
{
    if (value.isObject()) {
        const QJsonObject o = value.toObject();
        return o.contains(QStringLiteral("id")) ? idOf(o.value(QStringLiteral("id")))
                                                : idOf(o.value(QStringLiteral("houseid")));
    }
    qint64 id = 0;
    if (value.isDouble()) {
        if (!WholeNumber::fromDouble(value.toDouble(), &id))
            return QString();
    } else if (value.isString()) {
        bool ok = false;
        id = value.toString().trimmed().toLongLong(&ok);
        if (!ok)
            return QString();
    }
    return id > 0 ? QString::number(id) : QString();
}

QStringList idsOf(const QJsonArray &array)
{
    QStringList ids;
    for (const QJsonValue &item : array) {
        const QString id = idOf(item);
        if (!id.isEmpty() && !ids.contains(id))
            ids << id;
    }
    return ids;
}

QStringList idsOfCommaText(const QString &text)
{
    QJsonArray items;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        items.append(part);
    return idsOf(items);
}

QStringList idsOfText(const QString &text)
{
    const QJsonValue value = fromText(text);
    if (value.isArray())
        return idsOf(value.toArray());
    if (value.isString())
        return idsOfCommaText(value.toString());
    if (value.isDouble() || value.isObject())
        return idsOf(QJsonArray{value});
    return idsOfCommaText(text);
}

} // namespace

HouseBookSet_SqlTable::HouseBookSet_SqlTable(QObject *parent, bool isJointSale)
    : BaseSqlObject(parent, isJointSale)
{
    ensureDefaultRow();
}

// The row exists from the first construction on; a table that lost it gets it back.
void HouseBookSet_SqlTable::ensureDefaultRow()
{
    const QString table = tableName(QStringLiteral("housebookset"));
    if (!isHaveTable(table, PersonDB))
        createTable(kCreateSql.arg(table), PersonDB);
    if (!isHaveTable(table, PersonDB) || !readRow().isEmpty())
        return;
    const QString columns = kColumns.join(QLatin1Char(',')) + QStringLiteral(",id");
    QStringList marks;
    for (int i = 0; i <= kColumns.size(); ++i)
        marks << QStringLiteral("?");
    exec(PersonDB, QStringLiteral("insert into %1(%2) values(%3)").arg(table, columns, marks.join(QLatin1Char(','))),
         defaultRowValues());
}

QVariantList HouseBookSet_SqlTable::defaultRowValues() const
{
    return {defaultTabsJson(), 20, 1, 1, QString(),
            choicesToJson(creationChoices(RentSearch)), choicesToJson(creationChoices(RentShow)),
            choicesToJson(creationChoices(SaleSearch)), choicesToJson(creationChoices(SaleShow)),
            QString(), QString(), QString(), QString(), QString(), QString(), 1};
}

QVariantMap HouseBookSet_SqlTable::readRow()
{
    return selectRows(PersonDB, QStringLiteral("select * from %1 where id = 1").arg(tableName(QStringLiteral("housebookset"))))
        .value(0);
}

QString HouseBookSet_SqlTable::getValue(const QString &key)
{
    if (!kColumns.contains(key))
        return QString();
    return readRow().value(key).toString();
}

bool HouseBookSet_SqlTable::setValue(const QString &key, const QString &value)
{
    return updateColumn(key, value);
}

// Column names cannot be bound, so only the table's own columns are accepted.
bool HouseBookSet_SqlTable::updateColumn(const QString &column, const QVariant &value)
{
    if (isLoginWindow() || !kColumns.contains(column))
        return false;
    return exec(PersonDB,
                QStringLiteral("update %1 set %2=? where id=1").arg(tableName(QStringLiteral("housebookset")), column),
                {value});
}

QStringList HouseBookSet_SqlTable::historyIds(const QString &key)
{
    if (!kHistoryColumns.contains(key))
        return QStringList();
    return idsOfText(getValue(key));
}

QVariantList HouseBookSet_SqlTable::historyList(const QString &key)
{
    if (!kHistoryColumns.contains(key))
        return QVariantList();
    const QJsonValue value = fromText(getValue(key));
    if (value.isArray())
        return value.toArray().toVariantList();
    QVariantList ids;
    for (const QString &id : historyIds(key))
        ids << id;
    return ids;
}

// A stored array keeps its entries and gains the id as a number; a comma text gains it
// at its end.
bool HouseBookSet_SqlTable::appendHistoryId(const QString &key, const QString &id)
{
    const QString normal = idOf(QJsonValue(id));
    if (!kHistoryColumns.contains(key) || normal.isEmpty())
        return false;
    if (historyIds(key).contains(normal))
        return true;
    const QJsonValue stored = fromText(getValue(key));
    if (stored.isArray()) {
        QJsonArray array = stored.toArray();
        array.append(normal.toDouble());
        return setValue(key, toText(array));
    }
    return setValue(key, (historyIds(key) << normal).join(QLatin1Char(',')));
}

QList<QVariantMap> HouseBookSet_SqlTable::tabs()
{
    QList<QVariantMap> list;
    for (const QVariant &tab : listFromText(getValue(QStringLiteral("item")))) {
        const QVariantMap map = tab.toMap();
        if (map.value(QStringLiteral("id")).toInt() > 0)
            list << map;
    }
    if (list.isEmpty())
        list = mapList(listFromText(defaultTabsJson()));
    return list;
}

int HouseBookSet_SqlTable::intColumn(const QString &column, int fallback)
{
    bool ok = false;
    const int value = readRow().value(column).toInt(&ok);
    return ok ? value : fallback;
}

int HouseBookSet_SqlTable::pageSize()
{
    const int page = intColumn(QStringLiteral("page"), 20);
    return page > 0 ? page : 20;
}

int HouseBookSet_SqlTable::enterFresh()
{
    return intColumn(QStringLiteral("enterfresh"), 1);
}

int HouseBookSet_SqlTable::housePush()
{
    return intColumn(QStringLiteral("housepush"), 1);
}

QString HouseBookSet_SqlTable::houseRepeat()
{
    return getValue(QStringLiteral("houserepeat"));
}

QVariantMap HouseBookSet_SqlTable::bookSet()
{
    return mapFromText(getValue(QStringLiteral("bookset")));
}

QVariant HouseBookSet_SqlTable::bookSetValue(const QString &member)
{
    return bookSet().value(member);
}

int HouseBookSet_SqlTable::bookSetInt(const QString &member)
{
    return WholeNumber::toInt(bookSetValue(member));
}

int HouseBookSet_SqlTable::companyGstate()
{
    return bookSetInt(QStringLiteral("companyGstate"));
}

int HouseBookSet_SqlTable::companySstate()
{
    return bookSetInt(QStringLiteral("companySstate"));
}

int HouseBookSet_SqlTable::companyRentStyle()
{
    return bookSetInt(QStringLiteral("company_rent_style"));
}

int HouseBookSet_SqlTable::companySaleStyle()
{
    return bookSetInt(QStringLiteral("company_sale_style"));
}

int HouseBookSet_SqlTable::storeGstate()
{
    return bookSetInt(QStringLiteral("storeGstate"));
}

int HouseBookSet_SqlTable::storeSstate()
{
    return bookSetInt(QStringLiteral("storeSstate"));
}

QList<QVariantMap> HouseBookSet_SqlTable::saleStates()
{
    return stateClasses(bookSetValue(QStringLiteral("chushoustate")));
}

QList<QVariantMap> HouseBookSet_SqlTable::rentStates()
{
    return stateClasses(bookSetValue(QStringLiteral("chuzustate")));
}

// The state classes as {title, lable}; a class given by its name alone takes its label
// from its place (A, B, C, D).
QList<QVariantMap> HouseBookSet_SqlTable::stateClasses(const QVariant &stored) const
{
    QVariantList items = stored.type() == QVariant::List ? stored.toList() : listFromText(stored.toString());
    if (items.isEmpty() && stored.type() == QVariant::String && !fromText(stored.toString()).isArray()) {
        for (const QString &name : stored.toString().split(QLatin1Char(','), Qt::SkipEmptyParts))
            items << name.trimmed();
    }
    QList<QVariantMap> states;
    for (const QVariant &item : qAsConst(items)) {
        QVariantMap state = item.toMap();
        if (item.type() == QVariant::String)
            state = {{QStringLiteral("title"), item.toString()},
                     {QStringLiteral("lable"), QString(QChar(QLatin1Char('A').unicode() + states.size()))}};
        if (!state.value(QStringLiteral("title")).toString().isEmpty())
            states << state;
    }
    return states;
}

QList<QVariantMap> HouseBookSet_SqlTable::viewRecord()
{
    const QVariant stored = bookSetValue(QStringLiteral("viewrecord"));
    return mapList(stored.type() == QVariant::List ? stored.toList() : listFromText(stored.toString()));
}

QVariantMap HouseBookSet_SqlTable::saleXieZuoSet()
{
    return mapFromText(getValue(QStringLiteral("salexiezuoset")));
}

QVariantMap HouseBookSet_SqlTable::rentXieZuoSet()
{
    return mapFromText(getValue(QStringLiteral("rentxiezuoset")));
}

QList<QVariantMap> HouseBookSet_SqlTable::mapList(const QVariantList &list) const
{
    QList<QVariantMap> maps;
    for (const QVariant &item : list) {
        if (item.type() == QVariant::Map)
            maps << item.toMap();
    }
    return maps;
}

QList<QVariantMap> HouseBookSet_SqlTable::searchItems(int kind)
{
    if (kind == SaleBook)
        return mergeChoices(getValue(QStringLiteral("mysalesearch")), searchCatalogue(), defaultChoices(SaleSearch));
    if (kind == RentBook)
        return mergeChoices(getValue(QStringLiteral("myrentsearch")), searchCatalogue(), defaultChoices(RentSearch));
    return mergeChoices(citySearchOrder(), searchCatalogue(), defaultChoices(SaleSearch));
}

QString HouseBookSet_SqlTable::citySearchOrder()
{
    CityHouseSet_DataSqlTable city(nullptr, isJointSale());
    const QVariant stored = city.getRow().value(QStringLiteral("searchsort"));
    return stored.toString();
}

// Kind 2 is the rent book; every other kind reads the sale book's columns. The
// verification-code column belongs to the lists of one city only.
QList<QVariantMap> HouseBookSet_SqlTable::showItems(int kind)
{
    const bool rent = kind == RentBook;
    QList<QVariantMap> items = mergeChoices(getValue(rent ? QStringLiteral("myrentshow") : QStringLiteral("mysaleshow")),
                                            listColumns(), defaultChoices(rent ? RentShow : SaleShow));
    if (DataCenter::CityID == DataCenter::HuaiNanCityId)
        addVerificationColumn(items);
    return items;
}

QList<QVariantMap> HouseBookSet_SqlTable::searchCatalogue()
{
    BaseMessage_SqlTable reference(nullptr, isJointSale());
    const QHash<int, QVariantList> areaTrees{{2, reference.list(QStringLiteral("area"))},
                                             {53, reference.list(QStringLiteral("cloudarea"))}};
    return fillSearchFields(searchFields(), placeholderLists(reference), areaTrees);
}

QList<QVariantMap> HouseBookSet_SqlTable::columnCatalogue()
{
    return listColumns();
}

// The lists behind the numbered placeholders of the search catalogue.
QHash<int, QStringList> HouseBookSet_SqlTable::placeholderLists(BaseMessage_SqlTable &ref)
{
    const QString tags = QStringLiteral("tags");
    const QString fukuan = QStringLiteral("fukuan");
    const QString customerSale = QStringLiteral("customersaleset");
    const QString customerRent = QStringLiteral("customerrentset");
    const QString customerNew = QStringLiteral("customernewhouseset");
    return {{1, ref.names(QStringLiteral("area"))},
            {2, ref.names(QStringLiteral("housetype"))},
            {3, ref.names(QStringLiteral("zhuangxiu"))},
            {4, ref.names(QStringLiteral("traffic"))},
            {5, ref.names(QStringLiteral("payway"))},
            {6, ref.names(QStringLiteral("housesource"))},
            {7, ref.names(QStringLiteral("saletag"))},
            {8, stateNames(true)},
            {9, ref.names(QStringLiteral("property1"))},
            {10, ref.names(QStringLiteral("property2"))},
            {11, stateNames(false)},
            {12, ref.names(QStringLiteral("renttag"))},
            {13, ref.names(QStringLiteral("cloudarea"))},
            {14, ref.names(QStringLiteral("area"))},
            {15, ref.settingNames(customerSale, tags)},
            {16, ref.settingNames(customerRent, tags)},
            {17, ref.settingNames(QStringLiteral("salecontractset"), tags)},
            {18, ref.settingNames(QStringLiteral("rentcontractset"), tags)},
            {19, ref.settingNames(customerNew, tags)},
            {20, ref.settingNames(customerSale, fukuan)},
            {21, ref.settingNames(customerRent, fukuan)},
            {22, ref.settingNames(customerNew, fukuan)},
            {23, ref.names(QStringLiteral("hutype"))},
            {24, ref.customerStates(customerSale)},
            {25, ref.customerStates(customerRent)},
            {26, ref.customerStates(customerNew)},
            {27, ref.names(QStringLiteral("clouditem"))}};
}

QStringList HouseBookSet_SqlTable::classStateNames(bool sale)
{
    const QList<QVariantMap> states = sale ? saleStates() : rentStates();
    QStringList names;
    for (const QString &label : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")}) {
        QString name;
        for (const QVariantMap &state : states) {
            if (state.value(QStringLiteral("lable")).toString() == label) {
                name = state.value(QStringLiteral("title")).toString();
                break;
            }
        }
        names << name;
    }
    return names;
}

// The company's state classes followed by the states every book has.
QStringList HouseBookSet_SqlTable::stateNames(bool sale)
{
    QStringList names;
    for (const QVariantMap &state : sale ? saleStates() : rentStates())
        names << state.value(QStringLiteral("title")).toString();
    return names + fixedStates(sale);
}

bool HouseBookSet_SqlTable::setTabs(const QList<QVariantMap> &tabs)
{
    return storeChoices(QStringLiteral("item"), tabs);
}

bool HouseBookSet_SqlTable::setSearchItems(int kind, const QList<QVariantMap> &items)
{
    if (kind != SaleBook && kind != RentBook)
        return false;
    return storeChoices(kind == SaleBook ? QStringLiteral("mysalesearch") : QStringLiteral("myrentsearch"), items);
}

bool HouseBookSet_SqlTable::setShowItems(int kind, const QList<QVariantMap> &items)
{
    if (kind != SaleBook && kind != RentBook)
        return false;
    return storeChoices(kind == SaleBook ? QStringLiteral("mysaleshow") : QStringLiteral("myrentshow"), items);
}

bool HouseBookSet_SqlTable::storeChoices(const QString &column, const QList<QVariantMap> &entries)
{
    const bool stored = setValue(column, choicesToJson(entries));
    if (stored)
        announceChange();
    return stored;
}

// Missing or null members leave their column as it was; the whole object becomes
// `bookset`, and open pages are told to reload their settings.
bool HouseBookSet_SqlTable::storeHouseBookSet(const QJsonValue &reply)
{
    static const QList<QPair<QString, QString>> textMembers{
        {QStringLiteral("item"), QStringLiteral("item")},
        {QStringLiteral("setrepeat"), QStringLiteral("houserepeat")},
        {QStringLiteral("myrentsearch"), QStringLiteral("myrentsearch")},
        {QStringLiteral("myrentshow"), QStringLiteral("myrentshow")},
        {QStringLiteral("mysalesearch"), QStringLiteral("mysalesearch")},
        {QStringLiteral("mysaleshow"), QStringLiteral("mysaleshow")}};
    static const QStringList numberMembers{QStringLiteral("page"), QStringLiteral("enterfresh"),
                                           QStringLiteral("housepush")};
    if (!reply.isObject())
        return false;
    const QJsonObject object = reply.toObject();
    for (const auto &member : textMembers)
        storeTextMember(object.value(member.first), member.second);
    for (const QString &member : numberMembers)
        storeNumberMember(object.value(member), member);
    const bool stored = setValue(QStringLiteral("bookset"), toText(reply));
    if (stored)
        announceChange();
    return stored;
}

bool HouseBookSet_SqlTable::storeTextMember(const QJsonValue &value, const QString &column)
{
    if (value.isNull() || value.isUndefined())
        return false;
    return setValue(column, toText(value));
}

// Numbers are stored as numbers: a number, a boolean or numeric text; anything else
// leaves the column as it was.
bool HouseBookSet_SqlTable::storeNumberMember(const QJsonValue &value, const QString &column)
{
    bool ok = value.isBool();
    int number = int(value.toBool());
    if (value.isDouble()) {
        ok = WholeNumber::fromDouble(value.toDouble(), &number);
    } else if (value.isString()) {
        number = value.toString().trimmed().toInt(&ok);
    }
    return ok && updateColumn(column, number);
}

bool HouseBookSet_SqlTable::storeXieZuoSet(bool sale, const QJsonValue &reply)
{
    if (!reply.isObject() && !reply.isArray())
        return false;
    return setValue(sale ? QStringLiteral("salexiezuoset") : QStringLiteral("rentxiezuoset"), toText(reply));
}

void HouseBookSet_SqlTable::announceChange()
{
    CommonSignalTool::Instance()->send_houseBookSetChange(isJointSale(), this);
}
