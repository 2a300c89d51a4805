#pragma once
// Kind 6 of the search bar: the community name. While the agent types, the local community
// table is searched on a worker thread (CommunityBookDataObject) and the matching names are
// offered below the edit; picking one also pins the search to that community's id.
#include "list/searchitem.h"
#include "sql/communitymessage_datasqltable.h"

#include <QList>
#include <QStringList>

class QCompleter;
class QModelIndex;
class QStandardItemModel;
class QTimer;

class HouseSearch_SixWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    // isJointSale: which book's communities are searched. The placeholder is "prompt,mode";
    // every mode lists all communities of the local table.
    HouseSearch_SixWidget(const QVariantMap &description, bool isJointSale, QWidget *parent);

    QString value() const override;
    // Shows text as typed (no community pinned, no lookup) and reports it.
    void setValue(const QString &text) override;
    // Also drops the offered names and any answer still under way.
    void clearValue() override;
    // {xiaoid: id} while the text is the name of the community picked from the offer.
    QVariantMap extraConditions() const override;

    // The names offered for the latest lookup, in the table's order.
    QStringList suggestions() const;
    // Milliseconds of quiet typing before a lookup starts.
    static constexpr int kTypingPause = 200;
    // Names offered at most.
    static constexpr int kSuggestionCount = 20;

public slots:
    // Looks text up now. Only the answer to the latest lookup is shown: an older one that
    // arrives later is dropped.
    void deal_XiaoQuSearch(const QString &text);
    // Shows an answer as the offered names.
    void dealLocalCommunityData(const QList<CommunityMessage_DataSqlTable::ListData> &list);
    // Takes the offered community at row as the value.
    void chooseCommunity(int row);

private:
    void onTextEdited(const QString &text);
    void dropSuggestions();

    bool m_isJointSale = false;
    QLineEdit *m_edit = nullptr;
    QTimer *m_typingTimer = nullptr;
    QCompleter *m_completer = nullptr;
    QStandardItemModel *m_model = nullptr;
    // Numbers the lookups; an answer counts only when it belongs to the latest one.
    int m_lookup = 0;
    int m_chosenId = 0;
    QString m_chosenName;
};
