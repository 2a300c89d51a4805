#pragma once
// The inline row for a value a list lacks: "手动添加：", an entry ("请输入添加内容") and
// "下一步". An empty entry is refused with "请输入添加内容！"; otherwise clickItem(content,
// unit) is emitted, unit being the chosen suffix when the row offers suffixes ("" for "无").
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLineEdit;

class CustomAddXiaoQuMessageWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CustomAddXiaoQuMessageWidget(QWidget *parent = nullptr, const QStringList &suffixes = QStringList());

    QString text() const;

signals:
    void clickItem(const QString &content, const QString &unit);

public slots:
    void textValueChange(const QString &txt);
    void getInputFocus();
    void clickChoose();

private:
    QLineEdit *m_edit = nullptr;
    QComboBox *m_suffix = nullptr;
};
