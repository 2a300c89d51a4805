#pragma once
// The company's separation rules ("分单规则"): which photo categories a survey must bring and
// how many of each, how often a listing's maintainer must follow it up and call, the survey
// standard text, whether the owner's phone is hidden and whether listings have an exclusive
// agent. Read from the server when the page opens, saved back as a whole.
#include <QList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class HouseBookSettingsService;
class LoadFailureView;
class QCheckBox;
class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;

class HouseBookHighSeperateSetWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookHighSeperateSetWidget(QWidget *parent = nullptr);

signals:
    void setSuccess();

public slots:
    // Fetches the rules and shows them; a failure shows the reason with a retry.
    void load();
    void submit();

private:
    QWidget *buildRules();
    QWidget *buildFrequency(QLineEdit **days, QLineEdit **count, const QString &daysName,
                            const QString &countName, const QString &action);
    void addRow(QGridLayout *grid, const QString &label, QWidget *field);
    void showRules(const QVariantMap &rules);
    void showLoadFailure(const QString &reason);
    QList<QVariantMap> rules() const;
    QVariantMap form() const;

    static constexpr int kCategories = 6;
    QCheckBox *m_ruleChecks[kCategories] = {};
    QSpinBox *m_ruleCounts[kCategories] = {};
    QLineEdit *m_followDays = nullptr;
    QLineEdit *m_followCount = nullptr;
    QLineEdit *m_telDays = nullptr;
    QLineEdit *m_telCount = nullptr;
    QPlainTextEdit *m_shikanContent = nullptr;
    QCheckBox *m_hideOwnerPhone = nullptr;
    QCheckBox *m_dujiaren = nullptr;
    QWidget *m_form = nullptr;
    LoadFailureView *m_failure = nullptr;
    BusyOverlay *m_overlay = nullptr;
    HouseBookSettingsService *m_service = nullptr;
};
