#include "detail/follow/rowlistarea.h"

#include "widgets/loadfailureview.h"

#include <QLabel>
#include <QVBoxLayout>

RowListArea::RowListArea(const QString &emptyText, QWidget *parent)
    : QScrollArea(parent)
    , m_body(new QWidget(this))
    , m_layout(new QVBoxLayout(m_body))
    , m_empty(new QLabel(emptyText, m_body))
    , m_failure(new LoadFailureView(QStringLiteral("加载失败："), m_body))
{
    setObjectName(QStringLiteral("rowListArea"));
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(1);
    m_empty->setObjectName(QStringLiteral("emptyLabel"));
    m_empty->setAlignment(Qt::AlignCenter);
    m_layout->addWidget(m_empty);
    connect(m_failure, &LoadFailureView::retryRequested, this, &RowListArea::retryRequested);
    m_layout->addWidget(m_failure);
    m_layout->addStretch(1);
    setWidget(m_body);
}

void RowListArea::clear()
{
    // A row may be the sender of the signal that led here: it goes once control returns.
    for (QWidget *row : qAsConst(m_rows)) {
        row->setParent(nullptr);
        row->deleteLater();
    }
    m_rows.clear();
    m_empty->hide();
    m_failure->hide();
}

void RowListArea::addRow(QWidget *row)
{
    row->setParent(m_body);
    m_layout->insertWidget(m_layout->count() - 1, row);
    m_rows.append(row);
}

void RowListArea::finish()
{
    m_empty->setVisible(m_rows.isEmpty());
}

void RowListArea::showFailure(const QString &reason)
{
    clear();
    m_failure->showReason(reason);
}

PagedListController::Refusals RowListArea::refusals(const QString &firstPage, const QString &lastPage)
{
    return {firstPage, lastPage, QStringLiteral("后面没有十页内容了！"), QStringLiteral("请选择有效的页数！")};
}
