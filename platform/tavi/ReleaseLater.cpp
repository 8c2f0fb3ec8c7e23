#include "platform/tavi/ReleaseLater.hpp"

#include <QCoreApplication>
#include <QObject>

namespace TAVI {

namespace {

// Holds one count until Qt deletes it: the deferred delete runs when control is back in the
// event loop that was running when it was asked for.
class DeferredRelease : public QObject {
public:
    explicit DeferredRelease(Holder<Referenced> hold) : hold(std::move(hold)) {}

private:
    Holder<Referenced> hold;
};

} // namespace

void releaseLater(Holder<Referenced> hold) {
    if (!hold || !QCoreApplication::instance())
        return;
    (new DeferredRelease(std::move(hold)))->deleteLater();
}

} // namespace TAVI
