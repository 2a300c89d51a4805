#pragma once
// A small dialog for a value the lists lack: a text, a suffix choice, "取消" / "确定". An empty
// entry is refused with "请输入内容!"; otherwise backValue(name, unit) is emitted, unit being
// the chosen suffix ("" for "无").
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLineEdit;

class AddNewLouDongMessageWidget : public QWidget
{
    Q_OBJECT
public:
    // title e.g. "添加楼栋号"; placeholder e.g. "请输入要添加的楼栋号"; suffixes e.g.
    // CommunityStructure::buildingSuffixes().
    AddNewLouDongMessageWidget(const QString &title, const QString &placeholder,
                               const QStringList &suffixes, QWidget *parent = nullptr);

public slots:
    void sureButtonClick();

signals:
    void backValue(const QString &name, const QString &unit);
    void closeWidget();

private:
    QLineEdit *m_name = nullptr;
    QComboBox *m_suffix = nullptr;
};
