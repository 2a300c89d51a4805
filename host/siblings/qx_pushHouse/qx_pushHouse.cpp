#include "qx_pushHouse.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString verifierLine(const QVariantMap &person)
{
    const QString type = person.value(QStringLiteral("type")).toString();
    return type.isEmpty() ? person.value(QStringLiteral("name")).toString()
                          : QStringLiteral("%1(%2)").arg(person.value(QStringLiteral("name")).toString(), type);
}

} // namespace

QWidget *configXinfuLi(QWidget *parent, const QVariantMap &settings)
{
    auto *dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("configXinfuLiDialog"));
    dialog->setWindowTitle(QStringLiteral("核验设置"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(dialog);

    const bool on = settings.value(QStringLiteral("heyan")).toInt() == 1;
    auto *state = new QLabel(on ? QStringLiteral("委托核验：已开启（录入委托信息时必须选择核验人）")
                                : QStringLiteral("委托核验：未开启"), dialog);
    state->setObjectName(QStringLiteral("heyanStateLabel"));
    layout->addWidget(state);

    auto *list = new QListWidget(dialog);
    list->setObjectName(QStringLiteral("heyanrenList"));
    for (const QVariant &entry : settings.value(QStringLiteral("heyanren")).toList())
        list->addItem(verifierLine(entry.toMap()));
    layout->addWidget(new QLabel(QStringLiteral("核验人："), dialog));
    layout->addWidget(list);

    auto *close = new QPushButton(QStringLiteral("关闭"), dialog);
    close->setObjectName(QStringLiteral("closeButton"));
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);

    dialog->resize(360, 300);
    dialog->show();
    return dialog;
}
