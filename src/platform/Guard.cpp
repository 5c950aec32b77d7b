#include "platform/Guard.h"

#include "platform/Dialogs.h"

#include <exception>

bool GuardHandler(const std::function<void()> &Handler)
{
    try {
        Handler();
        return true;
    } catch (const std::exception &e) {
        Dialogs().ShowErrorBox(e.what(), {});
    } catch (...) {
        Dialogs().ShowErrorBox("Unknown error", {});
    }
    return false;
}

bool GuardSilently(const std::function<void()> &Handler)
{
    try {
        Handler();
        return true;
    } catch (...) {
        return false;
    }
}
