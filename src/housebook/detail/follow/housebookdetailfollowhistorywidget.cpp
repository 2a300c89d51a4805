#include "detail/follow/housebookdetailfollowhistorywidget.h"

#include "detail/follow/followtagbar.h"
#include "services/followservice.h"
#include "widgets/alertwidget.h"
#include "widgets/busyoverlay.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

HouseBookDetailFollowHistoryWidget::HouseBookDetailFollowHistoryWidget(QWidget *parent)
    : FollowListWidget(parent)
    , m_tags(new FollowTagBar(this))
    , m_editor(new QWidget(this))
    , m_edit(new QPlainTextEdit(m_editor))
{
    auto *open = new QPushButton(QStringLiteral("添加跟进"), this);
    open->setObjectName(QStringLiteral("addFollowButton"));
    open->setCheckable(true);
    auto *bar = new QHBoxLayout;
    bar->addWidget(m_tags, 1);
    bar->addWidget(open);
    topLayout()->addLayout(bar);

    auto *editorLayout = new QHBoxLayout(m_editor);
    editorLayout->setContentsMargins(0, 0, 0, 0);
    m_edit->setObjectName(QStringLiteral("followEdit"));
    m_edit->setPlaceholderText(QStringLiteral("请输入跟进内容"));
    m_edit->setFixedHeight(60);
    editorLayout->addWidget(m_edit, 1);
    auto *submit = new QPushButton(QStringLiteral("跟进"), m_editor);
    submit->setObjectName(QStringLiteral("followButton"));
    editorLayout->addWidget(submit);
    m_editor->hide();
    topLayout()->addWidget(m_editor);

    connect(open, &QPushButton::toggled, m_editor, &QWidget::setVisible);
    connect(submit, &QPushButton::clicked, this, &HouseBookDetailFollowHistoryWidget::addFollow);
    connect(service(), &FollowService::followAdded, this, &HouseBookDetailFollowHistoryWidget::addfollowSuccess);
}

void HouseBookDetailFollowHistoryWidget::showHouse(int id, bool rent)
{
    m_tags->setRent(rent);
    m_edit->clear();
    download_tagList();
    showListing(id, rent);
}

void HouseBookDetailFollowHistoryWidget::download_tagList()
{
    m_tags->download_tagList();
}

void HouseBookDetailFollowHistoryWidget::deal_tagData(QJsonValue resultValue)
{
    m_tags->deal_tagData(resultValue);
}

void HouseBookDetailFollowHistoryWidget::followTagShow()
{
    m_tags->followTagShow();
}

void HouseBookDetailFollowHistoryWidget::deal_addTag()
{
    m_tags->deal_addTag();
}

void HouseBookDetailFollowHistoryWidget::addFollow()
{
    const QString content = m_edit->toPlainText();
    const QString refusal = FollowService::contentRefusal(content);
    if (!refusal.isEmpty()) {
        AlertWidget::warning(refusal);
        return;
    }
    overlay()->start();
    service()->addFollow({{QStringLiteral("type"), FollowService::kindOf(isRent())},
                          {QStringLiteral("id"), houseId()},
                          {QStringLiteral("content"), content},
                          {QStringLiteral("tag"), FollowService::joinTags(m_tags->chosenTags())}});
}

void HouseBookDetailFollowHistoryWidget::addfollowSuccess()
{
    m_edit->clear();
    m_tags->clearChoice();
    showListing(houseId(), isRent());
    emit followSuccess();
}
