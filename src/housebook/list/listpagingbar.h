#pragma once
// The paging bar under the listing tables ("pageWidget"): page size, page description,
// the typed page with its jump button and the four stepping buttons. It knows the current
// page and page count, applies the stepping rules, refuses impossible steps with a message
// box and asks its page to load the chosen page through pageRequested().
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class ListPagingBar : public QWidget
{
    Q_OBJECT
public:
    explicit ListPagingBar(QWidget *parent = nullptr);

    // Shows the state of the loaded page: size, " 条，共%1页，共计%2条，当前第 " and the page.
    void showState(int page, int pageCount, int total, int pageSize);
    int page() const { return m_page; }
    int pageCount() const { return m_pageCount; }
    int total() const { return m_total; }
    // Sets the size field alone (when the stored size changed elsewhere).
    void showPageSize(int pageSize);

    // Stores a typed page size under "page": 1..100 is kept and returned; anything else
    // stores 20 and returns 0 (the page keeps its current size until it reloads the setting).
    static int storePageSizeText(const QString &text, bool isJointSale);
    // The page's answer to pageSizeEdited: stores the text as above and, when it is a valid
    // size other than the one shown, shows it and returns it (the page then reloads at that
    // size); 0 otherwise.
    int acceptPageSize(const QString &text, bool isJointSale);
    // pageSize from the stored setting, 20 when not positive, at most 100.
    static int storedPageSize(bool isJointSale);
    // total / pageSize rounded up; 0 without listings.
    static int pagesFor(int total, int pageSize);

    static QString firstPageText() { return QStringLiteral("亲，当前已是第一页无法再翻到上一页了！"); }
    static QString lastPageText() { return QStringLiteral("亲，当前已是最后一页无法再翻到下一页了！"); }

signals:
    // A step passed its rule: load this page.
    void pageRequested(int page);
    // The page size field was edited (Return or leaving it) to a text other than the size
    // shown; the page stores it and reloads at the new size when it is valid. The field
    // shows the size in force again when it is not.
    void pageSizeEdited(const QString &text);

public slots:
    void stepBack();
    void stepForward();
    void stepBackTen();
    void stepForwardTen();
    void jumpToTyped();

private:
    void buildUi();
    QLineEdit *newEdit(const QString &objectName);
    QPushButton *newStepButton(const QString &objectName, const QString &text, const QString &corners);
    void refuse(const QString &text);
    void sizeEditFinished();
    // Puts the shown page and size back into the two fields.
    void restoreFields();

    int m_page = 1;
    int m_pageCount = 0;
    int m_total = 0;
    int m_shownPageSize = 0;
    QLineEdit *m_pageSize = nullptr;
    QLabel *m_description = nullptr;
    QLineEdit *m_currentPage = nullptr;
};
