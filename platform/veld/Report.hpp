#pragma once

#include "platform/veld/Asserter.hpp"
#include "platform/veld/Meta.hpp"
#include "platform/veld/Model.hpp"
#include "platform/veld/Sequence.hpp"
#include "platform/veld/veld_export.hpp"

#include <memory>

namespace VELD {

// Base of objects that observe a deviant.
class VELD_EXPORT ListenerBase {
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
        : addedItems(MakeSequence::create<T>(Unique)),
          removedItems(MakeSequence::create<T>(Unique)),
          modifiedItems(MakeSequence::create<T>(Unique)) {}
    ReportOfChanges(ImmutableModel after, ImmutableModel before) : ReportOfChanges() {
        deviantAfter = std::move(after);
        deviantBefore = std::move(before);
    }

    ImmutableSequence<T> getAdded() const { return addedItems; }
    ImmutableSequence<T> getRemoved() const { return removedItems; }
    ImmutableSequence<T> getModified() const { return modifiedItems; }
    // Spellings used by observers of diagram elements.
    ImmutableSequence<T> getDeleted() const { return removedItems; }
    ImmutableSequence<T> getChanged() const { return modifiedItems; }

    Sequence<T>& added() { return addedItems; }
    Sequence<T>& removed() { return removedItems; }
    Sequence<T>& modified() { return modifiedItems; }

    ImmutableModel getDeviant() const { return deviantAfter; }
    ImmutableModel getDeviantBefore() const { return deviantBefore; }
    bool hasPriorDeviant() const { return !deviantBefore.isNull(); }
    bool isEmpty() const {
        return addedItems.empty() && removedItems.empty() && modifiedItems.empty();
    }

    // The object as it was before the transaction. An object of another model is reported
    // ("Report is not compatible with given object") and gives a null handle; with no prior
    // deviant (a first population) the object itself is its old state.
    T getOldState(const ImmutableClassObject& object) const {
        if (object.isNull())
            return T();
        const ImmutableModel& ref = deviantBefore.isNull() ? deviantAfter : deviantBefore;
        const bool compatible = ref.view() && object.core()->model == ref.modelCore();
        if (!compatible) {
            VELD_ASSERT(compatible, "Report is not compatible with given object");
            return T();
        }
        return T(object.asDeviant(ref));
    }

private:
    Sequence<T> addedItems;
    Sequence<T> removedItems;
    Sequence<T> modifiedItems;
    ImmutableModel deviantAfter;
    ImmutableModel deviantBefore;
};

namespace internal {

// Registered on a deviant on behalf of an owner: per completed transaction it classifies every
// changed object of kind T (T::MetaClass()) by whether it exists before and after, and hands
// the owner one report through owner->transactionCompleted(report). An object made and
// destroyed within the transaction appears nowhere.
template <typename ModelT, typename Owner, typename T = ImmutableClassObject, bool Unique = false>
class ListenerHolder : public detail::ListenerSink {
public:
    explicit ListenerHolder(Owner* owner) : listener(owner) {}

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
        listener->transactionCompleted(report);
    }

    void deviantDestroyed() override {
        if constexpr (std::is_base_of_v<ListenerBase, Owner>)
            listener->onDeviantDestroyed();
    }

private:
    Owner* listener;
};

} // namespace internal
} // namespace VELD
