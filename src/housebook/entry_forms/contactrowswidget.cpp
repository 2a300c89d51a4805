#include "entry_forms/contactrowswidget.h"

#include "entry_forms/listingformkind.h"
#include "sql/houserecord.h"
#include "widgets/forms/choicecombobox.h"

#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const kPhoneProperty = "storedPhone";

QString masked(const QString &phone)
{
    const QString digits = QString(phone).remove(QLatin1Char(' '));
    if (digits.size() < 7)
        return QStringLiteral("****");
    return digits.left(3) + QStringLiteral("****") + digits.right(4);
}

template <typename T>
T *part(QWidget *row, const char *name)
{
    return row->findChild<T *>(QLatin1String(name));
}

} // namespace

ContactRowsWidget::ContactRowsWidget(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);
    m_next = new QWidget(this);
    m_next->setObjectName(QStringLiteral("linkPeopleNextwidget"));
    m_nextLayout = new QVBoxLayout(m_next);
    m_nextLayout->setContentsMargins(0, 0, 0, 0);
    m_nextLayout->setSpacing(6);
    auto *add = new QPushButton(QStringLiteral("添加联系人"), this);
    add->setObjectName(QStringLiteral("addPeople_pushButton"));
    add->setCursor(Qt::PointingHandCursor);
    connect(add, &QPushButton::clicked, this, &ContactRowsWidget::addNewLinkPeople);
    m_first = addRow(QVariantMap());
    layout->addWidget(m_first);
    layout->addWidget(m_next);
    layout->addWidget(add, 0, Qt::AlignLeft);
}

QWidget *ContactRowsWidget::addRow(const QVariantMap &contact)
{
    const bool first = !m_first;
    auto *row = new QWidget(first ? static_cast<QWidget *>(this) : m_next);
    if (first)
        row->setObjectName(QStringLiteral("firstLinkPeopleWidget"));
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *name = new QLineEdit(contact.value(QStringLiteral("name")).toString(), row);
    name->setObjectName(QStringLiteral("contactsLineEdit"));
    name->setPlaceholderText(QStringLiteral("请输入联系人"));
    auto *grade = new ChoiceComboBox(row);
    grade->setObjectName(QStringLiteral("comboBox_LinkPeopleGrader"));
    grade->setChoices(ListingChoices::contactGrades(), true);
    grade->setValue(contact.value(QStringLiteral("level")).toString());
    auto *title = new ChoiceComboBox(row);
    title->setObjectName(QStringLiteral("comboBox_title"));
    title->setChoices({QStringLiteral("先生"), QStringLiteral("女士")});
    if (!contact.value(QStringLiteral("title")).toString().isEmpty())
        title->setValue(contact.value(QStringLiteral("title")).toString());
    auto *phone = new QLineEdit(row);
    phone->setObjectName(QStringLiteral("tellineEdit"));
    phone->setPlaceholderText(QStringLiteral("请输入手机号码"));
    phone->setProperty(kPhoneProperty, contact.value(QStringLiteral("phone")).toString());
    layout->addWidget(name, 3);
    layout->addWidget(grade, 1);
    layout->addWidget(title, 1);
    layout->addWidget(phone, 4);
    if (!first) {
        auto *remove = new QPushButton(QStringLiteral("删除"), row);
        remove->setObjectName(QStringLiteral("removePeople_pushButton"));
        connect(remove, &QPushButton::clicked, this, [this, row] { removeRow(row); });
        layout->addWidget(remove);
        m_nextLayout->addWidget(row);
    }
    m_rows << row;
    showPhone(row);
    return row;
}

void ContactRowsWidget::showPhone(QWidget *row)
{
    auto *phone = part<QLineEdit>(row, "tellineEdit");
    const QString stored = phone->property(kPhoneProperty).toString();
    // A protected row shows the stored number masked; an empty one can still be filled in.
    const bool hide = m_protected && !stored.isEmpty();
    phone->setReadOnly(hide);
    phone->setText(hide ? masked(stored) : stored);
}

void ContactRowsWidget::removeRow(QWidget *row)
{
    m_rows.removeAll(row);
    row->deleteLater();
}

void ContactRowsWidget::addNewLinkPeople()
{
    addRow(QVariantMap());
}

QList<QVariantMap> ContactRowsWidget::contacts() const
{
    QList<QVariantMap> list;
    for (QWidget *row : m_rows) {
        auto *phone = part<QLineEdit>(row, "tellineEdit");
        list << QVariantMap{{QStringLiteral("name"), part<QLineEdit>(row, "contactsLineEdit")->text()},
                            {QStringLiteral("phone"),
                             phone->isReadOnly() ? phone->property(kPhoneProperty).toString() : phone->text()},
                            {QStringLiteral("level"), part<ChoiceComboBox>(row, "comboBox_LinkPeopleGrader")->value()},
                            {QStringLiteral("title"), part<ChoiceComboBox>(row, "comboBox_title")->value()}};
    }
    return list;
}

QString ContactRowsWidget::contactsJson() const
{
    QJsonArray array;
    for (const QVariantMap &contact : contacts())
        array.append(QJsonObject::fromVariantMap(contact));
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

void ContactRowsWidget::setContacts(const QList<QVariantMap> &contacts)
{
    for (QWidget *row : m_rows.mid(1))
        removeRow(row);
    const QVariantMap first = contacts.value(0);
    part<QLineEdit>(m_first, "contactsLineEdit")->setText(first.value(QStringLiteral("name")).toString());
    part<ChoiceComboBox>(m_first, "comboBox_LinkPeopleGrader")->setValue(first.value(QStringLiteral("level")).toString());
    part<ChoiceComboBox>(m_first, "comboBox_title")->setCurrentIndex(0);
    if (!first.value(QStringLiteral("title")).toString().isEmpty())
        part<ChoiceComboBox>(m_first, "comboBox_title")->setValue(first.value(QStringLiteral("title")).toString());
    part<QLineEdit>(m_first, "tellineEdit")->setProperty(kPhoneProperty, first.value(QStringLiteral("phone")).toString());
    showPhone(m_first);
    for (const QVariantMap &contact : contacts.mid(1))
        addRow(contact);
}

QList<QVariantMap> ContactRowsWidget::parse(const QString &json)
{
    return HouseRecord::contactEntries(json);
}

// Each row in turn: a name, then a phone of 11 characters (13 with two blanks), then no "*"
// in it (a masked number copied from elsewhere is no number).
QString ContactRowsWidget::firstProblem() const
{
    for (const QVariantMap &contact : contacts()) {
        const QString phone = contact.value(QStringLiteral("phone")).toString();
        if (contact.value(QStringLiteral("name")).toString().trimmed().isEmpty())
            return QStringLiteral("联系人姓名不能为空");
        if (phone.size() != 11 && phone.size() != 13)
            return QStringLiteral("联系人号码不等于11位");
        if (phone.contains(QLatin1Char('*')))
            return QStringLiteral("联系人号码中不能包含*符号");
    }
    return QString();
}

void ContactRowsWidget::setPhonesProtected(bool hidden)
{
    for (QWidget *row : qAsConst(m_rows)) {
        auto *phone = part<QLineEdit>(row, "tellineEdit");
        if (!phone->isReadOnly())
            phone->setProperty(kPhoneProperty, phone->text());
    }
    m_protected = hidden;
    for (QWidget *row : qAsConst(m_rows))
        showPhone(row);
}
