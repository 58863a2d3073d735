#include "vbrt.h"

#include <cstdio>
#include <cstdlib>

ErrObject Err;

static std::function<void(int)>& endHook()
{
    static std::function<void(int)> h;
    return h;
}

void SetEndProgramHook(std::function<void(int)> hook) { endHook() = std::move(hook); }

void EndProgram(int code)
{
    if (endHook()) {
        endHook()(code);
        return;
    }
    std::fflush(nullptr);
    std::_Exit(code);
}
