#pragma once
// The text of the "查看范围" box: which listings of the book the signed-in user may see, line
// by line, from the city, the view scope (132), the status scope (114 sale / 115 rent), the
// lock view (102) and the area restriction.
#include <QString>
#include <QVariantMap>

namespace HouseWatchRange {

// The whole text for the current user.
QString text(bool saleMode, bool isJointSale);
// Line 2: the view scope; held false when permission 132 is not held.
QString viewScopeLine(bool held, int scope, int distance, const QString &deptNames);
// Line 4: the lock view.
QString lockViewLine(bool held, int scope, const QString &deptNames);

} // namespace HouseWatchRange
