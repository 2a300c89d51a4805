#pragma once
// Editor of one job's house-book permissions.
#include <QList>
#include <QVariantMap>
#include <QWidget>

class PermissionHouseBookWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PermissionHouseBookWidget(QWidget *parent = nullptr);

    // Fills the editor from the job's permission entries.
    void setPermissionList(const QList<QVariantMap> &list);
    QList<QVariantMap> permissionList() const { return m_list; }

signals:
    void valueChange(QList<QVariantMap> list);

private:
    QList<QVariantMap> m_list;
};
