#include "separation/housebookdetailseperateitemview.h"
#include "widgets/namedwidgets.h"

#include "helpquestionwidget.h"
#include "widgets/alertwidget.h"
#include "widgets/thumbnailview.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

using namespace HouseBookSeperateList_Model;

namespace {

const QString kNoHolder = QStringLiteral("暂无");

// The state's colours: awaiting review orange, approved blue, anything else red in a grey frame.
QString stateStyle(int state)
{
    if (state == Waiting)
        return QStringLiteral("QPushButton{color:rgb(224,165,22);border:none;}");
    if (state == Approved)
        return QStringLiteral("QPushButton{color:rgb(52,133,234);border:none;}");
    return QStringLiteral("QPushButton{color:rgb(255,0,0);border:1px solid rgb(151,151,151);}");
}

} // namespace

HouseBookDetailSeperateItemView::HouseBookDetailSeperateItemView(QWidget *parent) : QWidget(parent)
{
    buildUi();
}

void HouseBookDetailSeperateItemView::buildUi()
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->addWidget(buildCaption());
    layout->addWidget(buildPeople(), 1);
    layout->addWidget(buildCodes());
    m_buttonBar = new QWidget(this);
    m_buttonBar->setObjectName(QStringLiteral("operateButtons"));
    m_buttonLayout = new QHBoxLayout(m_buttonBar);
    m_buttonLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_buttonBar);
    m_more = namedButton(QStringLiteral("pushButton_more"), QStringLiteral("···"), this);
    connect(m_more, &QPushButton::clicked, this, &HouseBookDetailSeperateItemView::showMenu);
    layout->addWidget(m_more);
}

QWidget *HouseBookDetailSeperateItemView::buildCaption()
{
    auto *caption = new QWidget(this);
    auto *layout = new QVBoxLayout(caption);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *row = new QHBoxLayout;
    m_title = namedLabel(QStringLiteral("label_title"), caption);
    m_helpMark = new HelpQuestionWidget(caption);
    m_helpMark->setObjectName(QStringLiteral("helpQuestion_role"));
    row->addWidget(m_title);
    row->addWidget(m_helpMark);
    row->addStretch();
    m_state = namedButton(QStringLiteral("pushButton_state"), QString(), caption);
    m_state->hide();
    connect(m_state, &QPushButton::clicked, this, [this] {
        if (m_model.state == Waiting)
            emit clickBtn(m_state->text());
    });
    layout->addLayout(row);
    layout->addWidget(m_state, 0, Qt::AlignLeft);
    caption->setFixedWidth(120);
    return caption;
}

QWidget *HouseBookDetailSeperateItemView::buildPeople()
{
    m_people = new QWidget(this);
    auto *layout = new QHBoxLayout(m_people);
    layout->setContentsMargins(0, 0, 0, 0);
    m_head = new ThumbnailView(m_people);
    m_head->setObjectName(QStringLiteral("headPhoto"));
    m_head->setFixedSize(40, 40);
    m_head->setPlaceholder(QStringLiteral(":/res/icon_no_photo.png"));
    auto *texts = new QVBoxLayout;
    auto *top = new QHBoxLayout;
    m_name = namedLabel(QStringLiteral("label_name"), m_people);
    m_phone = namedLabel(QStringLiteral("label_phone"), m_people);
    top->addWidget(m_name);
    top->addWidget(m_phone);
    top->addStretch();
    m_store = namedLabel(QStringLiteral("label_store"), m_people);
    m_remark = namedLabel(QStringLiteral("label_remark"), m_people);
    m_remark->setWordWrap(true);
    texts->addLayout(top);
    texts->addWidget(m_store);
    texts->addWidget(m_remark);
    layout->addWidget(m_head);
    layout->addLayout(texts, 1);
    // A row without holder keeps the space, so its buttons stay aligned right with the others.
    QSizePolicy policy = m_people->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    m_people->setSizePolicy(policy);
    return m_people;
}

QWidget *HouseBookDetailSeperateItemView::buildCodes()
{
    m_codes = new QWidget(this);
    auto *layout = new QVBoxLayout(m_codes);
    layout->setContentsMargins(0, 0, 0, 0);
    m_heyanCode = namedLabel(QStringLiteral("label_heyanCode"), m_codes);
    m_weituoCode = namedLabel(QStringLiteral("label_weituoCode"), m_codes);
    m_copyHeyan = namedButton(QStringLiteral("pushButton_copyHeyan"), QStringLiteral("复制"), m_codes);
    m_copyWeituo = namedButton(QStringLiteral("pushButton_copyWeituo"), QStringLiteral("复制"), m_codes);
    for (const auto &pair : {qMakePair(m_heyanCode, m_copyHeyan), qMakePair(m_weituoCode, m_copyWeituo)}) {
        auto *row = new QHBoxLayout;
        row->addWidget(pair.first);
        row->addWidget(pair.second);
        layout->addLayout(row);
    }
    connect(m_copyHeyan, &QPushButton::clicked, this,
            [this] { copyCode(m_model.detailinfo.heyancode, QStringLiteral("核验码复制成功")); });
    connect(m_copyWeituo, &QPushButton::clicked, this,
            [this] { copyCode(m_model.detailinfo.weituocode, QStringLiteral("委托码复制成功")); });
    m_codes->hide();
    return m_codes;
}

QString HouseBookDetailSeperateItemView::evidenceButton(int type)
{
    switch (type) {
    case WeiTuo:
    case DuJia:
        return QStringLiteral("上传文件");
    case ShiKan:
        return QStringLiteral("上传图片");
    case YaoShi:
        return QStringLiteral("录入钥匙");
    case ChengJiao:
        return QStringLiteral("录入合同");
    default:
        return QString();
    }
}

QStringList HouseBookDetailSeperateItemView::buttonsFor(const ItemData &row, const Rights &rights)
{
    QStringList buttons;
    const QString evidence = evidenceButton(row.type);
    if (!evidence.isEmpty())
        buttons << evidence;
    if (row.type != WeiHu)
        buttons << QStringLiteral("编辑");
    if (row.type == LuRu || row.type == DuJia)
        buttons << QStringLiteral("查看详情");
    if (rights.assign)
        buttons << QStringLiteral("分配");
    if (row.type != LuRu && rights.release && row.hasHolder())
        buttons << QStringLiteral("解除");
    if (row.type == WeiHu && !row.hasHolder())
        buttons << QStringLiteral("拣入");
    return buttons;
}

QString HouseBookDetailSeperateItemView::stateText(const ItemData &row)
{
    switch (row.state) {
    case NoState:
        return QString();
    case Waiting:
        return row.inOfficeApproval() ? QStringLiteral("等待OA审核") : QStringLiteral("等待审核");
    case Approved:
        return QStringLiteral("已审核");
    default:
        return QStringLiteral("已驳回");
    }
}

void HouseBookDetailSeperateItemView::setTypeAndStatu(ItemData model, HouseMessage_DataSqlTable::HouseMessageData house_model)
{
    Q_UNUSED(house_model)
    m_model = model;
    m_title->setText(model.title.isEmpty() ? model.roleName() : model.title);
    m_helpMark->setTipId(helpTipId(model.type));
    showState();
    m_people->show();
    setHeadPhoto(model.info.head);
    setName(model.info.name);
    setPhone(model.phone);
    setStore(model.info.store);
    setRemark(model.remark);
    if (!model.hasHolder() && model.type != LuRu)
        hiddenPeopleMsg();
    setWeiTuoAboutCode(model.detailinfo.heyancode, model.detailinfo.weituocode);
    showButtons();
}

void HouseBookDetailSeperateItemView::showState()
{
    const QString text = stateText(m_model);
    m_state->setText(text);
    m_state->setStyleSheet(stateStyle(m_model.state));
    m_state->setVisible(!text.isEmpty());
}

void HouseBookDetailSeperateItemView::showButtons()
{
    qDeleteAll(m_buttons);
    m_buttons.clear();
    for (const QString &text : buttonsFor(m_model, m_rights)) {
        auto *button = namedButton(QStringLiteral("operateButton"), text, m_buttonBar);
        connect(button, &QPushButton::clicked, this, [this, text] { emit clickBtn(text); });
        m_buttonLayout->addWidget(button);
        m_buttons << button;
    }
    m_buttonBar->show();
}

QStringList HouseBookDetailSeperateItemView::buttonTexts() const
{
    QStringList texts;
    for (QPushButton *button : m_buttons)
        texts << button->text();
    return texts;
}

QPushButton *HouseBookDetailSeperateItemView::button(const QString &text) const
{
    for (QPushButton *button : m_buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

void HouseBookDetailSeperateItemView::showMenu()
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("rowMenu"));
        for (const QString &text : {QStringLiteral("编辑"), QStringLiteral("查看详情"), QStringLiteral("操作记录"),
                                    QStringLiteral("举报")}) {
            connect(m_menu->addAction(text), &QAction::triggered, this, [this, text] { emit clickBtn(text); });
        }
    }
    m_menu->popup(m_more->mapToGlobal(QPoint(0, m_more->height())));
}

void HouseBookDetailSeperateItemView::hiddenPeopleMsg()
{
    m_people->hide();
}

void HouseBookDetailSeperateItemView::hiddenOperateBtns()
{
    m_buttonBar->hide();
    m_more->hide();
}

void HouseBookDetailSeperateItemView::setHeadPhoto(QString head)
{
    m_head->setSource(head);
}

void HouseBookDetailSeperateItemView::setName(QString name)
{
    m_name->setText(name.isEmpty() && m_model.type == LuRu ? kNoHolder : name);
}

void HouseBookDetailSeperateItemView::setPhone(QString phone)
{
    m_phone->setText(phone);
}

void HouseBookDetailSeperateItemView::setStore(QString store)
{
    m_store->setText(store);
}

void HouseBookDetailSeperateItemView::setRemark(QString remark)
{
    m_remark->setText(remark);
    m_remark->setVisible(!remark.isEmpty());
}

void HouseBookDetailSeperateItemView::setWeiTuoAboutCode(QString heyanCode, QString weituoCode)
{
    m_heyanCode->setText(QStringLiteral("核验码：%1").arg(heyanCode));
    m_weituoCode->setText(QStringLiteral("委托码：%1").arg(weituoCode));
    for (auto *w : {static_cast<QWidget *>(m_heyanCode), static_cast<QWidget *>(m_copyHeyan)})
        w->setVisible(!heyanCode.isEmpty());
    for (auto *w : {static_cast<QWidget *>(m_weituoCode), static_cast<QWidget *>(m_copyWeituo)})
        w->setVisible(!weituoCode.isEmpty());
    m_codes->setVisible(!heyanCode.isEmpty() || !weituoCode.isEmpty());
}

void HouseBookDetailSeperateItemView::copyCode(const QString &code, const QString &confirmation)
{
    QApplication::clipboard()->setText(code);
    AlertWidget::tip(confirmation);
}
