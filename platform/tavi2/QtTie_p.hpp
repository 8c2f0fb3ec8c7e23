// Private to platform/tavi2/: included only by its own sources and tests; not installed.
#pragma once

#include <QObject>

#include <functional>
#include <utility>

namespace TAVI {

// Ties a toolkit object to the Qt object it owns, so that each lives exactly as long as the
// other: the owner deletes the Qt object from its destructor, and when Qt deletes the object
// first (its parent went, or deleteLater ran) the tie calls onGone, which deletes the owner.
class QtTie {
public:
    QtTie(QObject* object, std::function<void()> onGone) : qtObject(object) {
        connection =
            QObject::connect(object, &QObject::destroyed, [this, onGone = std::move(onGone)]() {
                // Forget the object first: the owner's destructor must not delete it a second time.
                qtObject = nullptr;
                QObject::disconnect(connection);
                onGone();
            });
    }
    ~QtTie() {
        if (!qtObject)
            return;
        QObject::disconnect(connection);
        QObject* object = std::exchange(qtObject, nullptr);
        delete object;
    }
    QtTie(const QtTie&) = delete;
    QtTie& operator=(const QtTie&) = delete;

    QObject* object() const { return qtObject; }

private:
    QObject* qtObject;
    QMetaObject::Connection connection;
};

} // namespace TAVI
