#pragma once
// What the building, unit and room steps of the chooser share: a filter entry, the entries as
// tiles (flat, or one row per floor), an error line with "重试" when the list could not be
// loaded, a waiting overlay, and a way to type a value the list lacks (a "手动添加" tile that
// opens AddNewLouDongMessageWidget, or the inline CustomAddXiaoQuMessageWidget row). The
// step pages subclass it with their own entries and signals.
#include "services/communitystructure.h"

#include <QList>
#include <QStringList>
#include <QWidget>

class BusyOverlay;
class FailureLine;
class FlowLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class StructureListPage : public QWidget
{
    Q_OBJECT
public:
    struct Kind
    {
        QString prefix;        // object names: "<prefix>_<index>", "<prefix>_add"
        QString noun;          // "楼栋号", "单元号", "房号"
        QString addTitle;      // the add dialog's title ("添加楼栋号"); empty: inline row
        QString addPlaceholder;
        QStringList suffixes;
        QString shownSuffix;   // appended to each name on its tile ("室")
    };

    explicit StructureListPage(const Kind &kind, QWidget *parent = nullptr);

    // Names shown, in list order; floors group the tiles in the floor view (0: unknown).
    QStringList shownNames() const { return m_names; }
    bool isFloorView() const { return m_floorView; }
    QString errorText() const;
    bool isLoading() const;

    void clearEntries();
    void startLoading();
    void stopLoading();
    // The list could not be loaded: it stays empty and says why, with a retry.
    void showFailure(const QString &reason);

signals:
    void retryRequested();

public slots:
    void showListView();
    void dealSearchTxt(const QString &txt);
    // Opens the way to type a value: the dialog, or the focus in the inline row.
    void openCustomAdd();

protected:
    void setEntries(const QStringList &names, const QList<int> &floors = QList<int>());
    void setFloorView(bool on);
    // A button beside the filter entry.
    QPushButton *addTopButton(const QString &text, const QString &objectName);
    // Hands on what a typed value came to: the existing entry meant, or `fresh` for a new
    // one; a refusal is shown.
    template <typename Model, typename Chosen>
    void takeTyped(const CommunityStructure::TypedOutcome &outcome, const QList<Model> &list, const Model &fresh,
                   Chosen chosen)
    {
        if (outcome.kind == CommunityStructure::TypedOutcome::TakeExisting)
            chosen(list.at(outcome.index));
        else if (outcome.kind == CommunityStructure::TypedOutcome::AddNew)
            chosen(fresh);
        else
            refuse(outcome.refusal);
    }
    void refuse(const QString &text);
    // A tile was clicked.
    virtual void entryChosen(int index) = 0;
    // The agent typed a value; unit is the chosen suffix ("" for none).
    virtual void customEntered(const QString &content, const QString &unit) = 0;

private:
    QWidget *buildTop();
    void rebuild();
    void addTile(FlowLayout *flow, QWidget *owner, int index);
    QWidget *floorRow(int floor, const QList<int> &indexes);
    void hideError();

    Kind m_kind;
    QStringList m_names;
    QList<int> m_floors;
    QString m_filter;
    bool m_floorView = false;

    QHBoxLayout *m_topLayout = nullptr;
    QLineEdit *m_filterEdit = nullptr;
    FailureLine *m_failure = nullptr;
    QWidget *m_content = nullptr;
    QVBoxLayout *m_contentLayout = nullptr;
    BusyOverlay *m_overlay = nullptr;
};
