#include "entry_forms/chooser/chooserstyle.h"

namespace ChooserStyle {

QString hint()
{
    return QStringLiteral("QLabel{color:rgb(102,102,102);font-size:13px;}");
}

QString edit()
{
    return QStringLiteral("QLineEdit{border:1px solid rgb(221,221,221);border-radius:3px;padding:4px 8px;"
                          "font-size:13px;min-height:20px;}QLineEdit:focus{border-color:rgb(12,145,235);}");
}

QString primaryButton()
{
    return QStringLiteral("QPushButton{background-color:rgb(12,145,235);color:white;border:none;border-radius:3px;"
                          "font-size:13px;padding:6px 18px;}QPushButton:hover{background-color:rgb(10,130,212);}");
}

QString plainButton()
{
    return QStringLiteral("QPushButton{background:white;color:rgb(51,51,51);border:1px solid rgb(221,221,221);"
                          "border-radius:3px;font-size:13px;padding:6px 18px;}"
                          "QPushButton:hover{border-color:rgb(12,145,235);color:rgb(12,145,235);}");
}

QString tile()
{
    return QStringLiteral("QPushButton{background:white;color:rgb(51,51,51);border:1px solid rgb(221,221,221);"
                          "border-radius:3px;font-size:13px;padding:6px 12px;min-width:64px;}"
                          "QPushButton:hover{border-color:rgb(12,145,235);color:rgb(12,145,235);}"
                          "QPushButton:checked{background:rgb(12,145,235);color:white;border-color:rgb(12,145,235);}");
}

QString errorText()
{
    return QStringLiteral("QLabel{color:rgb(230,67,64);font-size:13px;}");
}

QString navStep(bool current)
{
    return QStringLiteral("QPushButton{border:none;background:transparent;font-size:14px;padding:0 4px;color:%1;%2}")
        .arg(current ? QStringLiteral("rgb(12,145,235)") : QStringLiteral("rgb(153,153,153)"),
             current ? QStringLiteral("font-weight:bold;") : QString());
}

} // namespace ChooserStyle
