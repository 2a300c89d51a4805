#pragma once
// The maintainer worklist: listings whose maintainer term is about to run out.
#include <QWidget>

class HouseBookWeiHuPeoPleNeedDealWidget : public QWidget
{
    Q_OBJECT
public:
    HouseBookWeiHuPeoPleNeedDealWidget(QWidget *parent, bool flag);

    bool flag() const { return m_flag; }
    int refreshCount() const { return m_refreshCount; }

signals:
    void back_mainPage();
    void back_count(int count);

public slots:
    void refreshPage();

private:
    bool m_flag;
    int m_refreshCount = 0;
};
