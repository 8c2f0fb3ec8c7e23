#pragma once

#include "platform/veld/ClassObject.hpp"
#include "platform/veld/veld_export.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace VELD {

class FactoryObject;
class ImmutableClass;

// What a deviant holds of an object: nothing (the object does not exist there), nothing of
// its own (it shows the root's state), or a state of its own.
enum class ObjectState { InvalidObject, FallBackToRoot, OwnState };

namespace detail {
// Keeps a model alive: every Model handle holds one.
class VELD_EXPORT ModelOwnerRef {
public:
    ModelOwnerRef() = default;
    explicit ModelOwnerRef(ModelCore* m) : model(m) { retainModelOwner(model); }
    ModelOwnerRef(const ModelOwnerRef& o) : model(o.model) { retainModelOwner(model); }
    ModelOwnerRef(ModelOwnerRef&& o) noexcept : model(o.model) { o.model = nullptr; }
    ModelOwnerRef& operator=(ModelOwnerRef o) noexcept {
        std::swap(model, o.model);
        return *this;
    }
    ~ModelOwnerRef() { releaseModelOwner(model); }
    ModelCore* get() const { return model; }

private:
    ModelCore* model = nullptr;
};
} // namespace detail

// A read-only handle to a model as one of its deviants shows it: the root deviant (the model
// itself), a named working copy, or the state before a transaction (in change reports).
// Model handles keep their model alive; when the last one goes, the model ends and every
// handle into it becomes invalid.
class VELD_EXPORT ImmutableModel {
public:
    ImmutableModel() = default;
    explicit ImmutableModel(detail::ViewRef view);

    static ImmutableClass MetaClass(); // "VELD.Model", the generic model class

    bool isNull() const { return !deviantView; }
    bool isValid() const { return deviantView && deviantView->alive; }
    explicit operator bool() const { return isValid(); }

    std::string getUri() const;
    ImmutableClass getMetaModel() const; // the class of the model's root object
    std::string getName() const;         // the deviant's name; "" for the root
    bool isRootDeviant() const;
    ImmutableModel getRootDeviant() const;
    ImmutableClassObject getRootObject() const;
    operator ImmutableClassObject() const { return getRootObject(); } // NOLINT

    int getCurrentChangeLevel() const;
    int getUndoStackLength() const;
    int getRedoStackLength() const;
    // The names of the transactions that undo and redo would take back and bring again; "" when
    // there is none or it was not named.
    std::string getUndoStepName() const;
    std::string getRedoStepName() const;
    // Where the model's history stands: equal for two moments only when the model shows the
    // same committed changes (0 before the first). Unlike the change level, a new change made
    // after an undo never brings back a position seen before.
    std::uint64_t getHistoryPosition() const;
    bool hasObjectsDeviatingFromRoot() const;
    bool isInTransaction() const;
    ObjectState getObjectState(const ImmutableClassObject& object) const;

    bool operator==(const ImmutableModel& o) const { return deviantView == o.deviantView; }
    std::size_t hash() const { return std::hash<const void*>()(deviantView.get()); }

    detail::ViewCore* view() const { return deviantView.get(); }
    const detail::ViewRef& viewRef() const { return deviantView; }
    detail::ModelCore* modelCore() const { return deviantView ? deviantView->model : nullptr; }

protected:
    detail::DeviantCore& deviant(const char* operation) const; // throws unless a live deviant

    detail::ViewRef deviantView;
    detail::ModelOwnerRef owner;
};

inline std::size_t gHash(const ImmutableModel& m) {
    return m.hash();
}

class ListenerBase;
namespace detail {
class ListenerSink;
}

// A model or one of its working copies, for changing it. Every change happens inside a
// transaction on one deviant; nested transactions join the outermost one.
class VELD_EXPORT Model : public ImmutableModel {
public:
    Model() = default;
    explicit Model(detail::ViewRef view) : ImmutableModel(std::move(view)) {}
    explicit Model(const ImmutableModel& m) : ImmutableModel(m) {}

    operator ClassObject() const { return getRootObject(); } // NOLINT
    ClassObject getRootObject() const { return ClassObject(ImmutableModel::getRootObject()); }
    Model getRootDeviant() const { return Model(ImmutableModel::getRootDeviant()); }
    FactoryObject getFactory() const;

    void beginTransaction(std::string_view name = "") const;
    void commitTransaction() const;
    // Undoes every change of the outermost open transaction.
    void rollbackTransaction() const;

    // Root only; VELD::Exception for a level outside the stacks or with a transaction open.
    void undoToChangeLevel(int level) const;
    void redoToChangeLevel(int level) const;

    // Working copies: made from the root in O(1), they store only what differs from it.
    Model createDeviantWithName(std::string_view name) const;
    bool removeDeviantWithName(std::string_view name) const;
    Model getDeviantWithName(std::string_view name) const; // null handle when none
    // Drops everything the working copy holds of its own and shows the root as it is now,
    // reporting each object whose view changed. Joins an open transaction or makes one.
    void syncFromRoot() const;

    void registerObservingListener(detail::ListenerSink* listener) const;
    void unregisterObservingListener(detail::ListenerSink* listener) const;

    // Ends the model now, whoever else holds it; every handle into it becomes invalid.
    void destroy() const;
};

using Deviant = Model;

// A scoped transaction: rolled back whole when destroyed without commit (also when left by an
// exception). Nested ones join the outermost transaction of their deviant.
class VELD_EXPORT Transaction {
public:
    explicit Transaction(const Model& model, std::string_view name = "");
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();
    void rollback();

private:
    Model deviant;
    std::uint64_t generation = 0;
    bool done = false;
};

// Makes objects of a meta-model's classes in one model, and values from text.
class VELD_EXPORT FactoryObject {
public:
    FactoryObject() = default;
    FactoryObject(Model model, detail::PackageInfo* package);

    // A new object of the class with that simple name (of the factory's meta-model, or any
    // registered class by qualified name). Needs an open transaction on the model.
    ClassObject createFromString(std::string_view className) const;
    ClassObject create(const ImmutableClass& cls) const;
    // A value of the named type from text.
    Object createFromString(std::string_view typeName, std::string_view text) const;

    const Model& getModel() const { return model; }

private:
    Model model;
    detail::PackageInfo* package = nullptr;
};

// A change to run against one deviant, inside a transaction the caller opens. The change is a
// function given to the command; subclasses may override execute instead. An empty command
// changes nothing.
class VELD_EXPORT Command {
public:
    using Function = std::function<void(const Model& deviant)>;

    Command() = default;
    explicit Command(Function change) : function(std::move(change)) {}
    virtual ~Command() = default;

    virtual void execute(const Model& deviant) const {
        if (function)
            function(deviant);
    }
    void setFunction(Function change) { function = std::move(change); }
    bool isEmpty() const { return !function; }

private:
    Function function;
};

// Change levels and other integral model values.
using Integer = std::int64_t;

} // namespace VELD
