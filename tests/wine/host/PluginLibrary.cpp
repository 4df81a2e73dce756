#include "PluginLibrary.h"

#include "Checks.h"

namespace host {

namespace {
std::string& PluginPathStorage()
{
    static std::string path;
    return path;
}
}  // namespace

const std::string& PluginPath() { return PluginPathStorage(); }
void SetPluginPath(std::string path) { PluginPathStorage() = std::move(path); }

TPlugin::TPlugin(const std::string& path) try : hostkit::TPlugin(path) {
} catch (const hostkit::TPluginLoadError& error) {
    CHECK(false, "the plug-in loads with all six exports", error.what());
    throw TCaseAborted("the plug-in cannot be loaded");
}

}  // namespace host
