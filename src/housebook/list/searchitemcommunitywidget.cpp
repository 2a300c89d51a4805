#include "list/searchitemcommunitywidget.h"

#include "sql/communitybookdataobject.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QTimer>

namespace {

constexpr int kIdRole = Qt::UserRole;

} // namespace

HouseSearch_SixWidget::HouseSearch_SixWidget(const QVariantMap &description, bool isJointSale, QWidget *parent)
    : HouseSearchItem(description, parent), m_isJointSale(isJointSale), m_typingTimer(new QTimer(this)),
      m_model(new QStandardItemModel(this))
{
    m_edit = addLineEdit(QStringLiteral("houseName"), prompt().section(QLatin1Char(','), 0, 0), this);
    plainRow(this)->addWidget(m_edit);

    m_typingTimer->setSingleShot(true);
    m_typingTimer->setInterval(kTypingPause);
    connect(m_typingTimer, &QTimer::timeout, this, [this]() { deal_XiaoQuSearch(m_edit->text()); });
    connect(m_edit, &QLineEdit::textEdited, this, &HouseSearch_SixWidget::onTextEdited);

    // Set on the edit as its widget only (not as its completer), so the edit's own prefix
    // completion never filters the offer; the pop-up still passes keys on to the edit.
    m_completer = new QCompleter(m_model, this);
    m_completer->setObjectName(QStringLiteral("communityCompleter"));
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setWidget(m_edit);
    connect(m_completer, QOverload<const QModelIndex &>::of(&QCompleter::activated), this,
            [this](const QModelIndex &index) { chooseCommunity(index.row()); });
}

QString HouseSearch_SixWidget::value() const
{
    return m_edit->text();
}

void HouseSearch_SixWidget::setValue(const QString &text)
{
    m_edit->setText(text);
    m_chosenId = 0;
    emit lineTextValue(itemId(), text);
}

void HouseSearch_SixWidget::clearValue()
{
    const QSignalBlocker quiet(m_edit);
    m_edit->clear();
    m_typingTimer->stop();
    m_chosenId = 0;
    ++m_lookup;
    dropSuggestions();
}

QVariantMap HouseSearch_SixWidget::extraConditions() const
{
    if (m_chosenId <= 0 || m_edit->text() != m_chosenName)
        return QVariantMap();
    return {{QStringLiteral("xiaoid"), QString::number(m_chosenId)}};
}

QStringList HouseSearch_SixWidget::suggestions() const
{
    QStringList names;
    for (int row = 0; row < m_model->rowCount(); ++row)
        names << m_model->item(row)->text();
    return names;
}

void HouseSearch_SixWidget::onTextEdited(const QString &text)
{
    m_chosenId = 0;
    emit lineTextValue(itemId(), text);
    m_typingTimer->start();
}

void HouseSearch_SixWidget::deal_XiaoQuSearch(const QString &text)
{
    const int lookup = ++m_lookup;
    const QString words = text.trimmed();
    if (words.isEmpty()) {
        dropSuggestions();
        return;
    }
    CommunityBookDataObject::Condition condition;
    condition.search.insert(QStringLiteral("keyWord"), words);
    condition.pageSize = kSuggestionCount;
    condition.fields = QStringList{QStringLiteral("id"), QStringLiteral("name")};
    condition.isJointSale = m_isJointSale;

    auto *request = new CommunityBookDataObject(this);
    connect(request, &CommunityBookDataObject::backCommunityList, this,
            [this, request, lookup](const QList<CommunityMessage_DataSqlTable::ListData> &list) {
                request->deleteLater();
                if (lookup == m_lookup)
                    dealLocalCommunityData(list);
            });
    request->requestCommunityList(condition);
}

void HouseSearch_SixWidget::dealLocalCommunityData(const QList<CommunityMessage_DataSqlTable::ListData> &list)
{
    m_model->clear();
    for (const CommunityMessage_DataSqlTable::ListData &community : list) {
        auto *item = new QStandardItem(community.name);
        item->setData(community.id, kIdRole);
        item->setEditable(false);
        m_model->appendRow(item);
    }
    if (m_model->rowCount() > 0 && m_edit->isVisible() && m_edit->hasFocus())
        m_completer->complete();
    else
        m_completer->popup()->hide();
}

void HouseSearch_SixWidget::chooseCommunity(int row)
{
    const QStandardItem *item = m_model->item(row);
    if (!item)
        return;
    m_chosenName = item->text();
    m_edit->setText(m_chosenName);
    m_typingTimer->stop();
    ++m_lookup;
    emit lineTextValue(itemId(), m_chosenName);
    m_chosenId = item->data(kIdRole).toInt();
}

void HouseSearch_SixWidget::dropSuggestions()
{
    m_model->clear();
    m_completer->popup()->hide();
}
