#pragma once
// The commission form of a role: contract, deed, identity and commission photos, codes, verifier.
// The verifiers and whether one is required are the company's promotion settings; the
// settings button opens their editor in the sibling library "qx_pushHouse.dll" and reads
// them again once it closes.
#include "separation/separationevidenceform.h"

class QComboBox;

class HouseSeperate_EditWeiTuoMessageWidget : public SeparationEvidenceForm
{
    Q_OBJECT
public:
    HouseSeperate_EditWeiTuoMessageWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       bool edit, QWidget *parent = nullptr);

    // The library holding configXinfuLi (tests point it elsewhere).
    void setSettingsLibrary(const QString &library) { m_settingsLibrary = library; }
    // A verifier is required (the company's `heyan` is 1).
    bool verifierRequired() const { return m_verifierRequired; }

public slots:
    void loadVerifiers();
    void openSettings();

protected:
    void fillFrom(const HouseBookSeperateDetail_Model::Data &detail) override;

private:
    void showVerifiers(const QVariantMap &settings);
    void selectVerifier(const QString &name);
    QVariantMap verifier() const;

    QComboBox *m_verifiers = nullptr;
    QVariantMap m_settings;
    bool m_verifierRequired = false;
    QString m_wantedVerifier;  // the entry's verifier, chosen once the list is there
    QString m_settingsLibrary = QStringLiteral("qx_pushHouse.dll");
};
