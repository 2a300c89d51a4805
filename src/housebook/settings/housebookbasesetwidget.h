#pragma once
// The "基本设置" page of the settings window: category order, page size, refresh and reminder
// (the agent's own choices, unless the company set them for everyone), duplicate criteria,
// publish types, what listings hide by default, the names of the status classes and the
// number-hiding mode. It shows what the settings store holds and posts the page as a whole.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class HouseBookSettingsService;
class HouseBookSet_SqlTable;
class QAbstractButton;
class QCheckBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class SortWidget;

class HouseBookBaseSetWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookBaseSetWidget(QWidget *parent = nullptr);

    // Whether the company's unified setting keeps this agent from changing her own choices.
    bool personalLocked() const { return m_personalLocked; }

public slots:
    // Shows the stored settings; unsaved edits are replaced.
    void showSet();
    // Checks the page and posts it; nothing is posted when a check fails.
    void basic_message_submit();

signals:
    void closeWidget();
    void setSuccess();

private:
    void buildUi();
    void addPersonalRows(QFormLayout *form);
    void addCompanyRows(QFormLayout *form);
    QWidget *radioPair(const QString &first, const QString &firstName, const QString &second,
                       const QString &secondName);
    QWidget *checkRow(const QStringList &names, const QStringList &texts);
    QWidget *stateRow(const QString &prefix);
    void showPersonal(HouseBookSet_SqlTable &store);
    void showCompany(const QVariantMap &bookSet, HouseBookSet_SqlTable &store);
    void applyUnifiedLock(bool companyUnified);

    // The first failed check's message, "" when the page may be posted.
    QString firstProblem() const;
    QVariantMap form() const;
    QStringList stateNames(const QString &prefix) const;
    int pageSizeInput() const;

    template <typename T>
    T *child(const QString &name) const { return findChild<T *>(name); }
    bool checked(const QString &name) const;
    void setChecked(const QString &name, bool on);

    HouseBookSettingsService *m_service;
    BusyOverlay *m_overlay = nullptr;
    SortWidget *m_items = nullptr;
    QLineEdit *m_page = nullptr;
    QLabel *m_notice = nullptr;
    QCheckBox *m_companyStyle = nullptr;
    bool m_personalLocked = false;
};
