#include "housebooklistwidget.h"

#include "widgets/pageplaceholder.h"

#include <QLabel>

HouseBookListWidget::HouseBookListWidget(QWidget *parent) : QWidget(parent)
{
    m_caption = fillPlaceholder(this, QString());
    updateCaption();
}

void HouseBookListWidget::setMode(int mode, int subMode)
{
    m_mode = mode;
    m_subMode = subMode;
    m_page = 1;
    updateCaption();
}

void HouseBookListWidget::showNeedDeal() { showWorklist(QStringLiteral("待处理")); }
void HouseBookListWidget::showNeedReview() { showWorklist(QStringLiteral("待审核房源")); }
void HouseBookListWidget::showNeedXieZuo() { showWorklist(QStringLiteral("待审核")); }

void HouseBookListWidget::showWorklist(const QString &keyWord)
{
    m_keyWord = keyWord;
    m_page = 1;
    updateCaption();
}

void HouseBookListWidget::refreshData()
{
    updateCaption();
}

void HouseBookListWidget::refreshPage()
{
    m_keyWord.clear();
    m_page = 1;
    updateCaption();
}

void HouseBookListWidget::updateCaption()
{
    m_caption->setText(QStringLiteral("房源列表 %1-%2 %3").arg(m_mode).arg(m_subMode).arg(m_keyWord));
}
