#include "platform/tavi2/QtConversions_p.hpp"

#include "platform/tavi/TypedException.hpp"

namespace TAVI {

void checkToolkit(const StringID& toolkit, const char* className) {
    if (toolkit.equalsIgnoreCase("qt"))
        return;
    throw TypedException(TAVI_HERE, std::string(className) + ": unknown widget toolkit '" +
                                        toolkit.getString() + "' (the toolkit is \"qt\")");
}

QIcon toQIcon(const Icon& icon) {
    QIcon result;
    // Mode and state numbers are those of QIcon::Mode and QIcon::State.
    for (const Icon::Entry& entry : icon.getEntries())
        result.addFile(toQString(entry.file), QSize(), static_cast<QIcon::Mode>(entry.mode),
                       static_cast<QIcon::State>(entry.state));
    return result;
}

QColor toQColor(const Color& color) {
    if (!color.hasRGBA())
        return QColor();
    return QColor::fromRgbF(float(color.red()), float(color.green()), float(color.blue()),
                            float(color.alpha()));
}

Color fromQColor(const QColor& color) {
    if (!color.isValid())
        return Color();
    return Color(color.redF(), color.greenF(), color.blueF(), color.alphaF());
}

} // namespace TAVI
