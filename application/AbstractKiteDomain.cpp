#include "application/AbstractKiteDomain.hpp"

#include "platform/tavi/TypedException.hpp"
#include "platform/zu/zuAssert.hpp"

namespace KITE {

namespace {

// Set by the editor layer, which sits above this one, before it makes its first editor.
AbstractKiteDomain::DefaultToolInstaller defaultToolInstaller = nullptr;

} // namespace

AbstractKiteDomain::AbstractKiteDomain() = default;

AbstractKiteDomain::~AbstractKiteDomain() = default;

void AbstractKiteDomain::setDefaultToolInstaller(DefaultToolInstaller installer) {
    defaultToolInstaller = installer;
}

void AbstractKiteDomain::installTools(Editor* editor) const {
    if (!editor)
        throw TAVI::TypedException(TAVI_HERE,
                                   "AbstractKiteDomain::installTools: the editor is null");
    zu_assert(defaultToolInstaller, "no default tools are registered: the editor layer "
                                    "registers them when it makes an editor");
    if (defaultToolInstaller)
        defaultToolInstaller(*editor);
}

} // namespace KITE
