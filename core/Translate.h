#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>

namespace sw {

// The player's texts are written in English in the code and looked up in the "stridewell" gettext
// catalog where they are shown; scripts/update-po extracts every text these mark.

// The text in the player's language, or the English itself when the catalog has none.
std::string _(const char* english);
std::string _(std::string_view english);
// The same for an English word that another language tells apart by its use (a bet's "Place"
// and a finishing place): `context` says which, for the translator.
std::string C_(const char* context, const char* english);
// The singular or the plural form for n, as the player's language counts.
std::string _n(const char* singular, const char* plural, unsigned long n);
// Marks a text of a table for the catalog; the table's reader translates it with _ when shown.
constexpr const char* N_(const char* english) {
    return english;
}

namespace detail {
// Spelled without <concepts>: Qt's moc reads the headers that include this one and cannot parse it.
template <class T> std::string asText(const T& value) {
    if constexpr (std::is_same_v<T, char>)
        return std::string(1, value);
    else if constexpr (std::is_integral_v<T>)
        return std::to_string(value);
    else
        return std::string(std::string_view(value));
}
std::string fillIn(std::string_view pattern, const std::string* args, std::size_t count);
} // namespace detail

// The pattern with each "{i}" replaced by the i-th argument (strings or whole numbers), so a
// translation may put the figures in its own order: fillIn(_("{0} pays {1}"), name, amount).
template <class... Args> std::string fillIn(std::string_view pattern, const Args&... args) {
    const std::array<std::string, sizeof...(Args)> texts{detail::asText(args)...};
    return detail::fillIn(pattern, texts.data(), texts.size());
}

// Follows the desktop's language (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) with the catalogs the game
// ships beside exeDir (the build tree's or the installed share/locale), keeping numbers in the "C"
// notation the data files and money texts use. Run once at the start, after any toolkit that
// sets the locale itself.
void useDesktopLanguage(const std::filesystem::path& exeDir);

// The user guide in folder in the player's language (the catalog names its file), or the English
// userguide.htm when there is no guide in that language.
std::filesystem::path userGuideIn(const std::filesystem::path& folder);

} // namespace sw
