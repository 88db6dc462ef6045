// Fault injection: a test names a function, or one place in the code that
// calls it, and which of its next calls fails.
#include "platform/sim/sim_internal.h"

#include <algorithm>
#include <map>
#include <string>
#include <string_view>

namespace {

struct FailRule {
    int Countdown;  // 0: every call fails
};

// Keyed so that counting a call allocates nothing once a name or site is known.
struct SiteCount {
    std::string Function;
    int Calls;
};

struct FailState {
    std::map<std::string, FailRule, std::less<>> ByFunction;
    std::map<std::pair<std::string, const void *>, FailRule> BySite;
    std::map<std::string, int, std::less<>> Calls;
    std::map<const void *, SiteCount> SiteCalls;
};

FailState &State()
{
    static FailState state;
    return state;
}

// Counts a call against a rule; true when this call is the one to fail.
template <typename Map, typename Key>
bool Hit(Map &rules, const Key &key)
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

void SimFailCallSite(const SimCallSite &site, int n) { State().BySite[{site.Function, site.Address}] = FailRule{n}; }

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

std::vector<SimCallSite> SimCallSites()
{
    std::vector<SimCallSite> sites;
    for (const auto &entry : State().SiteCalls)
        sites.push_back(SimCallSite{entry.second.Function, entry.first, entry.second.Calls});
    std::sort(sites.begin(), sites.end(), [](const SimCallSite &a, const SimCallSite &b) {
        return a.Function != b.Function ? a.Function < b.Function : a.Address < b.Address;
    });
    return sites;
}

bool SimShouldFailAt(const char *function, const void *site)
{
    FailState &s = State();
    std::string_view name = function;
    auto call = s.Calls.find(name);
    if (call == s.Calls.end())
        call = s.Calls.emplace(std::string(name), 0).first;
    call->second++;
    auto at = s.SiteCalls.find(site);
    if (at == s.SiteCalls.end())
        at = s.SiteCalls.emplace(site, SiteCount{std::string(name), 0}).first;
    at->second.Calls++;
    bool bySite = !s.BySite.empty() && Hit(s.BySite, std::make_pair(std::string(name), site));
    bool byFunction = !s.ByFunction.empty() && Hit(s.ByFunction, name);
    return bySite || byFunction;
}
