// Private to platform/tavi2/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/tavi/Color.hpp"
#include "platform/tavi/Icon.hpp"
#include "platform/tavi/StringID.hpp"

#include <QColor>
#include <QIcon>
#include <QString>

#include <string>

namespace TAVI {

// Throws TypedException naming the class when the toolkit is not "qt", the only one there is.
void checkToolkit(const StringID& toolkit, const char* className);

QIcon toQIcon(const Icon& icon);
// Invalid for a colour without RGBA components.
QColor toQColor(const Color& color);
Color fromQColor(const QColor& color);

inline QString toQString(const std::string& text) {
    return QString::fromStdString(text);
}
inline std::string fromQString(const QString& text) {
    return text.toStdString();
}

} // namespace TAVI
