#pragma once

#include "platform/veld/Asserter.hpp"
#include "platform/veld/Meta.hpp"

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace VELD {

// Dispatch by an object's dynamic meta-class. Each visitor class has one table shared by all
// its instances: handlers registered per kernel class, plus a default entry. A visit runs the
// handler of the most derived registered class of the object (the class itself first, then its
// superclasses depth first, in declaration order).
template <typename Visitor, typename Result = void> class CooperativeVisitor {
public:
    using Handler = std::function<Result(Visitor&, const ImmutableClassObject&)>;

    static void registerHandler(const ImmutableClass& cls, Handler handler) {
        Table& t = table();
        t.handlers[cls.classInfo()] = std::make_shared<const Handler>(std::move(handler));
        t.resolved.clear();
    }
    static void setDefaultHandler(Handler handler) {
        Table& t = table();
        t.fallback = std::make_shared<const Handler>(std::move(handler));
        t.resolved.clear();
    }
    static bool hasHandlerFor(const ImmutableClass& cls) {
        return table().handlers.count(cls.classInfo()) > 0;
    }

    Result visit(const ImmutableClassObject& object) {
        if (!object.isValid()) {
            VELD_ASSERT(object.isValid(), "Visitation on null object");
            return Result();
        }
        // Held for the call: a handler may replace itself, or others, while it runs.
        const std::shared_ptr<const Handler> h = resolve(object.core()->cls);
        if (!h || !*h)
            return Result();
        return (*h)(static_cast<Visitor&>(*this), object);
    }

protected:
    ~CooperativeVisitor() = default;

private:
    struct Table {
        std::unordered_map<const detail::ClassInfo*, std::shared_ptr<const Handler>> handlers;
        std::unordered_map<const detail::ClassInfo*, std::shared_ptr<const Handler>> resolved;
        std::shared_ptr<const Handler> fallback;
    };
    static Table& table() {
        static Table t;
        return t;
    }
    static void ancestors(const detail::ClassInfo* c, std::vector<const detail::ClassInfo*>& out) {
        for (const detail::ClassInfo* seen : out)
            if (seen == c)
                return;
        out.push_back(c);
        for (const detail::ClassInfo* s : c->supers)
            ancestors(s, out);
    }
    // The first registered class, in depth-first order, that no other registered ancestor
    // inherits from: with several superclasses a nearer class beats a shared base.
    static std::shared_ptr<const Handler> find(const detail::ClassInfo* c, Table& t) {
        std::vector<const detail::ClassInfo*> order;
        ancestors(c, order);
        std::vector<const detail::ClassInfo*> registered;
        for (const detail::ClassInfo* a : order)
            if (t.handlers.count(a))
                registered.push_back(a);
        for (const detail::ClassInfo* candidate : registered) {
            bool shadowed = false;
            for (const detail::ClassInfo* other : registered)
                if (other != candidate && other->isa(candidate))
                    shadowed = true;
            if (!shadowed)
                return t.handlers.find(candidate)->second;
        }
        return nullptr;
    }
    static std::shared_ptr<const Handler> resolve(const detail::ClassInfo* c) {
        Table& t = table();
        auto it = t.resolved.find(c);
        if (it != t.resolved.end())
            return it->second;
        std::shared_ptr<const Handler> h = find(c, t);
        if (!h)
            h = t.fallback;
        t.resolved.emplace(c, h);
        return h;
    }
};

} // namespace VELD
