#pragma once
// The reason box of a refused photo set: the reviewer types why and submits it.
#include <QWidget>

class QPlainTextEdit;

class HouseBookPhotoReviewRefuseWidget : public QWidget
{
    Q_OBJECT
public:
    explicit HouseBookPhotoReviewRefuseWidget(QWidget *parent = nullptr);

signals:
    void backTxt(QString txt);
    void closeWidget();

private:
    void submit();

    QPlainTextEdit *m_reason = nullptr;
};
