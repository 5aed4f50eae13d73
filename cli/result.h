#pragma once

#include <string>
#include <utility>
#include <variant>

namespace rainbow::cli {

/// What ends a run, or a line with --lines, unconverted: the message in the chosen language,
/// without the program's name, and the exit status it ends with (1 refused, 2 anything else).
struct Failure {
    std::string message;
    int status = 2;
};

/// What every step of the command line that a user's input or the system can fail returns: its
/// value, or why there is none. Only running out of memory is thrown.
template <class T = std::monostate> class [[nodiscard]] Result {
public:
    Result() = default;
    // Two overloads, not one by value: `return text;` of a local then moves it.
    Result(const T &value)
        : m_state(std::in_place_index<0>, value)
    {
    }
    Result(T &&value)
        : m_state(std::in_place_index<0>, std::move(value))
    {
    }
    Result(Failure failure)
        : m_state(std::in_place_index<1>, std::move(failure))
    {
    }

    bool ok() const { return m_state.index() == 0; }
    T &value() { return std::get<0>(m_state); }
    const T &value() const { return std::get<0>(m_state); }
    const Failure &failure() const { return std::get<1>(m_state); }

    /// The same outcome with value in place of this one's, for a step that ends a larger one.
    template <class U> Result<U> withValue(U value) const
    {
        return ok() ? Result<U>(std::move(value)) : Result<U>(failure());
    }

private:
    std::variant<T, Failure> m_state;
};

/// Bad usage, status 2: the message with a pointer to --help.
Failure usageFailure(std::string message);

/// Status 2: what failed, then the words of errno.
Failure systemFailure(const std::string &what);

} // namespace rainbow::cli
