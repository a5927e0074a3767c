#pragma once

#include <functional>
#include <type_traits>
#include <utility>

namespace kadrix {

// Runs one event handler inside the program's guard: a SilentAbort ends it with
// no message, any other exception is shown in the default error box. Nothing
// ever propagates into Qt's event loop. Returns true when the handler ran to
// its end.
bool dispatch(const std::function<void()>& handler);

// How many guarded handlers are running now (they nest when a handler
// processes pending messages).
int runningHandlers();

// Runs the action once no guarded handler is running any more: at once when
// none is, otherwise when the outermost one returns. Used to defer closing the
// main window until the run in progress has finished.
void whenNoHandlerRuns(std::function<void()> action);

// Wraps a handler for a signal connection so that it runs inside dispatch().
// A handler that takes none of the signal's arguments is called without them.
template <typename F> auto guarded(F handler) {
    return [handler = std::move(handler)](auto&&... args) {
        dispatch([&] {
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    };
}

} // namespace kadrix
