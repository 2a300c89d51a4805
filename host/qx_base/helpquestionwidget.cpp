#include "helpquestionwidget.h"
#include "helpquestiontipwidget.h"

#include <QCursor>
#include <QHash>
#include <QPointer>

namespace {
QHash<int, QString> &tipTexts()
{
    static QHash<int, QString> texts;
    return texts;
}
QPointer<HelpQuestionTipWidget> &tipWindow()
{
    static QPointer<HelpQuestionTipWidget> window;
    return window;
}
} // namespace

HelpQuestionWidget::HelpQuestionWidget(QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("helpQuestionWidget"));
    setText(QStringLiteral("?"));
    setAlignment(Qt::AlignCenter);
    setFixedSize(16, 16);
    setStyleSheet(QStringLiteral("QLabel{border:1px solid rgb(160,160,160);border-radius:8px;"
                                 "color:rgb(120,120,120);font-size:11px;}"));
}

void HelpQuestionWidget::setTipId(int id)
{
    m_tipId = id;
    setToolTip(getTipText(id));
}

QString HelpQuestionWidget::getTipText(int id)
{
    return tipTexts().value(id);
}

void HelpQuestionWidget::registerTip(int id, const QString &text)
{
    tipTexts().insert(id, text);
}

void HelpQuestionWidget::enterEvent(QEvent *event)
{
    QLabel::enterEvent(event);
    const QString tip = getTipText(m_tipId);
    if (!tip.isEmpty())
        HelpQuestionTipWidget::showTip(tip, true);
}

void HelpQuestionWidget::leaveEvent(QEvent *event)
{
    QLabel::leaveEvent(event);
    HelpQuestionTipWidget::hideTip();
}

HelpQuestionTipWidget::HelpQuestionTipWidget() : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWordWrap(true);
    setMaximumWidth(320);
    setStyleSheet(QStringLiteral("QLabel{background:white;border:1px solid rgb(221,221,221);"
                                 "padding:8px;color:rgb(51,51,51);font-size:12px;}"));
}

void HelpQuestionTipWidget::showTip(const QString &tip, bool atCursor)
{
    if (!tipWindow())
        tipWindow() = new HelpQuestionTipWidget;
    HelpQuestionTipWidget *w = tipWindow();
    w->setText(tip);
    w->adjustSize();
    if (atCursor)
        w->move(QCursor::pos() + QPoint(12, 12));
    w->show();
}

void HelpQuestionTipWidget::hideTip()
{
    if (tipWindow())
        tipWindow()->close();
}

HelpQuestionTipWidget *HelpQuestionTipWidget::current()
{
    return tipWindow();
}
