#include "HostSession.h"

#include "Checks.h"
#include "hostkit/HostWindows.h"

namespace host {

namespace {
std::string& PluginPathStorage()
{
    static std::string path;
    return path;
}

hostkit::TSessionSettings CaseSettings()
{
    hostkit::TSessionSettings settings;
    settings.PluginPath = PluginPath();
    settings.Table = kLogTable;
    return settings;
}
}  // namespace

const std::string& PluginPath() { return PluginPathStorage(); }
void SetPluginPath(std::string path) { PluginPathStorage() = std::move(path); }

TCaseSession::TCaseSession() try : hostkit::THostSession(CaseSettings()) {
    Writes_ = std::make_unique<TRegistryWriteRecorder>(Plugin().Module());
} catch (const hostkit::TPluginLoadError& error) {
    CHECK(false, "the plug-in loads with all six exports", error.what());
    throw TCaseAborted("the plug-in cannot be loaded");
}

TCaseSession::~TCaseSession()
{
    Unload();
    hostkit::PumpMessages();
    const std::string boxes = Boxes.TakeTexts();
    CHECK(boxes.empty(), "no message box left unexamined", "boxes: " + boxes);
}

void TCaseSession::Reload()
{
    Writes_.reset();
    try {
        hostkit::THostSession::Reload();
    } catch (const hostkit::TPluginLoadError& error) {
        CHECK(false, "the plug-in loads with all six exports", error.what());
        throw TCaseAborted("the plug-in cannot be loaded");
    }
    Writes_ = std::make_unique<TRegistryWriteRecorder>(Plugin().Module());
}

}  // namespace host
