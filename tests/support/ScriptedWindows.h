#pragma once

// Window operations answered from a script, for the length of a test: a flow
// that opens a chooser or an editor (new work sheet, new device, the
// settings window, ...) runs end to end against the database without a
// window, and the test checks how each operation was called.
//
//     ScriptedWindows windows;                    // restores everything when it goes
//     windows.answer(EditCustomer, 42);           // the next EditCustomer returns 42
//     windows.answer(ChooseCatalogueItem, ChosenRow{7, "Olajcsere"});
//     windows.act(SettingsWindow, [](Table& row, SettingsValues& values) {
//         row.setValue("mlaphatid", 14);          // a stand-in that acts like a user
//         return true;
//     });
//     RunTheFlow();
//     EXPECT_FALSE(windows.calls("EditCustomer").at(0).args.at(0).isValid());  // nothing: a new one
//
// Only the operations given an answer are replaced; the others keep what is
// installed (the real windows in window tests). An operation called with no
// answer left throws ScriptError naming it, so an unexpected window fails
// the test instead of passing silently.

#include "ScriptedDialogs.h"
#include "foundation/RowKey.h"
#include "foundation/WindowOperation.h"

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

namespace kml {

// How one operation was called: its name and the arguments that have a
// plain value (numbers, flags, texts, keys; others, and a key that is
// nothing, are recorded as invalid).
struct WindowCall {
    QString operation;
    QVariantList args;
};

class ScriptedWindows final {
public:
    ScriptedWindows() = default;
    ~ScriptedWindows() {
        for (auto it = m_restore.rbegin(); it != m_restore.rend(); ++it)
            (*it)();
    }
    ScriptedWindows(const ScriptedWindows&) = delete;
    ScriptedWindows& operator=(const ScriptedWindows&) = delete;

    // Puts the operation under the script without an answer yet: a call
    // before one is given fails the test (ScriptError) instead of opening
    // the real window.
    template <typename R, typename... Args> ScriptedWindows& script(WindowOperation<R(Args...)>& operation) {
        queueFor(operation);
        return *this;
    }

    // The next call of the operation runs stand-in with its arguments.
    template <typename R, typename... Args, typename F>
    ScriptedWindows& act(WindowOperation<R(Args...)>& operation, F&& standIn) {
        queueFor(operation).push_back(std::function<R(Args...)>(std::forward<F>(standIn)));
        return *this;
    }

    // The next call of the operation returns result (out-parameters untouched).
    template <typename R, typename... Args>
    ScriptedWindows& answer(WindowOperation<R(Args...)>& operation, std::type_identity_t<R> result) {
        return act(operation, [result](Args...) { return result; });
    }

    // Every scripted call so far, in order; or those of one operation.
    const std::vector<WindowCall>& calls() const { return m_calls; }
    std::vector<WindowCall> calls(const QString& operation) const {
        std::vector<WindowCall> of;
        for (const WindowCall& call : m_calls)
            if (call.operation == operation)
                of.push_back(call);
        return of;
    }
    // Answers not used yet, over every operation.
    qsizetype pendingAnswers() const {
        qsizetype n = 0;
        for (const auto& [op, count] : m_pending)
            n += count();
        return n;
    }

private:
    template <typename A> static QVariant Recorded(const A& value) {
        using D = std::decay_t<A>;
        if constexpr (std::is_same_v<D, RowKey>)
            return value ? QVariant::fromValue(*value) : QVariant();
        else if constexpr (std::is_arithmetic_v<D> || std::is_same_v<D, QString> ||
                           std::is_same_v<D, QVariant>)
            return QVariant::fromValue(value);
        else
            return QVariant();
    }

    template <typename R, typename... Args>
    std::deque<std::function<R(Args...)>>& queueFor(WindowOperation<R(Args...)>& operation) {
        using Queue = std::deque<std::function<R(Args...)>>;
        auto found = m_queues.find(&operation);
        if (found != m_queues.end())
            return *static_cast<Queue*>(found->second.get());
        auto queue = std::make_shared<Queue>();
        m_queues.emplace(&operation, queue);
        m_pending.emplace(&operation, [queue] { return qsizetype(queue->size()); });
        const QString name = QString::fromLatin1(operation.name());
        auto previous = operation.replace([this, queue, name](Args... args) -> R {
            m_calls.push_back(WindowCall{name, QVariantList{Recorded(args)...}});
            if (queue->empty())
                throw ScriptError((name + QStringLiteral(" found no answer in the script")).toStdString());
            const std::function<R(Args...)> standIn = std::move(queue->front());
            queue->pop_front();
            return standIn(std::forward<Args>(args)...);
        });
        m_restore.push_back([&operation, previous = std::move(previous)]() mutable {
            operation.replace(std::move(previous));
        });
        return *queue;
    }

    std::map<const void*, std::shared_ptr<void>> m_queues;
    std::map<const void*, std::function<qsizetype()>> m_pending;
    std::vector<std::function<void()>> m_restore;
    std::vector<WindowCall> m_calls;
};

} // namespace kml
