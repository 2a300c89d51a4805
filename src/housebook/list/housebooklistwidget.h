#pragma once
// The page on which an agent browses the house book and its worklists.
#include <QWidget>

class QLabel;

class HouseBookListWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookListWidget(QWidget *parent = nullptr);

    // List mode 1..6 and sub-mode 0..3; called once, right after construction.
    void setMode(int mode, int subMode);
    int mode() const { return m_mode; }
    int subMode() const { return m_subMode; }
    QString keyWord() const { return m_keyWord; }
    int page() const { return m_page; }

    // The three worklists: each selects its keyword and reloads from the first page.
    void showNeedDeal();
    void showNeedReview();
    void showNeedXieZuo();

signals:
    void refreshNotDeal();

public slots:
    void refreshData();
    void refreshPage();

private:
    void showWorklist(const QString &keyWord);
    void updateCaption();

    int m_mode = 5;
    int m_subMode = 0;
    int m_page = 1;
    QString m_keyWord;
    QLabel *m_caption = nullptr;
};
