#pragma once
// Where code below the widgets sends texts meant for the user (a server's refusal, a failed
// request's notice, a missing sibling library). Those layers know no widgets: the widgets
// side installs the sink that shows the texts as the module's message boxes.
#include <QString>
#include <functional>

namespace UserNotice {

enum Kind { Warning, Error };
using Sink = std::function<void(Kind kind, const QString &text)>;

// Replaces the sink; an empty sink drops every notice.
void setSink(Sink sink);

void warning(const QString &text);
void error(const QString &text);

} // namespace UserNotice
