#pragma once
// A centred caption for pages whose contents are still being built.
class QLabel;
class QWidget;
class QString;

QLabel *fillPlaceholder(QWidget *page, const QString &caption);
