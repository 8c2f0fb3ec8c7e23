#include "application/MessageCatalog.hpp"

#include "platform/tavi/ErrorHolder.hpp"
#include "platform/tavi/XCFErrorDescription.hpp"
#include "platform/zu/zuMessages.hpp"

#include <array>

namespace KITE {

namespace {

constexpr std::array<ZuMessageEntry, 7> kEnglish{{
    {0x6e0001, "KITE_CannotFindTabForEditor", "Cannot find tab associated with this editor."},
    {0x6e0002, "KITE_DomainAlreadyRegistered", "Domain '%s' is already registered."},
    {0x6e0003, "KITE_DomainNotFound", "Domain '%s' is not registered."},
    {0x6e0004, "KITE_DomainNotFoundForModelType", "No domain registered for model type '%s'."},
    {0x6e0005, "KITE_IncompatibleDomain",
     "Studio of domain '%s' cannot edit diagram from a different domain."},
    {0x6e0006, "KITE_Error_Executing_Command", "Error executing command '%s'."},
    {0x6e0007, "KITE_GlyphAlreadyExists", "Glyph already created for diagram element."},
}};

constexpr std::array<ZuTranslationEntry, 7> kJapanese{{
    {0x6e0001, "このエディタに関連するタブが見つかりません。"},
    {0x6e0002, "領域 '%1' は既に登録されています。"},
    {0x6e0003, "領域 '%1' は登録されていません。"},
    {0x6e0004, "モデルタイプ '%1' に対して登録された領域はありません。"},
    {0x6e0005, "領域 '%1' のスタジオは異なる領域からダイアグラムを編集できません。"},
    {0x6e0006, "コマンド '%1' の実行中にエラーが発生しました。"},
    {0x6e0007, "グリフは既にダイアグラムの要素に対して作成されています。"},
}};

} // namespace

const char* messageId(Message message) {
    for (const ZuMessageEntry& e : kEnglish)
        if (e.code == static_cast<std::uint32_t>(message))
            return e.id;
    return "";
}

bool registerMessageCatalog() {
    ZuMemoryContext* context = zuGetMemoryContext();
    if (zu_mem_add_primary_message_table(context, kEnglish))
        zu_mem_add_language(context, kEnglish, "ja", kJapanese);
    return zuHasMessage(static_cast<std::uint32_t>(Message::DomainNotFound));
}

void reportError(TAVI::ErrorHolder& errors, const TAVI::CodeLocation& location, Message message,
                 const std::string& argument) {
    errors.setError(TAVI::XCFErrorDescription(location, messageId(message),
                                              static_cast<std::uint32_t>(message), argument));
}

} // namespace KITE
