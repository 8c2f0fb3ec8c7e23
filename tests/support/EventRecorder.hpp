#pragma once

// Recorders of what a test's scenario sends: studio and editor events heard through their
// services (EventRecorder), and the transactions committed on one deviant of a model
// (ChangeRecorder), each kept in the order it came, so that a test can check the exact number
// and order of notifications after each step.

#include "platform/nimb/Listener.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Report.hpp"

#include <cstddef>
#include <vector>

namespace KiteTest {

// Keeps every record it hears, by value, as components do. Connect it to a service or an
// emitter with &EventRecorder<E>::heard.
template <typename E> class EventRecorder : public NIMB::Listener {
public:
    void heard(E event) { received.push_back(event); }
    std::size_t count() const { return received.size(); }
    void clear() { received.clear(); }

    std::vector<E> received;
};

// What one committed transaction did: how many objects it added, removed and modified.
struct Changes {
    int added = 0;
    int removed = 0;
    int modified = 0;
    bool operator==(const Changes& other) const = default;
};

// Hears every transaction committed on one deviant (a model's root, an editor's working copy)
// while it lives, and keeps what each did, oldest first.
class ChangeRecorder {
public:
    explicit ChangeRecorder(const VELD::Model& deviant) : deviant(deviant) {
        deviant.registerObservingListener(&holder);
    }
    ~ChangeRecorder() { deviant.unregisterObservingListener(&holder); }
    ChangeRecorder(const ChangeRecorder&) = delete;
    ChangeRecorder& operator=(const ChangeRecorder&) = delete;

    void transactionCompleted(const VELD::ReportOfChanges<VELD::ImmutableClassObject>& report) {
        reports.push_back(
            {report.getAdded().size(), report.getRemoved().size(), report.getModified().size()});
    }
    std::size_t count() const { return reports.size(); }
    void clear() { reports.clear(); }

    std::vector<Changes> reports;

private:
    VELD::Model deviant;
    VELD::internal::ListenerHolder<VELD::ImmutableModel, ChangeRecorder> holder{this};
};

} // namespace KiteTest
