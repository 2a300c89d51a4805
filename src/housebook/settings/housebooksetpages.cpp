#include "settings/housebooksetpages.h"

#include "settings/housebookhighseperatesetwidget.h"
#include "settings/housebookitemsetwidget.h"
#include "settings/housebookrentsetwidget.h"
#include "settings/housebooksalesetwidget.h"

#include <QMetaMethod>
#include <QMetaObject>
#include <QWidget>

namespace {

QMetaMethod methodOf(const QObject *object, const char *signature)
{
    const QMetaObject *meta = object->metaObject();
    return meta->method(meta->indexOfMethod(QMetaObject::normalizedSignature(signature).constData()));
}

} // namespace

QWidget *makeSalePage(QWidget *parent)
{
    return new HouseBookSaleSetWidget(parent);
}

QWidget *makeRentPage(QWidget *parent)
{
    return new HouseBookRentSetWidget(parent);
}

QWidget *makeItemPage(QWidget *parent)
{
    return new HouseBookItemSetWidget(parent);
}

QWidget *makeSeperateRulesPage(QWidget *parent)
{
    return new HouseBookHighSeperateSetWidget(parent);
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
