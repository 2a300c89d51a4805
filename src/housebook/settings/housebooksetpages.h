#pragma once
// The pages of the settings window that other parts of the module provide: the sale and rent
// choice pages, the category lists and the separation rules. The window knows them only as
// widgets; it saves them through their submit slot and hears of their outcome through their
// setSuccess() / closeWidget() signals, looked up by name, so it needs none of their headers.
class QObject;
class QWidget;

QWidget *makeSalePage(QWidget *parent);
QWidget *makeRentPage(QWidget *parent);
QWidget *makeItemPage(QWidget *parent);
QWidget *makeSeperateRulesPage(QWidget *parent);

// Calls the page's submit slot (sale_message_submit, rent_message_submit, basic_message_submit
// or submit, the first one it has); false when it has none.
bool submitPage(QWidget *page);

// Connects the page's parameterless signal `signature` (e.g. "setSuccess()") to the
// receiver's signal or slot of the same signature; false when either lacks it.
bool relayPageSignal(QObject *page, const char *signature, QObject *receiver);
