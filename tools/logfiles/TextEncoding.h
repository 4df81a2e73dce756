// Text leaving the tools (JSON, CSV, messages) as UTF-8. Logs arrive in
// whatever the logger wrote: UTF-8 from newer programs, the host's
// single-byte code page (Windows-1252) from the host itself.
#pragma once

#include <string>
#include <string_view>

// Valid UTF-8 sequences stay as they are; every other byte is taken as a
// Windows-1252 character and written as UTF-8. The five bytes that code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1 controls of
// the same number, so no byte is lost.
std::string Utf8OfLogText(std::string_view text);
