#pragma once

// Operations that open a window and give back what the user chose
// (EditCustomer, ChooseDevice, PickPlannerSlot, ...): plain values in, a
// value out, modal. Flows in the core library call them without knowing the
// window behind them.
//
// Each operation is one object, declared in its subsystem's header and
// called like a function:
//
//     // records/CustomerWindows.h
//     inline WindowOperation<int(int customer)> EditCustomer{"EditCustomer"};
//     ...
//     const int saved = EditCustomer(-1);
//
// The widget library puts the real window behind it once at start-up
// (`EditCustomer.install(&Tfrm_Szerkeszt::Run)`, see shell/gui/Windows.h);
// a test puts a stand-in behind it for the length of the test with
// `replace()` (tests/support/ScriptedWindows.h does that for a script of
// answers). Calling an operation with nothing behind it throws
// std::logic_error naming the operation.
//
// User-interface thread only, like every window.

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>

namespace kml {

template <typename Signature> class WindowOperation;

template <typename R, typename... Args> class WindowOperation<R(Args...)> final {
public:
    using Function = std::function<R(Args...)>;

    explicit WindowOperation(const char* name) : m_name(name) {}
    WindowOperation(const WindowOperation&) = delete;
    WindowOperation& operator=(const WindowOperation&) = delete;

    const char* name() const { return m_name; }

    // Puts the window behind the operation.
    void install(Function window) { m_window = std::move(window); }
    // Puts another function behind it and gives back the one it replaced.
    Function replace(Function window) { return std::exchange(m_window, std::move(window)); }
    bool isInstalled() const { return bool(m_window); }

    R operator()(Args... args) const {
        if (!m_window)
            throw std::logic_error(std::string("no window is installed for ") + m_name);
        return m_window(std::forward<Args>(args)...);
    }

private:
    const char* m_name;
    Function m_window;
};

} // namespace kml
