#pragma once
// Colleagues' evaluations of a listing: the list (newest as the server orders them), an entry
// field with "发送" for those allowed to add one, and a delete button on each row for those
// allowed to remove them. Every change reloads the list.
#include "detail/describe/housedescribelist_model.h"
#include "sql/housemessage_datasqltable.h"

#include <QJsonValue>
#include <QWidget>

class DescribeService;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

class HouseBookDescribeEvaluateWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookDescribeEvaluateWidget(QWidget *parent = nullptr);

    const HouseDescribeList_Model &model() const { return m_model; }

public slots:
    void dealHouseData(HouseMessage_DataSqlTable::HouseMessageData model);
    void downloadData();
    void deal_listData(QJsonValue value);
    void showListView();
    void submitData();
    void deleteEvaluate(int id);

private:
    QWidget *buildRow(const HouseDescribeList_Model::ListData &row, bool removable);

    HouseMessage_DataSqlTable::HouseMessageData m_house;
    HouseDescribeList_Model m_model;
    DescribeService *m_service;
    QLineEdit *m_entry = nullptr;
    QPushButton *m_send = nullptr;
    QLabel *m_addLink = nullptr;
    QLabel *m_countLabel = nullptr;
    QVBoxLayout *m_rows = nullptr;
};
