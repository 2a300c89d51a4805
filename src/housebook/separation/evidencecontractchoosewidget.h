#pragma once
// Chooses one contract for an evidence form: the deal contracts of the listing's kind
// (searched by community name) or the company's electronic contracts (searched by contract
// number). Each contract is one list line filled from its kind's template; a click on a
// line hands that contract back.
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class QLineEdit;
class QListWidget;
class SeparationService;

class EvidenceContractChooseWidget : public QWidget
{
    Q_OBJECT
public:
    enum Kind { DealContracts, EleContracts };

    // Starts loading the whole list at once.
    EvidenceContractChooseWidget(Kind kind, const HouseMessage_DataSqlTable::HouseMessageData &house,
                                 QWidget *parent = nullptr);

    Kind kind() const { return m_kind; }
    // The chooser's window title ("选择合同" or "选择dud合同").
    static QString titleOf(Kind kind);
    QList<QVariantMap> contracts() const { return m_contracts; }

signals:
    void contractChosen(const QVariantMap &contract);

public slots:
    void search();
    void choose(int row);

private:
    void showContracts(const QList<QVariantMap> &contracts);

    Kind m_kind;
    HouseMessage_DataSqlTable::HouseMessageData m_house;
    SeparationService *m_service;
    QLineEdit *m_search = nullptr;
    QListWidget *m_list = nullptr;
    BusyOverlay *m_busy = nullptr;
    QList<QVariantMap> m_contracts;
};
