#pragma once

#include <QString>

#include <string_view>

namespace sw::ui {

// The core's UTF-8 text as Qt text.
inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace sw::ui
