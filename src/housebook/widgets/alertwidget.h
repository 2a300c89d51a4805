#pragma once
// The module's message box. It is asked for, shows itself 100 ms later (so the calling
// code returns first), runs its own modal loop and deletes itself once answered.
#include <QDialog>
#include <QStringList>
#include <functional>

class QLabel;
class QCheckBox;
class QPushButton;

class AlertWidget : public QDialog
{
    Q_OBJECT
public:
    enum IconKind { WarningIcon = 0, ErrorIcon = 1, TipIcon = 2 };
    enum ButtonMode { KnowOnly = 0, SureAndCancle = 1, AllButtons = 2 };
    enum Answer { Know, Sure, Cancle };

    // A box with the given icon and buttons; the title follows the icon kind.
    AlertWidget(const QString &text, int iconKind, int buttonMode,
                const QString &ownerWindow = QStringLiteral("main"), QWidget *parent = nullptr);
    ~AlertWidget() override;

    // One-button forms ("我知道了").
    static AlertWidget *warning(const QString &text, const QString &ownerWindow = QStringLiteral("main"));
    static AlertWidget *error(const QString &text, const QString &ownerWindow = QStringLiteral("main"));
    static AlertWidget *tip(const QString &text, const QString &ownerWindow = QStringLiteral("main"));

    void setTitle(const QString &title);
    void setText(const QString &text);
    void setKnowText(const QString &text);
    void setSureText(const QString &text);
    void setCancleText(const QString &text);
    void setCheckVisible(bool visible);
    void setCheckText(const QString &text);
    void setChecked(bool checked);

    int iconKind() const { return m_iconKind; }
    int buttonMode() const { return m_buttonMode; }
    QString ownerWindow() const { return m_ownerWindow; }
    QString title() const;
    QString text() const;
    bool isCheckVisible() const;
    bool isChecked() const;
    // Texts of the shown buttons, left to right.
    QStringList buttonTexts() const;

    // Presses a button as the user would: emits its signal with the check state and closes.
    void answer(Answer which);

    // Replaces the modal loop: when set, each box shows without blocking and is handed to the
    // hook at the moment it would have started its loop. Tests read and answer boxes this way.
    using Hook = std::function<void(AlertWidget *)>;
    static void setHook(Hook hook);

signals:
    void knowClick(bool checked);
    void sureClick(bool checked);
    void cancleClick(bool checked);
    void hasClosed();

public slots:
    void done(int result) override;

private:
    void buildUi(const QString &text);
    void applyButtonMode();
    void startModal();
    void placeOverOwner();

    int m_iconKind;
    int m_buttonMode;
    QString m_ownerWindow;
    bool m_finished = false;
    QLabel *m_titleLabel = nullptr;
    QLabel *m_iconLabel = nullptr;
    QLabel *m_textLabel = nullptr;
    QCheckBox *m_check = nullptr;
    QPushButton *m_knowButton = nullptr;
    QPushButton *m_sureButton = nullptr;
    QPushButton *m_cancleButton = nullptr;
};
