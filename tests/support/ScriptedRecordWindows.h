#pragma once

// Record windows for tests: each operation answers from a script written
// beforehand and records how it was called, so that a flow that opens a
// chooser or an editor (new work sheet, new device, ...) runs end to end
// against the database without showing a window.
//
//     ScriptedCustomerWindows customers;       // installed until it goes
//     customers.answerList(42, "Kovács Béla"); // the chooser picks customer 42
//     RunTheFlow();
//     EXPECT_EQ(customers.calls()[0].caption, "Ügyfél választás");
//
// An operation that finds no answer, or an answer of the other kind, throws
// ScriptError (foundation/ScriptedDialogs.h) naming the operation.

#include "ScriptedDialogs.h"
#include "records/CustomerWindows.h"

#include <QString>
#include <deque>
#include <vector>

namespace kml {

// How one record operation was called.
struct RecordWindowCall {
    QString operation; // "EditCustomer", "OpenCustomerList"
    int key = -1;      // the number to edit or to select first
    bool chooser = false;
    QString caption;
};

class ScriptedCustomerWindows final : public CustomerWindows {
public:
    ScriptedCustomerWindows();
    ~ScriptedCustomerWindows() override;
    ScriptedCustomerWindows(const ScriptedCustomerWindows&) = delete;
    ScriptedCustomerWindows& operator=(const ScriptedCustomerWindows&) = delete;

    // The next EditCustomer returns result (-1: cancelled).
    ScriptedCustomerWindows& answerEdit(int result);
    // The next OpenCustomerList / ChooseCustomer returns result and name.
    ScriptedCustomerWindows& answerList(int result, const QString& name = {});

    const std::vector<RecordWindowCall>& calls() const { return m_calls; }
    qsizetype pendingAnswers() const { return qsizetype(m_answers.size()); }

    int editCustomer(int customer) override;
    int openCustomerList(int select, bool chooser, const QString& caption, QString& name) override;

private:
    struct Answer {
        QString operation;
        int result = -1;
        QString name;
    };
    Answer next(const QString& operation);

    std::deque<Answer> m_answers;
    std::vector<RecordWindowCall> m_calls;
    CustomerWindows* m_previous = nullptr;
};

} // namespace kml
