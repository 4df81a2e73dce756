// The six entry points the host logger calls. They use the host's register
// convention (arguments in EAX, EDX, ECX; a string result goes to a buffer
// whose address is the extra last argument), which is regparm(3) on i386.
// Nothing thrown inside ever crosses back into the host: each entry point
// stops every failure and answers as if there were no window.
#include <cstdint>

#include "plugin/EntryPoints.h"
#include "plugin/PluginModule.h"
#include "window/MainForm.h"

#define HOST_CALL __attribute__((regparm(3)))

extern "C" {

HOST_CALL void VelmoraGrabNumber(const TPluginData* data, TShortStringSlot* result)
{
    try {
        GrabNumberEntry(CurrentData, data, fmMainForm, result);
    } catch (...) {
        try {
            if (result)
                WriteSlot(*result, "");
        } catch (...) {
        }
    }
}

HOST_CALL void VelmoraRelease()
{
    try {
        if (fmMainForm)
            fmMainForm->Release();
    } catch (...) {
    }
    fmMainForm = nullptr;
}

HOST_CALL std::int32_t VelmoraGetScore(const TPluginData* data)
{
    try {
        return GetScoreEntry(CurrentData, data, fmMainForm);
    } catch (...) {
        return 0;
    }
}

HOST_CALL std::int32_t VelmoraAddQSO(const TPluginData* data)
{
    try {
        return AddQSOEntry(CurrentData, data, fmMainForm);
    } catch (...) {
        return 0;
    }
}

HOST_CALL std::uint32_t VelmoraRun(std::uint32_t /*unused*/, const TPluginData* data)
{
    try {
        if (!fmMainForm) {
            // Called from a message that the creation of the window lets
            // through (its error box): that window is not ready to be shown,
            // and a second one would be out of _Release's reach.
            if (TfmMainForm::FormBeingCreated())
                return 0;
            if (!data)
                return 0;
            fmMainForm = new TfmMainForm(*data);
        }
        // Taken before showing: a close request or destruction handled while
        // the window rebuilds may already have let it go when Show returns. A
        // call from a message the showing lets through gets this handle and
        // leaves the showing to the outer call.
        const HWND handle = fmMainForm->Handle();
        fmMainForm->Show();
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
    } catch (...) {
        return 0;
    }
}

HOST_CALL void VelmoraGetInfo(TPluginInfo* info)
{
    try {
        GetInfoEntry(info);
    } catch (...) {
    }
}

}  // extern "C"
