#pragma once

#include "ui/main_window/window_rules.h"

#include <QString>

#include <cstddef>
#include <exception>
#include <new>

namespace rainbow::ui {

/// Runs the body of an event handler so that no exception leaves it: the toolkit cannot unwind
/// its own frames. What the body throws ends it here, and report gets the status line's words for
/// it (failureMessage). Returns whether the body ran to its end. report must not throw itself.
template <typename Body, typename Report> bool runGuarded(Body &&body, Report &&report) noexcept
{
    try {
        body();
        return true;
    } catch (...) {
        report(failureMessage(std::current_exception()));
        return false;
    }
}

/// Throws std::bad_alloc unless `bytes` of address space are free at this moment. Nothing is
/// written into them, so the check costs no time and no memory. Called before a result is shown,
/// so that a result too big to show fails while everything still shows what it did before.
inline void checkRoom(std::size_t bytes)
{
    // Called as a function, not a new-expression, so that the compiler keeps the allocation.
    ::operator delete(::operator new(bytes));
}

/// The most the clipboard takes for a text of `units` UTF-16 units besides the text: the UTF-8
/// copy it makes for another program, three bytes a unit at most.
constexpr std::size_t clipboardBytes(qsizetype units) { return std::size_t(units) * 3; }

} // namespace rainbow::ui
