#pragma once
// The report form against a role holder: the agent writes what is wrong with the holder's
// work and files it. operateSuccess() follows an accepted report; the page that opened the
// form confirms it and closes it.
#include "services/separationmodels.h"
#include "sql/housemessage_datasqltable.h"

#include <QWidget>

class BusyOverlay;
class QTextEdit;
class ReportService;

class HouseSeperateJuBaoWidget : public QWidget
{
    Q_OBJECT
public:
    HouseSeperateJuBaoWidget(const HouseMessage_DataSqlTable::HouseMessageData &house, const HouseBookSeperateList_Model::ItemData &row,
       QWidget *parent = nullptr);

signals:
    void operateSuccess();

public slots:
    void submitData();

private:
    QString m_itemId;
    HouseBookSeperateList_Model::ItemData m_row;
    ReportService *m_service;
    QTextEdit *m_content;
    BusyOverlay *m_overlay;
};
