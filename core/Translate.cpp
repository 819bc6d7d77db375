#include "Translate.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <libintl.h>
#include <system_error>

#ifndef STRIDEWELL_INSTALLED_LOCALE
#define STRIDEWELL_INSTALLED_LOCALE ""
#endif
#ifndef STRIDEWELL_LOCALE_DIR
#define STRIDEWELL_LOCALE_DIR ""
#endif

namespace sw {

namespace {

constexpr const char* Domain = "stridewell";

bool isPlainC(const char* locale) {
    return locale && (std::strcmp(locale, "C") == 0 || std::strcmp(locale, "POSIX") == 0);
}

} // namespace

std::string _(const char* english) {
    // The empty text is the catalog's key of its own header, never a text to show.
    if (!*english)
        return {};
    return dgettext(Domain, english);
}

std::string _(std::string_view english) {
    return _(std::string(english).c_str());
}

std::string C_(const char* context, const char* english) {
    // gettext's own convention: the context and the text joined by EOT form the catalog's key.
    const std::string key = std::string(context) + '\004' + english;
    const char* found = dgettext(Domain, key.c_str());
    return found == key.c_str() ? std::string(english) : std::string(found);
}

std::string _n(const char* singular, const char* plural, unsigned long n) {
    return dngettext(Domain, singular, plural, n);
}

namespace detail {

std::string fillIn(std::string_view pattern, const std::string* args, std::size_t count) {
    std::string out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t close = pattern[i] == '{' ? pattern.find('}', i) : std::string_view::npos;
        if (close != std::string_view::npos && close > i + 1 && close - i <= 3) {
            std::size_t index = 0;
            bool digits = true;
            for (std::size_t k = i + 1; k < close; ++k) {
                digits = digits && pattern[k] >= '0' && pattern[k] <= '9';
                index = index * 10 + static_cast<std::size_t>(pattern[k] - '0');
            }
            if (digits && index < count) {
                out += args[index];
                i = close;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

} // namespace detail

void useDesktopLanguage(const std::filesystem::path& exeDir) {
    std::setlocale(LC_ALL, "");
    // Data files, money and the --json output are written in the "C" notation whatever the
    // desktop's language: a decimal comma would change what the files hold.
    std::setlocale(LC_NUMERIC, "C");
    // gettext ignores LANGUAGE under the plain "C" locale, which is what a desktop without the
    // language's locale installed ends up with; C.UTF-8 lets LANGUAGE=fr still be honoured.
    const char* language = std::getenv("LANGUAGE");
    if (language && *language && isPlainC(std::setlocale(LC_MESSAGES, nullptr)))
        std::setlocale(LC_MESSAGES, "C.UTF-8");

    std::filesystem::path catalogs = STRIDEWELL_LOCALE_DIR;
    std::error_code ec;
    if (!exeDir.empty() && *STRIDEWELL_INSTALLED_LOCALE) {
        const auto beside = (exeDir / STRIDEWELL_INSTALLED_LOCALE).lexically_normal();
        if (std::filesystem::is_directory(beside, ec))
            catalogs = beside;
    }
    if (!catalogs.empty())
        bindtextdomain(Domain, catalogs.c_str());
    // Our catalogs and the terminal both speak UTF-8, even under a locale of another codeset.
    bind_textdomain_codeset(Domain, "UTF-8");
    textdomain(Domain);
}

std::filesystem::path userGuideIn(const std::filesystem::path& folder) {
    // TRANSLATORS: the file name of the user guide in your language, beside the English one.
    const std::filesystem::path translated = folder / _("userguide.htm");
    std::error_code ec;
    if (std::filesystem::is_regular_file(translated, ec))
        return translated;
    return folder / "userguide.htm";
}

} // namespace sw
