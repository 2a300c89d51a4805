#include "detail/describe/salehousedetaildescribewidget.h"

#include "detail/describe/describefacts.h"
#include "detail/describe/housedescribemessageeditwidget.h"
#include "detail/describe/joinertext.h"
#include "detail/follow/replyfields.h"
#include "services/describeservice.h"
#include "widgets/commonaddwidget.h"
#include "widgets/openpopup.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

SaleHouseDetailDescribeWidget::SaleHouseDetailDescribeWidget(QWidget *parent)
    : DescribePageBase(false, parent)
{
    auto *caption = new QLabel(QStringLiteral("房源推广信息（补充）"), contentWidget());
    caption->setStyleSheet(QStringLiteral("font-weight:bold;color:#333333;"));
    extraLayout()->addWidget(caption);
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(30);
    const QList<DescribeFacts::Fact> &facts = DescribeFacts::facts();
    for (int i = 0; i < facts.size(); ++i) {
        auto *label = new QLabel(contentWidget());
        label->setObjectName(QStringLiteral("label_") + facts.at(i).key);
        label->setWordWrap(true);
        label->setStyleSheet(QStringLiteral("color:#666666;"));
        const bool wide = facts.at(i).input == DescribeFacts::Long;
        grid->addWidget(label, wide ? 100 + i : i / 2, wide ? 0 : i % 2, 1, wide ? 2 : 1);
        m_factLabels.insert(facts.at(i).key, label);
    }
    extraLayout()->addLayout(grid);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("describeScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(contentWidget());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    connect(service(), &DescribeService::detailLoaded, this, &SaleHouseDetailDescribeWidget::dealDetailData);
    fillExtendedFacts();
}

void SaleHouseDetailDescribeWidget::refreshData()
{
    m_detail = QJsonObject();
    dealDetailData(QJsonObject());
    downloadDetaileData();
}

void SaleHouseDetailDescribeWidget::downloadDetaileData()
{
    if (record().id > 0)
        service()->loadDetail(record().id);
}

// A reply about another listing (the agent stepped on meanwhile) is left out.
void SaleHouseDetailDescribeWidget::dealDetailData(QJsonValue value)
{
    const QJsonObject detail = value.toObject();
    const int id = ReplyFields::number(detail.value(QStringLiteral("id")));
    if (id > 0 && id != record().id)
        return;
    m_detail = detail;
    const QString panorama = DescribeFacts::valueOf(detail, QStringLiteral("vrurl"));
    showPromotion(DescribeFacts::valueOf(detail, QStringLiteral("title")),
                  DescribeFacts::valueOf(detail, QStringLiteral("describes")),
                  DescribeTexts::photosOf(detail.value(QStringLiteral("pic"))),
                  panorama.isEmpty() ? record().quanjing : panorama);
    const QStringList tags = JoinerText::shown(DescribeFacts::valueOf(detail, QStringLiteral("fangyuantag")))
                                 .split(QLatin1Char(','), Qt::SkipEmptyParts);
    showHouseTag(tags.isEmpty() ? FirstPageTexts::tagNames(record()) : tags);
    fillExtendedFacts();
}

void SaleHouseDetailDescribeWidget::fillExtendedFacts()
{
    for (const DescribeFacts::Fact &fact : DescribeFacts::facts())
        m_factLabels.value(fact.key)->setText(
            DescribeFacts::labelText(fact, JoinerText::shown(DescribeFacts::valueOf(m_detail, fact.key))));
}

void SaleHouseDetailDescribeWidget::saveCover(const QList<DescribeTexts::Photo> &photos)
{
    service()->setFactsCover(record().id, DescribeTexts::photosJson(photos, true));
}

void SaleHouseDetailDescribeWidget::editClick()
{
    if (record().id <= 0 || !judgeEditAuth())
        return;
    auto *editor = new HouseDescribeMessageEditWidget(record(), m_detail);
    CommonAddWidget *popup = openPopup(this, PopupSize::EntryForm, QStringLiteral("房源推广信息编辑"), editor);
    connect(editor, &HouseDescribeMessageEditWidget::closeWidget, popup, &CommonAddWidget::closeWidget);
    connect(editor, &HouseDescribeMessageEditWidget::operateSuccess, popup, [this, popup] {
        popup->closeWidget();
        refreshData();
    });
}
