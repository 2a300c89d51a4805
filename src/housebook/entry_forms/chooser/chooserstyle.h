#pragma once
// The chooser pages' look, in one place so the pages stay alike.
#include <QString>

namespace ChooserStyle {

QString hint();
QString edit();
QString primaryButton();
QString plainButton();
// A tile of a building, unit or room; checked marks the one chosen before.
QString tile();
QString errorText();
// A navigation step: the current one blue, the others grey.
QString navStep(bool current);

} // namespace ChooserStyle
