#pragma once

#include "platform/veld/CooperativeVisitor.hpp"

#include <functional>
#include <tuple>
#include <type_traits>
#include <utility>

namespace VELD {

// The dispatch table of one concrete visitor class: handlers per kernel class plus a default
// entry, chosen by the kernel's cooperative dispatch (the object's most derived registered
// class first). Visitor bases hold a pointer to the table of their concrete class, so all
// instances of a class share one table and different classes never see each other's entries.
template <typename Base, typename Result, typename... Args> class VisitorTable {
public:
    using Handler = std::function<Result(Base&, const ImmutableClassObject&, Args...)>;

    virtual ~VisitorTable() = default;
    virtual void registerHandler(const ImmutableClass& cls, Handler handler) = 0;
    virtual void setDefaultHandler(Handler handler) = 0;
    // A null object is reported by the kernel ("Visitation on null object") and gives Result().
    virtual Result dispatch(Base& visitor, const ImmutableClassObject& object, Args... args) = 0;

    // The table of Concrete, made on first use. It holds no state of its own (the handlers live
    // in the kernel's table of its visitor type), so one static object serves the process.
    template <typename Concrete> static VisitorTable* forClass() {
        static KernelTable<Concrete> table;
        return &table;
    }

    // A handler that calls a member of Visitor taking the object as Handle (a kernel handle
    // type constructible from ImmutableClassObject, such as ClassObject).
    template <typename Visitor, typename Handle>
    static Handler member(Result (Visitor::*function)(Handle, Args...)) {
        using Object = std::remove_cvref_t<Handle>;
        return [function](Base& visitor, const ImmutableClassObject& object, Args... args) {
            return (static_cast<Visitor&>(visitor).*function)(Object(object), args...);
        };
    }

private:
    template <typename Concrete> class KernelTable;
};

template <typename Base, typename Result, typename... Args>
template <typename Concrete>
class VisitorTable<Base, Result, Args...>::KernelTable final : public VisitorTable {
    // One kernel visitor type per concrete class: the kernel keeps a table per visitor type.
    struct Call : CooperativeVisitor<Call, Result> {
        Call(Base& v, Args... a) : visitor(v), args(a...) {}
        Base& visitor;
        std::tuple<Args...> args;
    };

public:
    void registerHandler(const ImmutableClass& cls, Handler handler) override {
        Call::registerHandler(cls, wrap(std::move(handler)));
    }
    void setDefaultHandler(Handler handler) override {
        Call::setDefaultHandler(wrap(std::move(handler)));
    }
    Result dispatch(Base& visitor, const ImmutableClassObject& object, Args... args) override {
        Call call(visitor, args...);
        return call.visit(object);
    }

private:
    static typename CooperativeVisitor<Call, Result>::Handler wrap(Handler handler) {
        return [handler = std::move(handler)](Call& call, const ImmutableClassObject& object) {
            return std::apply(
                [&](auto&&... args) { return handler(call.visitor, object, args...); }, call.args);
        };
    }
};

} // namespace VELD
