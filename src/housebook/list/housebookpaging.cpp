#include "list/housebookpaging.h"

#include "sql/housebookset_sqltable.h"

namespace {
constexpr int kDefaultPageSize = 20;
constexpr int kMaxPageSize = 100;
} // namespace

PagedListController::Refusals HouseBookPaging::refusals()
{
    return {QStringLiteral("亲，当前已是第一页无法再翻到上一页了！"), QStringLiteral("亲，当前已是最后一页无法再翻到下一页了！"),
            QStringLiteral("后面没有十页内容了！"), QStringLiteral("请选择有效的页数！")};
}

int HouseBookPaging::storedPageSize(bool isJointSale)
{
    const int stored = HouseBookSet_SqlTable(nullptr, isJointSale).pageSize();
    return stored <= 0 ? kDefaultPageSize : qMin(stored, kMaxPageSize);
}

int HouseBookPaging::storePageSizeText(const QString &text, bool isJointSale)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    const bool valid = ok && n >= 1 && n <= kMaxPageSize;
    HouseBookSet_SqlTable(nullptr, isJointSale).setValue(QStringLiteral("page"),
                                                         QString::number(valid ? n : kDefaultPageSize));
    return valid ? n : 0;
}
