#pragma once
// The house-book settings window.
#include <QWidget>

class HouseBookSetWidget : public QWidget
{
    Q_OBJECT
public:
    HouseBookSetWidget(QWidget *parent, int type);

signals:
    void closeWidget();
    void setSuccess();

private:
    int m_type;
};
