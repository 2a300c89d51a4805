#include "platform/usernotice.h"

namespace UserNotice {
namespace {

// Built on first use so a sink installed from another file's static initializer is kept.
Sink &sinkSlot()
{
    static Sink sink;
    return sink;
}

void send(Kind kind, const QString &text)
{
    if (const Sink &sink = sinkSlot())
        sink(kind, text);
}

} // namespace

void setSink(Sink sink)
{
    sinkSlot() = std::move(sink);
}

void warning(const QString &text)
{
    send(Warning, text);
}

void error(const QString &text)
{
    send(Error, text);
}

} // namespace UserNotice
