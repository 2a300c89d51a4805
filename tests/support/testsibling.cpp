// A sibling library with one known export, loaded by the loader's tests.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT int siblingAnswer(int value)
{
    return value * 2;
}
