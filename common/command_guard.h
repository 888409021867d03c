#pragma once
// The one guard around every command the user starts: menu items, toolbar buttons, list events and
// dialog buttons. A failure ends the command, not the program: the normal pointer comes back, the
// windows a long command showed are closed, and the user reads what went wrong.

#include <functional>
#include <exception>

// Runs `command`; an EngineError is shown as "Error <number>: <text>", any other exception by its
// own text. Returns false when the command failed.
bool RunCommand(const std::function<void()> &command);

// A slot for connect() that runs `f(bound...)` under RunCommand, whatever the signal carries; `f`
// may be a pointer to member function with its object as the first bound argument.
template <typename F, typename... Bound>
auto guarded(F f, Bound... bound)
{
    return [f, bound...](auto &&...) { RunCommand([&] { std::invoke(f, bound...); }); };
}

// Windows that a command may leave open when it fails (the "Searching..." window) register how to
// close themselves; the guard calls each after a failure.
void addFailureCleanup(void (*cleanup)());

// Thrown by a command that needs an open database when there is none; the guard shows its text.
class NoDatabaseOpen : public std::exception {
public:
    const char *what() const noexcept override;
};
