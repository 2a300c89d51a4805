#pragma once
// The where clause, order and paging of the listing queries. Every text of a condition is
// compared in its stored form (scrambled like the column) and written as an escaped literal;
// numbers that are not numbers and unknown words add nothing. Texts and lists are bounded
// (SqlLiteral::kMaxSearchText, kMaxSearchItems), and a text of which nothing storable is left
// (only NULs, lone surrogates, non-characters) matches no listing.
#include <QString>
#include <QStringList>
#include <QVariantMap>

// One listing query of the house book.
struct HouseQuery
{
    // Book kind, numbered as the tabs: 4 sale, 3 rent, 2 my sales, 1 my rents, 5 all sale,
    // 6 all rent; any other value adds no kind clause.
    int mode = 5;
    // 1 the read, 2 the liked, 3 the noticed listings only (the user's lists); 0 all.
    int subMode = 0;
    // Kinds 1, 2, 5, 6: only listings on the shelf (unless the keyword asks for 待处理).
    bool activeOnly = false;
    // The search bar's keys: name, xiaoid, district, area, buildingNo, unitNo, roomNo, id, tel,
    // houseType, hutype, hall, room, huxingwei, renovation, chaoXiang, keys, pic, peitao,
    // traffic, seetime, ruZhuTime, rentWay, payWay, tag, source, quanXian, follow, school,
    // state, chanQuan, chanZhen, carhouse, shenhestatus, the ranges yueZu_, price_, unitPrice_,
    // size_, floor_ (…_up is the low bound, …_down the high one), the date ranges
    // publishTime_, updataTime_, followTime_, lurupeople, lurudept (chosen nodes as a list or
    // JSON text), xiezuo, xiezuo_null (words), xiezuo_weihu … xiezuo_chengjiao (phones or
    // nodes) and keyWord (worklist and tag words; other words find a part of a community's name,
    // other name or pinyin, a whole listing name or a listing number).
    QVariantMap conditions;
    // Column → value filters: equality, containment for contacts, peitao, traffic, tags, follows.
    QVariantMap columnFilters;
    // Only these listings (ids that are not numbers are dropped).
    QStringList ids;
    QString sortKey = QStringLiteral("id");
    bool sortDescending = true;
    int page = 1;
    int pageSize = 20;
    // Columns to read; empty: all.
    QStringList fields;
};

class HouseQueryBuilder
{
public:
    struct Scope
    {
        int cityId = 0;
        int companyId = 0;
        QString userPhone;
        // Keyword and community-name searches also match the community table's names.
        bool hasCommunityTable = false;
        // "id" or, in a join, the qualified "house.id".
        QString idColumn = QStringLiteral("id");
    };

    explicit HouseQueryBuilder(const Scope &scope);

    // "where ..." of the scope, kind, id, condition, filter and extra clauses; empty when none.
    QString whereClause(const HouseQuery &query, const QStringList &extraClauses = QStringList()) const;
    QStringList clauses(const HouseQuery &query) const;

    QStringList scopeClauses() const;
    QStringList kindClauses(const HouseQuery &query) const;
    QStringList conditionClauses(const QVariantMap &conditions) const;
    QStringList keywordClauses(const QString &keyWord) const;
    QStringList filterClauses(const QVariantMap &filters) const;

    // "order by istop desc, %1 %2" (unknown columns sort by id).
    static QString orderClause(const QString &sortKey, bool descending);
    // The columns a book page can be ordered by without sorting, each the last column of an
    // index (types, housestatus, istop, column): id and the sortable columns of the tables.
    static const QStringList &indexedSortKeys();
    // The page of an active book ordered by an indexed column, as two arms, the pinned
    // listings (istop = 1) and the others (istop = 0), each read in index order and merged:
    // the same rows in the same order as "order by istop desc, key dir" when every listing of
    // the where clause has istop 0 or 1, without sorting the book (one index cannot serve
    // "istop desc" with both directions of the key). select must hold istop and the key.
    static QString pinnedSplitPage(const QString &select, const QString &table, const QString &where,
                                   const QString &sortKey, bool descending, int page, int pageSize);
    // "limit %1 offset %2" of a 1-based page.
    static QString pagingClause(int page, int pageSize);
    // The known columns of fields plus the required ones; "*" when fields is empty.
    static QString selectList(const QStringList &fields, const QStringList &required);
    // A text or list of the conditions is longer than a query uses (it searches a shortened one).
    static bool cutsConditions(const QVariantMap &conditions);
    // The keyword asks for listings that are not on the shelf.
    static bool includesOffShelf(const QVariantMap &conditions);

private:
    QString idColumn() const { return m_scope.idColumn; }
    QString myPhone() const;
    QString mineClause(bool sale) const;
    QString communityClause(const QVariantMap &c) const;
    QString communityNameMatch(const QString &name) const;
    QString freeTextClause(const QString &text) const;
    void addEqualities(const QVariantMap &c, QStringList &out) const;
    void addRanges(const QVariantMap &c, QStringList &out) const;
    static QString rangeColumn(const char *column);
    void addWordChoices(const QVariantMap &c, QStringList &out) const;
    void addPeople(const QVariantMap &c, QStringList &out) const;
    void addCooperation(const QVariantMap &c, QStringList &out) const;

    Scope m_scope;
};
