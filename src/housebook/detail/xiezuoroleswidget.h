#pragma once
// The collaboration roles of the first page: for each of the seven roles an icon and its
// caption (see XieZuoRoles), then the listing's collaboration rate "%1%".
#include "detail/xiezuoroles.h"

#include <QList>
#include <QWidget>

class QLabel;

class XieZuoRolesWidget : public QWidget
{
    Q_OBJECT
public:
    explicit XieZuoRolesWidget(QWidget *parent = nullptr);

    // One holder per role in XieZuoRoles::Role order; verified: the listing has a heyan code.
    void setRoles(const QList<XieZuoRoles::Holder> &holders, bool verified, int rate);

    QString roleText(int role) const;
    QString roleIcon(int role) const;
    QString rateText() const;

private:
    QList<QLabel *> m_icons;
    QList<QLabel *> m_texts;
    QLabel *m_rate = nullptr;
};
