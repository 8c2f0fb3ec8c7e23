#pragma once

#include "platform/veld/Asserter.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"

#include <memory>

namespace VELD {

// Base of objects that observe a deviant.
class ListenerBase {
public:
    virtual ~ListenerBase() = default;
    // The observed deviant (or its whole model) is gone; no more reports will come.
    virtual void onDeviantDestroyed() {}
};

// What one transaction did to the objects of kind T of a deviant: added, removed and modified
// objects, bound to the deviant after the transaction, and each one's state before it.
// With Unique set the three sequences are identity-indexed.
template <typename T, bool Unique = false> class ReportOfChanges {
public:
    ReportOfChanges()
        : added_(MakeSequence::create<T>(Unique)), removed_(MakeSequence::create<T>(Unique)),
          modified_(MakeSequence::create<T>(Unique)) {}
    ReportOfChanges(ImmutableModel after, ImmutableModel before) : ReportOfChanges() {
        after_ = std::move(after);
        before_ = std::move(before);
    }

    ImmutableSequence<T> getAdded() const { return added_; }
    ImmutableSequence<T> getRemoved() const { return removed_; }
    ImmutableSequence<T> getModified() const { return modified_; }
    // Spellings used by observers of diagram elements.
    ImmutableSequence<T> getDeleted() const { return removed_; }
    ImmutableSequence<T> getChanged() const { return modified_; }

    Sequence<T>& added() { return added_; }
    Sequence<T>& removed() { return removed_; }
    Sequence<T>& modified() { return modified_; }

    ImmutableModel getDeviant() const { return after_; }
    ImmutableModel getDeviantBefore() const { return before_; }
    bool hasPriorDeviant() const { return !before_.isNull(); }
    bool isEmpty() const { return added_.empty() && removed_.empty() && modified_.empty(); }

    // The object as it was before the transaction. An object of another model is reported
    // ("Report is not compatible with given object") and gives a null handle; with no prior
    // deviant (a first population) the object itself is its old state.
    T getOldState(const ImmutableClassObject& object) const {
        if (object.isNull())
            return T();
        const ImmutableModel& ref = before_.isNull() ? after_ : before_;
        const bool compatible = ref.view() && object.core()->model == ref.modelCore();
        if (!compatible) {
            VELD_ASSERT(compatible, "Report is not compatible with given object");
            return T();
        }
        return T(object.asDeviant(ref));
    }

private:
    Sequence<T> added_;
    Sequence<T> removed_;
    Sequence<T> modified_;
    ImmutableModel after_;
    ImmutableModel before_;
};

namespace internal {

// Registered on a deviant on behalf of an owner: per completed transaction it classifies every
// changed object of kind T (T::MetaClass()) by whether it exists before and after, and hands
// the owner one report through owner->transactionCompleted(report). An object made and
// destroyed within the transaction appears nowhere.
template <typename ModelT, typename Owner, typename T = ImmutableClassObject, bool Unique = false>
class ListenerHolder : public detail::ListenerSink {
public:
    explicit ListenerHolder(Owner* owner) : owner_(owner) {}

    void transactionCompleted(detail::DeviantCore& deviant,
                              const std::shared_ptr<const detail::Record>& record,
                              const detail::ViewRef& before) override {
        const detail::ClassInfo* kind = T::MetaClass().classInfo();
        ReportOfChanges<T, Unique> report{ModelT(detail::ViewRef(&deviant)), ModelT(before)};
        for (const detail::JournalEntry& e : record->entries) {
            if (!e.core->cls->isa(kind))
                continue;
            const bool after = detail::exists(&deviant, e.core);
            if (after == e.existed && !after)
                continue; // made and destroyed within the transaction
            T object(ImmutableClassObject(e.core, detail::ViewRef(&deviant)));
            if (after && !e.existed)
                report.added().append(object);
            else if (!after)
                report.removed().append(object);
            else
                report.modified().append(object);
        }
        owner_->transactionCompleted(report);
    }

    void deviantDestroyed() override {
        if constexpr (std::is_base_of_v<ListenerBase, Owner>)
            owner_->onDeviantDestroyed();
    }

private:
    Owner* owner_;
};

} // namespace internal
} // namespace VELD
