#include "window/ErrorBox.h"

#include "window/ErrorText.h"

void ShowErrorBox(HWND owner, std::string_view message)
{
    const std::string text = ErrorBoxText(message);
    MessageBoxA(owner, text.c_str(), "VelmoraCup", MB_OK | MB_ICONERROR);
}
