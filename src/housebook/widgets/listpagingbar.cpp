#include "widgets/listpagingbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const char kEditStyle[] = "QLineEdit{background-color:white;border:1px solid rgb(12,145,235);border-radius:3px;}";
const char kJumpStyle[] = "QPushButton{background-color:rgb(92,185,92);color:white;border:none;border-radius:5px;}";
// One segment of the stepping strip; %1 are the rounded outer corners of the end segments.
const char kStepStyle[] = "QPushButton{background-color:white;color:rgb(12,145,235);border:1px solid rgb(221,221,221);"
                          "border-radius:0px;%1padding:0px 8px;}"
                          "QPushButton:hover{background-color:rgb(240,240,240);}";
} // namespace

ListPagingBar::ListPagingBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("pageWidget"));
    buildUi();
}

void ListPagingBar::buildUi()
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 5, 10, 5);
    layout->setSpacing(0);
    layout->addStretch(1);
    layout->addWidget(new QLabel(QStringLiteral("每页 "), this));
    m_pageSize = newEdit(QStringLiteral("pageNumEdit"));
    layout->addWidget(m_pageSize);
    m_description = new QLabel(QStringLiteral(" 条，共0页，共计0条，当前第 "), this);
    m_description->setObjectName(QStringLiteral("pageDesLabel"));
    layout->addWidget(m_description);
    m_currentPage = newEdit(QStringLiteral("currentPageIndexEdit"));
    layout->addWidget(m_currentPage);
    layout->addWidget(new QLabel(QStringLiteral(" 页 "), this));
    auto *jump = new QPushButton(QStringLiteral("跳转"), this);
    jump->setObjectName(QStringLiteral("jumpBtn"));
    jump->setFixedSize(50, 26);
    jump->setStyleSheet(QString::fromUtf8(kJumpStyle));
    layout->addWidget(jump);
    layout->addSpacing(15);
    auto *backTen = newStepButton(QStringLiteral("lastTenPushButton"), QStringLiteral("<<"),
                                  QStringLiteral("border-top-left-radius:4px;border-bottom-left-radius:4px;"));
    auto *back = newStepButton(QStringLiteral("lastPage"), QStringLiteral("上一页"), QString());
    auto *forward = newStepButton(QStringLiteral("nextPage"), QStringLiteral("下一页"), QString());
    auto *forwardTen = newStepButton(QStringLiteral("nextTenPushButton"), QStringLiteral(">>"),
                                     QStringLiteral("border-top-right-radius:4px;border-bottom-right-radius:4px;"));
    for (QPushButton *button : {backTen, back, forward, forwardTen})
        layout->addWidget(button);

    connect(back, &QPushButton::clicked, this, [this] { emit stepRequested(PagedListController::Back); });
    connect(forward, &QPushButton::clicked, this, [this] { emit stepRequested(PagedListController::Forward); });
    connect(backTen, &QPushButton::clicked, this, [this] { emit stepRequested(PagedListController::BackTen); });
    connect(forwardTen, &QPushButton::clicked, this, [this] { emit stepRequested(PagedListController::ForwardTen); });
    connect(jump, &QPushButton::clicked, this, &ListPagingBar::jumpToTyped);
    connect(m_currentPage, &QLineEdit::returnPressed, this, &ListPagingBar::jumpToTyped);
    // Return in the size field applies the size (editingFinished); jumping to the typed page
    // with a page count of the old size would refuse or land on the wrong rows.
    connect(m_pageSize, &QLineEdit::editingFinished, this, &ListPagingBar::sizeEditFinished);
}

QLineEdit *ListPagingBar::newEdit(const QString &objectName)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(objectName);
    edit->setFixedSize(40, 24);
    edit->setAlignment(Qt::AlignCenter);
    edit->setStyleSheet(QString::fromUtf8(kEditStyle));
    return edit;
}

QPushButton *ListPagingBar::newStepButton(const QString &objectName, const QString &text, const QString &corners)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setFixedHeight(26);
    button->setCursor(Qt::PointingHandCursor);
    button->setStyleSheet(QString::fromUtf8(kStepStyle).arg(corners));
    return button;
}

void ListPagingBar::showState(int page, int pageCount, int total, int pageSize)
{
    m_page = page;
    m_pageCount = pageCount;
    m_total = total;
    showPageSize(pageSize);
    m_description->setText(QStringLiteral(" 条，共%1页，共计%2条，当前第 ").arg(pageCount).arg(total));
    m_currentPage->setText(QString::number(page));
}

void ListPagingBar::showCounting(int page, int pageSize)
{
    m_page = page;
    showPageSize(pageSize);
    m_description->setText(QStringLiteral(" 条，共…页，共计…条，当前第 "));
    m_currentPage->setText(QString::number(page));
}

void ListPagingBar::showPageSize(int pageSize)
{
    m_shownPageSize = pageSize;
    m_pageSize->setText(QString::number(pageSize));
}

void ListPagingBar::sizeEditFinished()
{
    const QString text = m_pageSize->text().trimmed();
    if (text == QString::number(m_shownPageSize))
        return;
    emit pageSizeEdited(text);
    // A valid size reloads the page, which shows it; an invalid one leaves the size in force.
    m_pageSize->setText(QString::number(m_shownPageSize));
}

void ListPagingBar::restoreFields()
{
    m_currentPage->setText(QString::number(m_page));
    m_pageSize->setText(QString::number(m_shownPageSize));
}

void ListPagingBar::jumpToTyped()
{
    emit jumpRequested(m_currentPage->text());
}
