#pragma once
// The typed items of the search bar: one text (kind 0) and the items made of several short
// texts joined by "," (kinds 2, 3, 4 and 9). All report through lineTextValue and start a
// search on Return.
#include "list/searchitem.h"

#include <QList>

class QHBoxLayout;
class QLabel;

// Kind 0: one line edit (`lineTextEdit`); the value is its text as typed.
class HouseSearch_ZeroWidget : public HouseSearchItem
{
    Q_OBJECT
public:
    HouseSearch_ZeroWidget(const QVariantMap &description, QWidget *parent);

    QString value() const override;
    void setValue(const QString &text) override;
    void clearValue() override;

private:
    QLineEdit *m_edit = nullptr;
};

// Several line edits whose texts make one value "%1,%2[,%3]". A part cannot hold "," itself,
// so the parts always come back in their places.
class HouseSearchPartsItem : public HouseSearchItem
{
    Q_OBJECT
public:
    QString value() const override;
    void setValue(const QString &text) override;
    void clearValue() override;

protected:
    HouseSearchPartsItem(const QVariantMap &description, QWidget *parent);
    QLineEdit *addPart(const QString &objectName, const QString &placeholder = QString());
    QLabel *addLabel(const QString &objectName, const QString &text);

private:
    void reportValue();

    QHBoxLayout *m_row = nullptr;
    QList<QLineEdit *> m_parts;
};

// Kind 2: building, unit and room (`firstLineEdit`, `secondLineEdit`, `thirdLineEdit`).
class HouseSearch_SecondWidget : public HouseSearchPartsItem
{
    Q_OBJECT
public:
    HouseSearch_SecondWidget(const QVariantMap &description, QWidget *parent);
};

// Kind 3: two captioned texts (`firstLabel`/`firstLineEdit`, `secondLabel`/`secondLineEdit`);
// the captions are the first two parts of the placeholder "caption1,caption2".
class HouseSearch_ThirdWidget : public HouseSearchPartsItem
{
    Q_OBJECT
public:
    HouseSearch_ThirdWidget(const QVariantMap &description, QWidget *parent);
};

// Kind 4: a range of numbers under the item's title (`titleLabel`, `firstLineEdit`,
// `secondLineEdit`).
class HouseSearch_FourWidget : public HouseSearchPartsItem
{
    Q_OBJECT
public:
    HouseSearch_FourWidget(const QVariantMap &description, QWidget *parent);
};

// Kind 9: the layout as bedrooms, living rooms and bathrooms (`lineEdit_room`,
// `lineEdit_hall`, `lineEdit_huxingwei`).
class HouseSearch_EightWidget : public HouseSearchPartsItem
{
    Q_OBJECT
public:
    HouseSearch_EightWidget(const QVariantMap &description, QWidget *parent);
};
