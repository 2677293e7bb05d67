#pragma once

#include <optional>

// The exception of type E that `call` throws, or nothing when it returns normally.
template <class E, class F> std::optional<E> thrown(F&& call)
{
    try {
        call();
    } catch (const E& e) {
        return e;
    }
    return std::nullopt;
}
