#pragma once
// Step 1 of the chooser: search the communities by name ("搜索") and pick one, or take the
// typed name as a new community ("手动添加(%1)", for agents allowed to record communities).
#include <QJsonValue>
#include <QList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class CommunityStructureService;
class FailureLine;
class QLineEdit;
class QVBoxLayout;

class ChooseXiaoQuWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ChooseXiaoQuWidget(QWidget *parent = nullptr);

    QList<QVariantMap> communities() const { return m_communities; }
    // The failure line's text; empty when the last search worked.
    QString errorText() const;
    void setSearchText(const QString &text);

signals:
    void chooseItem(QVariantMap map);

public slots:
    void downloadXiaoQu();
    void deal_XiaoquSearch(const QJsonValue &resultValue);

private:
    QWidget *buildSearchBar();
    void showCommunities(const QList<QVariantMap> &communities);
    void showFailure(const QString &reason);
    void addManualRow();
    void chooseManual();

    CommunityStructureService *m_service;
    QList<QVariantMap> m_communities;
    QString m_key;
    QLineEdit *m_search = nullptr;
    FailureLine *m_failure = nullptr;
    QWidget *m_rows = nullptr;
    QVBoxLayout *m_rowLayout = nullptr;
    BusyOverlay *m_overlay = nullptr;
};
