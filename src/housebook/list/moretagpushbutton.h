#pragma once
// The "●●●" that ends a tag cell whose tags do not all fit; it reports the pointer entering
// and leaving it so the cell can show and hide the list of all tags.
#include <QPushButton>

class MoreTagPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit MoreTagPushButton(QWidget *parent = nullptr);

signals:
    void enterButton();
    void leaveButton();

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
};
