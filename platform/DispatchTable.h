// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <utility>

// A row of a dispatch table: a number (a step, a state, a report kind) and
// the member function for it; a null function means nothing to do.
template <class Fn> struct SDispatchRow
{
    int nKey;
    Fn pfn;
};

// Calls pThis's function of the row for nKey; false when no row has it.
template <class T, class Fn, std::size_t N, class... A>
bool Dispatch(T* pThis, const SDispatchRow<Fn> (&rows)[N], int nKey, A&&... args)
{
    for (const SDispatchRow<Fn>& r : rows) {
        if (r.nKey == nKey) {
            if (r.pfn)
                (pThis->*r.pfn)(std::forward<A>(args)...);
            return true;
        }
    }
    return false;
}
