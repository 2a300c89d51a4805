#pragma once
// The module's pop-up frame: a frameless tool window with a title bar and one content
// widget. While shown it shades its owner window, sits centred on it and is registered
// with the host under the owner's name; it deletes itself when closed.
#include <QColor>
#include <QPointer>
#include <QWidget>

class QLabel;
class QVBoxLayout;

class CommonAddWidget : public QWidget
{
    Q_OBJECT
public:
    CommonAddWidget(QWidget *parent, const QString &ownerWindow = QStringLiteral("main"), bool shadow = true);
    ~CommonAddWidget() override;

    void setTitle(const QString &title, const QColor &shadowColor = QColor(0, 0, 0, 30));
    QString title() const;
    QColor shadowColor() const { return m_shadowColor; }
    QString ownerWindow() const { return m_ownerWindow; }

    // Takes the content; a destroyed content is forgotten.
    void setContentWidget(QWidget *content);
    QWidget *contentWidget() const { return m_content; }

    // The shade laid over the owner window while shown (null when none).
    QWidget *shade() const { return m_shade; }

public slots:
    void closeWidget();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *ownerWidget() const;
    void layShade();
    void liftShade();

    QString m_ownerWindow;
    bool m_useShadow;
    QColor m_shadowColor{0, 0, 0, 30};
    QLabel *m_titleLabel = nullptr;
    QVBoxLayout *m_contentLayout = nullptr;
    QPointer<QWidget> m_content;
    QPointer<QWidget> m_shade;
    QPointer<QWidget> m_shadedOwner;
    bool m_registered = false;
};
