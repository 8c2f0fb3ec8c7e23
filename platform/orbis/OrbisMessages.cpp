#include "platform/orbis/OrbisMessages.hpp"

#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/XCFErrorDescription.hpp"
#include "platform/zu/zuMessages.hpp"

#include <mutex>

namespace PLATFORM {

namespace {

const ZuMessageEntry messages[] = {
    {Messages::ObjectAlreadyRegistered, "PLATFORM_ObjectAlreadyRegistered",
     "An object named '%s' is already registered."},
    {Messages::ServiceNotFound, "PLATFORM_ServiceNotFound",
     "The studio has no service named '%s'."},
    {Messages::ComponentNotFound, "PLATFORM_ComponentNotFound",
     "The studio has no component named '%s'."},
    {Messages::ComponentTypeNotFound, "PLATFORM_ComponentTypeNotFound",
     "No component factory is registered for the type '%s'."},
    {Messages::ComponentAlreadyPlaced, "PLATFORM_ComponentAlreadyPlaced",
     "The component '%s' is already placed in the studio; detach it first."},
    {Messages::TabIndexOutOfRange, "PLATFORM_TabIndexOutOfRange",
     "The tab index %s is out of range."},
    {Messages::ContextMenuNotFound, "PLATFORM_ContextMenuNotFound",
     "The studio has no context menu named '%s'."},
    {Messages::ContextMenuItemNotFound, "PLATFORM_ContextMenuItemNotFound",
     "The context menu has no item named '%s'."},
    {Messages::BadDockPosition, "PLATFORM_BadDockPosition",
     "The dock position %s is not 0 (left), 1 (right), 2 (top) or 3 (bottom)."},
    {Messages::NullArgument, "PLATFORM_NullArgument", "A null object was given to %s."},
    {Messages::ComponentNotCreated, "PLATFORM_ComponentNotCreated",
     "The factory of the component type '%s' made no component."},
    {Messages::NoGuiApplication, "PLATFORM_NoGuiApplication",
     "%s needs a Qt application, and none has been made."},
    {Messages::ScreenshotFailed, "PLATFORM_ScreenshotFailed",
     "The screenshot could not be written to '%s'."},
    {Messages::ImageNotReadable, "PLATFORM_ImageNotReadable",
     "The image file '%s' cannot be read."},
    {Messages::DomainImplNotFound, "PLATFORM_DomainImplNotFound",
     "No domain implementation is registered under the key '%s'."},
    {Messages::BadMenuDefinition, "PLATFORM_BadMenuDefinition",
     "The menu item definition '%s' is not of the form label=function."},
    {Messages::ComponentOfOtherStudio, "PLATFORM_ComponentOfOtherStudio",
     "The component '%s' belongs to another studio."},
    {Messages::StudioClosed, "PLATFORM_StudioClosed", "The studio window '%s' is closed."},
    {Messages::ApplicationInUse, "PLATFORM_ApplicationInUse",
     "The application %s already has a studio window."},
    {Messages::WrongThread, "PLATFORM_WrongThread",
     "%s must be called on the user-interface thread."},
    {Messages::DomainImplInProgress, "PLATFORM_DomainImplInProgress",
     "The domain implementation for the key '%s' is still being made and cannot be asked for yet."},
};

const ZuTranslationEntry japanese[] = {
    {Messages::ObjectAlreadyRegistered, "'%1' という名前のオブジェクトは既に登録されています。"},
    {Messages::ServiceNotFound, "スタジオに '%1' という名前のサービスはありません。"},
    {Messages::ComponentNotFound, "スタジオに '%1' という名前のコンポーネントはありません。"},
    {Messages::ComponentTypeNotFound, "型 '%1' のコンポーネント ファクトリは登録されていません。"},
    {Messages::ComponentAlreadyPlaced,
     "コンポーネント '%1' は既にスタジオに配置されています。先に切り離してください。"},
    {Messages::TabIndexOutOfRange, "タブ インデックス %1 は範囲外です。"},
    {Messages::ContextMenuNotFound,
     "スタジオに '%1' という名前のコンテキスト メニューはありません。"},
    {Messages::ContextMenuItemNotFound, "コンテキスト メニューに '%1' という項目はありません。"},
};

} // namespace

void registerOrbisMessages() {
    static std::once_flag once;
    std::call_once(once, [] {
        zu_mem_add_primary_message_table(zuGetMemoryContext(), messages);
        zu_mem_add_language(zuGetMemoryContext(), messages, "ja", japanese);
    });
}

std::string messageId(std::uint32_t code) {
    for (const ZuMessageEntry& entry : messages) {
        if (entry.code == code)
            return entry.id;
    }
    return {};
}

void reportError(TAVI::ErrorHolder& errors, const TAVI::CodeLocation& location, std::uint32_t code,
                 const std::string& argument) {
    // Errors can be reported before the module is initialised (a registry used
    // at static set-up); their text must still be readable.
    registerOrbisMessages();
    errors.setError(TAVI::XCFErrorDescription(location, messageId(code), code, argument));
}

} // namespace PLATFORM
