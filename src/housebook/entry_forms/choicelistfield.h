#pragma once
// A several-of-a-list field of the entry forms (tags, traffic, facilities): a button that
// opens the chooser window (a TagChooserWidget under the chooser's title) and a row of small
// labels showing what was chosen. The chooser itself holds the value, so the form's field
// table binds it like any other widget.
#include <QStringList>
#include <QWidget>

class QDialog;
class QPushButton;
class TagChooserWidget;
class TagShowView;

class ChoiceListField : public QWidget
{
    Q_OBJECT
public:
    // buttonName/showName/chooserName: object names of the button, the labels and the
    // chooser; title: the chooser window's title ("选择交通").
    ChoiceListField(const QString &buttonName, const QString &buttonText, const QString &showName,
                    const QString &chooserName, const QString &title, QWidget *parent = nullptr);

    void setChoices(const QStringList &choices);
    TagChooserWidget *chooser() const { return m_chooser; }
    QPushButton *button() const { return m_button; }
    QDialog *chooserWindow() const { return m_window; }

    // Shows the chooser's value again (after it was set without signals).
    void refresh();

public slots:
    void openChooser();

signals:
    void clicked();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *m_button = nullptr;
    TagShowView *m_show = nullptr;
    QDialog *m_window = nullptr;
    TagChooserWidget *m_chooser = nullptr;
};
