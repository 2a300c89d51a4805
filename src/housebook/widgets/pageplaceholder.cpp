#include "pageplaceholder.h"

#include <QLabel>
#include <QVBoxLayout>

QLabel *fillPlaceholder(QWidget *page, const QString &caption)
{
    auto *layout = new QVBoxLayout(page);
    auto *label = new QLabel(caption, page);
    label->setObjectName(QStringLiteral("placeholderLabel"));
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("QLabel{font-size:16px;color:rgb(153,153,153);}"));
    layout->addWidget(label);
    return label;
}
