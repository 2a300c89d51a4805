#pragma once
// The history of one role entry: every hand-over, pick-up, release, evidence and decision as
// "author：contenttime", newest first, twenty lines a page.
#include <QStringList>
#include <QVariantMap>
#include <QWidget>

class BusyOverlay;
class PagedListController;
class QLabel;
class QListWidget;
class SeparationService;

class HouseSeperateOperateHistoryListWidget : public QWidget
{
    Q_OBJECT
public:
    // Starts loading the first page at once.
    explicit HouseSeperateOperateHistoryListWidget(const QString &entryId, QWidget *parent = nullptr);

    QStringList lines() const { return m_lines; }
    int page() const;
    // One line of the history.
    static QString lineOf(const QVariantMap &row);

signals:
    void closeWidget();

public slots:
    void lastPage();
    void nextPage();

private:
    void load(int page);
    void showLines(const QList<QVariantMap> &rows, int total);

    QString m_entryId;
    QStringList m_lines;
    SeparationService *m_service;
    PagedListController *m_pager;
    QListWidget *m_list;
    QLabel *m_pageLabel;
    BusyOverlay *m_overlay;
};
