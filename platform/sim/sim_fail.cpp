// Fault injection: a test names a function and which of its next calls fails.
#include "platform/sim/sim_internal.h"

#include <map>
#include <string>

namespace {
struct FailRule {
    int Countdown;  // 0: every call fails
};
std::map<std::string, FailRule> &Rules()
{
    static std::map<std::string, FailRule> rules;
    return rules;
}
std::map<std::string, int> &Counts()
{
    static std::map<std::string, int> counts;
    return counts;
}
}

void SimFailCall(const char *function, int n) { Rules()[function] = FailRule{n}; }

void SimClearFailures() { Rules().clear(); }

void SimResetCallCounts() { Counts().clear(); }

int SimCallCount(const char *function)
{
    auto it = Counts().find(function);
    return it == Counts().end() ? 0 : it->second;
}

bool SimShouldFail(const char *function)
{
    Counts()[function]++;
    auto it = Rules().find(function);
    if (it == Rules().end())
        return false;
    if (it->second.Countdown == 0)
        return true;
    if (--it->second.Countdown == 0) {
        Rules().erase(it);
        return true;
    }
    return false;
}
