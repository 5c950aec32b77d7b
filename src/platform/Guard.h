#pragma once

#include <functional>

// Event handlers run inside one of these so no exception ever crosses the event loop.
// GuardHandler shows the error's text in the error box, as an application's default error
// handler would; GuardSilently drops it, for handlers whose failures are meant to be quiet.
// Both return false when the handler failed.
bool GuardHandler(const std::function<void()> &Handler);
bool GuardSilently(const std::function<void()> &Handler);
