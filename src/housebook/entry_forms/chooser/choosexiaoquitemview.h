#pragma once
// One row of the community search: "name(alias)" with the joint-sale mark, "district-area-
// address" and the number of listings; or the manual row "手动添加(typed text)".
#include <QVariantMap>
#include <QWidget>

class ChooseXiaoQuItemView : public QWidget
{
    Q_OBJECT
public:
    // A search result.
    explicit ChooseXiaoQuItemView(const QVariantMap &community, QWidget *parent = nullptr);
    // The manual row for a typed community name.
    static ChooseXiaoQuItemView *manualRow(const QString &typed, QWidget *parent = nullptr);

    QVariantMap community() const { return m_community; }
    bool isManual() const { return m_manual; }

    // The row's texts as shown.
    static QString titleText(const QVariantMap &community);
    static QString addressText(const QVariantMap &community);
    static QString countText(const QVariantMap &community);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ChooseXiaoQuItemView(const QVariantMap &community, bool manual, QWidget *parent);
    void buildResult();
    void buildManual();

    QVariantMap m_community;
    bool m_manual;
};
