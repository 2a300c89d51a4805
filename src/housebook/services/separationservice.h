#pragma once
// The separation (team cooperation) pages' requests: the role rows of a listing, handing a
// role over, picking up and releasing it, the evidence of a role, an entry's details, its
// approval and its history. Pages build the user's input and show what comes back; this
// class owns every path and form key. Each call ends with finished(); a refusal has been
// shown by the request object and ends in failed() as well. Every form carries lianmai=1.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QList>
#include <QObject>
#include <QVariantMap>

#include <functional>

class SeparationService : public QObject
{
    Q_OBJECT
public:
    enum Request {
        List, PickUp, Assign, Remove, History, CanCheck,           // role rows
        KeyEvidence, DuJiaEvidence, DealEvidence, WeiTuoEvidence,   // evidence forms
        DealContracts, EleContracts, CompanyPromotion,
        Detail, Review                                              // an entry's details
    };
    Q_ENUM(Request)

    explicit SeparationService(QObject *parent = nullptr);

    // ---- role rows ----
    // fd/LianmaiPosts
    void loadList(int itemId);
    // fd/hbweihuren: the user becomes the maintenance holder.
    void pickUp(int itemId);
    // Hands the role of the row to person (a people chooser entry: id, name, phone,
    // companyid). Entry and maintenance go through the alliance's assignment
    // (app/LianmaiHouseFenpei, fd/LianmaiChangeWeihuren), the others through fd/Changeoperator.
    void assign(const HouseMessage_DataSqlTable::HouseMessageData &house,
                const HouseBookSeperateList_Model::ItemData &row, const QVariantMap &person);
    // fd/JieChu: the role loses its holder.
    void remove(int itemId, const HouseBookSeperateList_Model::ItemData &row);
    // fd/fendanrecord, 20 lines a page from 1.
    void loadHistory(const QString &entryId, int pageIndex);
    // apiv3_0_2/ArCheckApplyRecordCtr/isCanCheck for an entry in the office approval flow.
    void askCanCheck(const QString &recordId);

    // ---- evidence ----
    // Posts an evidence form (KeyEvidence fd/hbaddkey, DuJiaEvidence fd/hbdujia,
    // DealEvidence fd/hbchengjiao, WeiTuoEvidence fd/hbweituo); the form holds every key
    // but lianmai. evidenceSubmitted tells whether the server approved it at once.
    void submitEvidence(Request kind, const QVariantMap &form);
    // app/LianmaiScontractPosts (sale) or app/LianmaiScontractRentPosts (rent).
    void loadDealContracts(bool rent, const QString &houseAddress, const QString &community);
    // itcontract/LianmaiPosts
    void loadEleContracts(const QString &code);
    // xinfuli/getCompanyPromotion: the company's verification settings.
    void loadCompanyPromotion();
    // Shown when a change (not a load: pages show failed loads in place) fails without the
    // server having said why (lost connection, broken reply); "%1" becomes the reason. Empty
    // (the default) keeps such failures quiet.
    void setFailureNotice(const QString &text) { m_failureNotice = text; }

    // ---- an entry ----
    // fd/hbfendandetail
    void loadDetail(const QString &entryId);
    // fd/shenpi: approve (Approved) or refuse (Refused) with the reason.
    void review(const QString &entryId, int state, const QString &remark);
    // Fetches an electronic contract's file into folder; ends in pdfDownloaded or
    // pdfDownloadFailed (nothing is shown to the user here).
    void downloadPdf(const QString &url, const QString &folder);

    // A reply saying that the user's own approval right applied (data.pass = 1).
    static bool autoApproved(const QJsonValue &data);
    // Whether the request changes something on the server (a hand-over, evidence, a review).
    static bool isChange(Request request);

signals:
    void listLoaded(int itemId, const QList<HouseBookSeperateList_Model::ItemData> &rows);
    void pickedUp(int itemId);
    void assigned(int type);
    void removed(int type);
    // lines: {author, content, time}
    void historyLoaded(const QList<QVariantMap> &lines, int total);
    void canCheckAnswered(bool canCheck);
    void evidenceSubmitted(SeparationService::Request kind, bool autoApproved);
    // contracts: the reply's rows as they are
    void dealContractsLoaded(const QList<QVariantMap> &contracts);
    void eleContractsLoaded(const QList<QVariantMap> &contracts);
    void companyPromotionLoaded(const QVariantMap &settings);
    void detailLoaded(const HouseBookSeperateDetail_Model::Data &detail);
    void reviewed(int state);
    void pdfDownloaded(const QString &path);
    void pdfDownloadFailed(const QString &reason);
    void failed(SeparationService::Request request, const QString &message);
    void finished(SeparationService::Request request);

private:
    void post(Request request, const QString &url, const QVariantMap &form,
              const std::function<void(const QJsonValue &)> &onSuccess);
    static QList<QVariantMap> rowsOf(const QJsonValue &data);

    QString m_failureNotice;
};
