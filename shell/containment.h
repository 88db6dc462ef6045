// Nothing may leave a window procedure or hook into Explorer: every entry
// point from the host runs its handler through Contain, which turns any
// exception into the fallback answer.
#pragma once

template <typename Handler, typename Fallback>
auto Contain(Handler handler, Fallback fallback) -> decltype(handler())
{
    try {
        return handler();
    } catch (...) {
        try {
            return fallback();
        } catch (...) {
            return 0;
        }
    }
}
