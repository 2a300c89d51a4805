#include "detail/follow/followtagbar.h"

#include "services/followservice.h"
#include "widgets/alertwidget.h"
#include "widgets/commonaddwidget.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

FollowTagBar::FollowTagBar(QWidget *parent)
    : QWidget(parent)
    , m_service(new FollowService(this))
    , m_tagLayout(new QHBoxLayout)
    , m_urgent(new QCheckBox(QStringLiteral("加急"), this))
    , m_important(new QCheckBox(QStringLiteral("重要"), this))
{
    setObjectName(QStringLiteral("followTagBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("标签："), this));
    m_tagLayout->setSpacing(4);
    layout->addLayout(m_tagLayout);
    auto *add = new QPushButton(QStringLiteral("+添加"), this);
    add->setObjectName(QStringLiteral("addTagButton"));
    add->setCursor(Qt::PointingHandCursor);
    layout->addWidget(add);
    m_urgent->setObjectName(QStringLiteral("urgentBox"));
    m_important->setObjectName(QStringLiteral("importantBox"));
    layout->addWidget(m_urgent);
    layout->addWidget(m_important);
    layout->addStretch(1);
    connect(add, &QPushButton::clicked, this, &FollowTagBar::deal_addTag);
    connect(m_service, &FollowService::tagsLoaded, this, &FollowTagBar::deal_tagData);
    connect(m_service, &FollowService::tagsChanged, this, &FollowTagBar::download_tagList);
}

QStringList FollowTagBar::parseTags(const QJsonValue &data)
{
    const QJsonValue list = data.isObject() ? data.toObject().value(QStringLiteral("list")) : data;
    QJsonArray items = list.toArray();
    for (const QJsonValue &v : list.toObject())
        items.append(v);
    QStringList tags;
    for (const QJsonValue &item : items) {
        const QString name = item.isObject() ? item.toObject().value(QStringLiteral("name")).toString()
                                             : item.toString();
        if (!name.trimmed().isEmpty() && !tags.contains(name))
            tags.append(name);
    }
    return tags;
}

QStringList FollowTagBar::chosenTags() const
{
    QStringList chosen;
    for (const QString &tag : m_tags) {
        if (m_picked.contains(tag))
            chosen.append(tag);
    }
    if (m_urgent->isChecked())
        chosen.append(m_urgent->text());
    if (m_important->isChecked())
        chosen.append(m_important->text());
    return chosen;
}

void FollowTagBar::clearChoice()
{
    m_picked.clear();
    m_urgent->setChecked(false);
    m_important->setChecked(false);
    followTagShow();
}

void FollowTagBar::download_tagList()
{
    m_service->loadTags(m_rent);
}

void FollowTagBar::deal_tagData(QJsonValue resultValue)
{
    m_tags = parseTags(resultValue);
    followTagShow();
}

void FollowTagBar::followTagShow()
{
    while (QLayoutItem *item = m_tagLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (const QString &tag : qAsConst(m_tags))
        m_tagLayout->addWidget(tagButton(tag));
}

QWidget *FollowTagBar::tagButton(const QString &tag)
{
    auto *box = new QWidget(this);
    box->setObjectName(QStringLiteral("tag_") + tag);
    auto *line = new QHBoxLayout(box);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(0);
    auto *pick = new QPushButton(tag, box);
    pick->setObjectName(QStringLiteral("pickTagButton"));
    pick->setCheckable(true);
    pick->setChecked(m_picked.contains(tag));
    auto *remove = new QPushButton(QStringLiteral("×"), box);
    remove->setObjectName(QStringLiteral("removeTagButton"));
    remove->setFixedWidth(18);
    line->addWidget(pick);
    line->addWidget(remove);
    connect(pick, &QPushButton::toggled, this, [this, tag](bool on) {
        m_picked.removeAll(tag);
        if (on)
            m_picked.append(tag);
    });
    connect(remove, &QPushButton::clicked, this, [this, tag] { removeTag(tag); });
    return box;
}

void FollowTagBar::removeTag(const QString &tag)
{
    m_picked.removeAll(tag);
    m_service->deleteTag(m_rent, tag);
}

void FollowTagBar::deal_addTag()
{
    auto *popup = new CommonAddWidget(this);
    popup->setObjectName(QStringLiteral("addTagPopup"));
    popup->setTitle(QStringLiteral("添加标签"));
    auto *content = new QWidget(popup);
    auto *layout = new QVBoxLayout(content);
    auto *edit = new QLineEdit(content);
    edit->setObjectName(QStringLiteral("tagEdit"));
    layout->addWidget(edit);
    auto *submit = new QPushButton(QStringLiteral("提交"), content);
    submit->setObjectName(QStringLiteral("submitTagButton"));
    layout->addWidget(submit, 0, Qt::AlignRight);
    popup->setContentWidget(content);
    popup->resize(320, 160);
    connect(submit, &QPushButton::clicked, this, [this, edit] { submitTag(edit); });
    connect(edit, &QLineEdit::returnPressed, this, [this, edit] { submitTag(edit); });
    popup->show();
}

// The dialog closes once the server has the tag; a refused name stays in it for correcting.
void FollowTagBar::submitTag(QLineEdit *edit)
{
    const QString name = edit->text().trimmed();
    const QString refusal = FollowService::tagRefusal(name);
    if (!refusal.isEmpty()) {
        AlertWidget::warning(refusal);
        return;
    }
    QPointer<CommonAddWidget> popup = qobject_cast<CommonAddWidget *>(edit->window());
    auto *once = new QObject(this);
    connect(m_service, &FollowService::tagsChanged, once, [popup, once] {
        if (popup)
            popup->closeWidget();
        once->deleteLater();
    });
    connect(m_service, &FollowService::requestFailed, once, &QObject::deleteLater);
    m_service->addTag(m_rent, name);
}
