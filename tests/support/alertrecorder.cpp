#include "alertrecorder.h"

#include <QApplication>

AlertRecorder::AlertRecorder()
{
    AlertWidget::setHook([this](AlertWidget *box) { record(box); });
}

AlertRecorder::~AlertRecorder()
{
    AlertWidget::setHook(nullptr);
    if (m_open)
        delete m_open.data();
}

QStringList AlertRecorder::texts() const
{
    QStringList out;
    for (const AlertRecord &r : m_records)
        out << r.text;
    return out;
}

void AlertRecorder::record(AlertWidget *box)
{
    AlertRecord r;
    r.iconKind = box->iconKind();
    r.title = box->title();
    r.text = box->text();
    r.buttons = box->buttonTexts();
    r.checkVisible = box->isCheckVisible();
    r.ownerWindow = box->ownerWindow();
    m_records.append(r);
    m_open = box;
    if (m_autoAnswer)
        box->answer(m_answer);
}

int AlertRecorder::liveBoxes()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (qobject_cast<AlertWidget *>(w))
            ++n;
    }
    return n;
}
