#include "settings/housebooksetpages.h"

#include "widgets/pageplaceholder.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QWidget>

namespace {

QWidget *placeholderPage(QWidget *parent, const QString &caption)
{
    auto *page = new QWidget(parent);
    fillPlaceholder(page, caption);
    return page;
}

QMetaMethod methodOf(const QObject *object, const char *signature)
{
    const QMetaObject *meta = object->metaObject();
    return meta->method(meta->indexOfMethod(QMetaObject::normalizedSignature(signature).constData()));
}

} // namespace

QWidget *makeSalePage(QWidget *parent)
{
    return placeholderPage(parent, QStringLiteral("出售房源"));
}

QWidget *makeRentPage(QWidget *parent)
{
    return placeholderPage(parent, QStringLiteral("出租房源"));
}

QWidget *makeItemPage(QWidget *parent)
{
    return placeholderPage(parent, QStringLiteral("类目管理"));
}

QWidget *makeSeperateRulesPage(QWidget *parent)
{
    return placeholderPage(parent, QStringLiteral("分单规则"));
}

bool submitPage(QWidget *page)
{
    if (!page)
        return false;
    for (const char *slot : {"sale_message_submit()", "rent_message_submit()", "basic_message_submit()", "submit()"}) {
        const QMetaMethod method = methodOf(page, slot);
        if (method.isValid())
            return method.invoke(page, Qt::DirectConnection);
    }
    return false;
}

bool relayPageSignal(QObject *page, const char *signature, QObject *receiver)
{
    if (!page || !receiver)
        return false;
    const QMetaMethod signal = methodOf(page, signature);
    const QMetaMethod target = methodOf(receiver, signature);
    if (signal.methodType() != QMetaMethod::Signal || !target.isValid())
        return false;
    return QObject::connect(page, signal, receiver, target);
}
