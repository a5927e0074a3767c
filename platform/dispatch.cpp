#include "dispatch.h"

#include "dialog_service.h"
#include "errors.h"

#include <QString>

#include <new>
#include <vector>

namespace kadrix {
namespace {

int depth = 0;
std::vector<std::function<void()>> deferred;

struct DepthScope {
    DepthScope() { ++depth; }
    ~DepthScope() { --depth; }
};

bool runReporting(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const SilentAbort&) {
    } catch (const Error& e) {
        dialogs().errorBox(e.message());
    } catch (const std::bad_alloc&) {
        dialogs().errorBox(QStringLiteral("Mémoire insuffisante"));
    } catch (const std::exception& e) {
        dialogs().errorBox(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        dialogs().errorBox(QStringLiteral("Erreur inconnue"));
    }
    return false;
}

// Deferred actions run outside any handler: they see runningHandlers() == 0.
void runDeferred() {
    while (depth == 0 && !deferred.empty()) {
        auto action = std::move(deferred.front());
        deferred.erase(deferred.begin());
        runReporting(action);
    }
}

} // namespace

bool dispatch(const std::function<void()>& handler) {
    bool completed = false;
    {
        DepthScope scope;
        completed = runReporting(handler);
    }
    runDeferred();
    return completed;
}

int runningHandlers() { return depth; }

void whenNoHandlerRuns(std::function<void()> action) {
    deferred.push_back(std::move(action));
    runDeferred();
}

} // namespace kadrix
