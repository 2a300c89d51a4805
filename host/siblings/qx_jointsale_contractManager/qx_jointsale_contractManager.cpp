#include "qx_jointsale_contractManager.h"

#include <QFormLayout>
#include <QLabel>
#include <QWidget>

namespace {

QLabel *valueLabel(const QVariantMap &args, const QString &key, QWidget *parent)
{
    const QString value = args.value(key).toString();
    auto *label = new QLabel(value.isEmpty() ? QStringLiteral("暂无") : value, parent);
    label->setObjectName(key);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QWidget *showContractDetail(QWidget *parent, const QVariantMap &args)
{
    auto *window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("contractDetailWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(QStringLiteral("合同详情"));
    auto *form = new QFormLayout(window);
    form->addRow(QStringLiteral("合同编号："), valueLabel(args, QStringLiteral("contractNo"), window));
    form->addRow(QStringLiteral("合同ID："), valueLabel(args, QStringLiteral("contractId"), window));
    form->addRow(QStringLiteral("房源编号："), valueLabel(args, QStringLiteral("houseId"), window));
    form->addRow(QStringLiteral("房源："), valueLabel(args, QStringLiteral("houseTitle"), window));
    form->addRow(QStringLiteral("分单记录："), valueLabel(args, QStringLiteral("entryId"), window));
    window->resize(360, 200);
    window->show();
    return window;
}
