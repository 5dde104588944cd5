#pragma once
// The one cleanup idiom: work that must happen when a scope ends, whichever way it ends.
#include <exception>
#include <type_traits>
#include <utility>

namespace rtl {

// Runs `action` when the scope ends, unless released first:
//     ScopeExit removeTemporary([&] { unlink(path); });
//     ... removeTemporary.Release(); // success: keep the file
// Cleanup that must happen only when the work fails is written the same way, released once the
// work has succeeded.
//
// An action may throw (ending an update notifies, and a handler can fail). On a normal way out
// its exception goes on to the caller as if the action had been called there; while another
// exception is already unwinding the scope, that first failure is the one reported and the
// action's own is dropped, since C++ cannot carry two.
template <class Action> class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Action action) : m_action(std::move(action)) {}
    ~ScopeExit() noexcept(false) {
        if (!m_armed)
            return;
        if (std::uncaught_exceptions() == m_uncaught) {
            m_action();
            return;
        }
        try {
            m_action();
        } catch (...) {
            // The failure already on its way out is the one that counts.
        }
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    void Release() { m_armed = false; }

private:
    Action m_action;
    int m_uncaught = std::uncaught_exceptions();
    bool m_armed = true;
};

// Gives `variable` `value` for the scope and puts the old value back when it ends:
//     ValueRestore busy(m_busy, true);
template <class T> class [[nodiscard]] ValueRestore {
public:
    ValueRestore(T& variable, T value) : m_variable(variable), m_saved(std::move(variable)) {
        m_variable = std::move(value);
    }
    // Only remembers the value, for code that changes the variable itself.
    explicit ValueRestore(T& variable) : m_variable(variable), m_saved(variable) {}
    ~ValueRestore() { m_variable = std::move(m_saved); }
    ValueRestore(const ValueRestore&) = delete;
    ValueRestore& operator=(const ValueRestore&) = delete;
    const T& Saved() const { return m_saved; }

private:
    T& m_variable;
    T m_saved;
};

template <class T, class U> ValueRestore(T&, U) -> ValueRestore<T>;

} // namespace rtl
