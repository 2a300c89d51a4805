#include "services/listingentryservice.h"

#include "net/endpoints.h"
#include "net/formencoding.h"
#include "net/netrequestobjecet.h"
#include "net/wholenumber.h"

#include <QJsonObject>
#include <QJsonValue>

#include <memory>

namespace {

QByteArray bodyOf(const ListingEntryService::PostForm &form)
{
    QByteArray body;
    for (const auto &pair : form) {
        if (!body.isEmpty())
            body += '&';
        body += FormEncoding::encodeMap({{pair.first, pair.second}});
    }
    return body;
}

bool isTrue(const QJsonValue &value)
{
    if (value.isBool())
        return value.toBool();
    if (value.isString()) {
        const QString text = value.toString().trimmed();
        return text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }
    return value.toDouble() != 0;
}

} // namespace

ListingEntryService::ListingEntryService(QObject *parent)
    : QObject(parent)
{
}

int ListingEntryService::savedId(const QJsonValue &data)
{
    const QJsonValue id = data.isObject() ? data.toObject().value(QStringLiteral("id")) : data;
    if (id.isString())
        return qMax(0, id.toString().trimmed().toInt());
    return qMax(0, WholeNumber::toInt(id));
}

void ListingEntryService::checkDuplicate(bool rent, const QString &name, const QString &buildingNo,
                                         const QString &roomNo, const QString &unitNo)
{
    auto *request = new NetRequestObjecet(this);
    connect(request, &NetRequestObjecet::loadSuccess, this, [this](const QJsonValue &data) {
        const QJsonObject reply = data.toObject();
        if (isTrue(reply.value(QStringLiteral("existed"))))
            emit duplicateFound(reply.value(QStringLiteral("message")).toString(), savedId(data));
    });
    connect(request, &NetRequestObjecet::loadFinish, request, &QObject::deleteLater);
    // The check helps the agent; a failure of it must not stop the entry with a box.
    request->closeAlert();
    const QByteArray body = FormEncoding::fill(QStringLiteral("type=%1&name=%2&buildingNo=%3&roomNo=%4&unitNo=%5")
                                                   + QStringLiteral("&lianmai=1"),
                                               {rent ? 1 : 0, name, buildingNo, roomNo, unitNo});
    request->sendRaw(Endpoints::instance().app_housebookcheck, body);
}

bool ListingEntryService::addListing(const PostForm &form)
{
    return save(Add, Endpoints::instance().fd_HouseAdd, form);
}

bool ListingEntryService::editListing(const PostForm &form)
{
    return save(Edit, Endpoints::instance().fd_HouseEidt, form);
}

bool ListingEntryService::approveListing(const PostForm &form)
{
    return save(Approve, Endpoints::instance().fd_HouseShenhe, form);
}

bool ListingEntryService::rejectListing(int houseId)
{
    return save(Reject, Endpoints::instance().fd_HouseBohui, {{QStringLiteral("houseid"), QString::number(houseId)}});
}

bool ListingEntryService::save(Operation operation, const QString &url, const PostForm &form)
{
    if (m_busy)
        return false;
    setBusy(true);
    auto *request = new NetRequestObjecet(this);
    // A lost connection or a broken server is told in so many words; the form keeps every
    // field, so the agent can send it again.
    static const char *const notices[] = {"房源保存失败：%1。已填写的内容已保留，请稍后重新提交。",
                                          "房源修改失败：%1。已填写的内容已保留，请稍后重新提交。",
                                          "房源审核失败：%1。已填写的内容已保留，请稍后重试。",
                                          "房源驳回失败：%1，请稍后重试。"};
    request->setFailureNotice(QString::fromUtf8(notices[operation]));
    auto succeeded = std::make_shared<bool>(false);
    connect(request, &NetRequestObjecet::loadSuccess, this, [this, operation, succeeded](const QJsonValue &data) {
        *succeeded = true;
        setBusy(false);
        emit saved(operation, savedId(data));
    });
    connect(request, &NetRequestObjecet::loadFinish, this, [this, request, operation, succeeded] {
        request->deleteLater();
        if (*succeeded)
            return;
        setBusy(false);
        emit failed(operation);
    });
    request->sendRaw(url, bodyOf(form));
    return true;
}

void ListingEntryService::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}
