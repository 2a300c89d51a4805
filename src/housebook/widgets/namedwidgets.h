#pragma once
// Small widgets built in code with the object names tests and styles find them by.
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

QLabel *namedLabel(const QString &objectName, QWidget *parent);
// A button with the pointing-hand cursor every clickable of the pages uses.
QPushButton *namedButton(const QString &objectName, const QString &text, QWidget *parent);
