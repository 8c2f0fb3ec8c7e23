#pragma once

#include "platform/host/Wrappable.hpp"
#include "platform/orbis/orbis_export.hpp"
#include "platform/orbis/util/MenuInterface.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"

namespace PLATFORM {

class AbstractDomain;

// The per-studio front of a domain: what the studio and scripts call. Counted:
// made with new, held by TAVI::Holder.
class ORBIS_EXPORT AbstractDomainInterface : public TAVI::ReferencedTemplate<unsigned int>,
                                             public NOX::Wrappable {
public:
    ~AbstractDomainInterface() override;

    virtual void activate() = 0;
    virtual void deactivate() = 0;
    virtual Util::MenuInterface getMenuInterface() const = 0;
    virtual AbstractDomain* getDomain() const = 0;
    virtual bool canCut() const = 0;
    virtual bool canCopy() const = 0;
    virtual bool canPaste() const = 0;
    virtual void doCut() = 0;
    virtual void doCopy() = 0;
    virtual void doPaste() = 0;
};

} // namespace PLATFORM
