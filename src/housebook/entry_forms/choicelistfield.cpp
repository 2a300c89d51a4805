#include "entry_forms/choicelistfield.h"

#include "entry_forms/chooser/tagshowview.h"
#include "widgets/forms/tagchooserwidget.h"

#include <QDialog>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

ChoiceListField::ChoiceListField(const QString &buttonName, const QString &buttonText, const QString &showName,
                                 const QString &chooserName, const QString &title, QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_button = new QPushButton(buttonText, this);
    m_button->setObjectName(buttonName);
    m_button->setCursor(Qt::PointingHandCursor);
    m_show = new TagShowView(this);
    m_show->setObjectName(showName);
    m_show->installEventFilter(this);
    layout->addWidget(m_button);
    layout->addWidget(m_show, 1);

    // The chooser window belongs to the field, so it goes with the form.
    m_window = new QDialog(this, Qt::Tool);
    m_window->setWindowTitle(title);
    auto *windowLayout = new QVBoxLayout(m_window);
    auto *heading = new QLabel(title, m_window);
    heading->setObjectName(QStringLiteral("chooserTitle"));
    m_chooser = new TagChooserWidget(m_window, 4);
    m_chooser->setObjectName(chooserName);
    auto *done = new QPushButton(QStringLiteral("确定"), m_window);
    windowLayout->addWidget(heading);
    windowLayout->addWidget(m_chooser);
    windowLayout->addWidget(done, 0, Qt::AlignRight);
    connect(done, &QPushButton::clicked, m_window, &QDialog::accept);
    connect(m_chooser, &TagChooserWidget::valueChanged, this, &ChoiceListField::refresh);
    connect(m_button, &QPushButton::clicked, this, &ChoiceListField::clicked);
}

void ChoiceListField::setChoices(const QStringList &choices)
{
    m_chooser->setChoices(choices);
    refresh();
}

void ChoiceListField::openChooser()
{
    m_window->show();
    m_window->raise();
}

void ChoiceListField::refresh()
{
    m_show->setTags(m_chooser->checkedItems());
}

// A click on the chosen labels opens the chooser as the button does.
bool ChoiceListField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_show && event->type() == QEvent::MouseButtonRelease)
        emit clicked();
    return QWidget::eventFilter(watched, event);
}
