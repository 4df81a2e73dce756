#include "plugin/PluginModule.h"

#include "window/MainForm.h"

TPluginData CurrentData = {};
TfmMainForm* fmMainForm = nullptr;

namespace {
HINSTANCE ModuleInstance = nullptr;
}

// The C++ runtime's reserve for throwing exceptions when memory has run out;
// linked statically, it is never given back when the library is unloaded.
namespace __gnu_cxx {
void __freeres() noexcept;
}

HINSTANCE PluginInstance()
{
    return ModuleInstance;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        ModuleInstance = instance;
        DisableThreadLibraryCalls(instance);
        break;
    case DLL_PROCESS_DETACH:
        // Unloaded by FreeLibrary (not process exit): no window of ours may
        // outlive the code of its window procedure. Destroying it saves its
        // placement and frees its state.
        if (reserved == nullptr) {
            try {
                TfmMainForm::DestroyAllWindows();
                TfmMainForm::UnregisterWindowClasses();
            } catch (...) {
            }
            fmMainForm = nullptr;
            __gnu_cxx::__freeres();
        }
        break;
    default:
        break;
    }
    return TRUE;
}
