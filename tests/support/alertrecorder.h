#pragma once
// Records every message box the code under test asks for, without modal loops, and
// optionally answers each one as it appears.
#include "widgets/alertwidget.h"

#include <QList>
#include <QPointer>
#include <QStringList>

struct AlertRecord
{
    int iconKind = 0;
    QString title;
    QString text;
    QStringList buttons;
    bool checkVisible = false;
    QString ownerWindow;
};

class AlertRecorder
{
public:
    // Installs itself as the box hook; removed on destruction.
    AlertRecorder();
    ~AlertRecorder();

    // The answer given to boxes as they appear; by default they stay open.
    void answerWith(AlertWidget::Answer answer) { m_autoAnswer = true; m_answer = answer; }
    void leaveOpen() { m_autoAnswer = false; }

    int count() const { return m_records.size(); }
    const QList<AlertRecord> &records() const { return m_records; }
    AlertRecord last() const { return m_records.isEmpty() ? AlertRecord() : m_records.last(); }
    QStringList texts() const;
    // The most recent box still open (null when answered or deleted).
    AlertWidget *openBox() const { return m_open; }
    void clear() { m_records.clear(); }
    // Boxes asked for and not yet deleted, shown or still waiting for their start.
    static int liveBoxes();

private:
    void record(AlertWidget *box);

    QList<AlertRecord> m_records;
    QPointer<AlertWidget> m_open;
    bool m_autoAnswer = false;
    AlertWidget::Answer m_answer = AlertWidget::Know;
};
