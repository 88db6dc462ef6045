// Fault injection: a test names a function, or one place in the code that
// calls it, and which of its next calls fails.
#include "platform/sim/sim_internal.h"

#include <map>
#include <string>

namespace {

struct FailRule {
    int Countdown;  // 0: every call fails
};

struct FailState {
    std::map<std::string, FailRule> ByFunction;
    std::map<std::pair<std::string, const void *>, FailRule> BySite;
    std::map<std::string, int> Calls;
    std::map<std::pair<std::string, const void *>, int> SiteCalls;
};

FailState &State()
{
    static FailState state;
    return state;
}

// Counts a call against a rule; true when this call is the one to fail.
template <typename Key> bool Hit(std::map<Key, FailRule> &rules, const Key &key)
{
    auto it = rules.find(key);
    if (it == rules.end())
        return false;
    if (it->second.Countdown == 0)
        return true;
    if (--it->second.Countdown == 0) {
        rules.erase(it);
        return true;
    }
    return false;
}

}  // namespace

void SimFailCall(const char *function, int n) { State().ByFunction[function] = FailRule{n}; }

void SimFailCallSite(const SimCallSite &site, int n)
{
    State().BySite[{site.Function, site.Address}] = FailRule{n};
}

void SimClearFailures()
{
    State().ByFunction.clear();
    State().BySite.clear();
}

void SimResetCallCounts()
{
    State().Calls.clear();
    State().SiteCalls.clear();
}

int SimCallCount(const char *function)
{
    auto it = State().Calls.find(function);
    return it == State().Calls.end() ? 0 : it->second;
}

std::vector<std::pair<std::string, int>> SimCalledFunctions()
{
    return std::vector<std::pair<std::string, int>>(State().Calls.begin(), State().Calls.end());
}

std::vector<SimCallSite> SimCallSites()
{
    std::vector<SimCallSite> sites;
    for (const auto &entry : State().SiteCalls)
        sites.push_back(SimCallSite{entry.first.first, entry.first.second, entry.second});
    return sites;
}

bool SimShouldFailAt(const char *function, const void *site)
{
    FailState &s = State();
    std::string name = function;
    s.Calls[name]++;
    s.SiteCalls[{name, site}]++;
    bool bySite = Hit(s.BySite, std::make_pair(name, site));
    bool byFunction = Hit(s.ByFunction, name);
    return bySite || byFunction;
}
