#include "window/LocaleCaseFolding.h"

#include <windows.h>

#include "scoring/TextRules.h"

std::string FoldCaseForUserLocale(std::string_view text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int>(text.size());
    std::string folded(text.size(), '\0');
    const int written = LCMapStringA(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, text.data(), length, folded.data(), length);
    if (written != length)
        return FoldAsciiCase(text);  // never fail a look-up over a locale quirk
    return folded;
}
