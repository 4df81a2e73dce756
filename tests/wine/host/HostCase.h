// The cases: each runs in a process of its own, started from an executable
// named after the case, so it has its own registry key and Plugins folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace host {

struct TCaseOptions {
    // Content of Plugins\VC.dom beside the host executable; none: no file.
    std::optional<std::string> MemberFile;
    // The host executable's file name; none: the case's name + ".exe".
    std::optional<std::string> ExeName;
};

struct THostCase {
    std::string Name;
    std::string Summary;
    TCaseOptions Options;
    void (*Body)();
};

std::vector<THostCase>& Cases();
// The cases grouped by behaviour: boundary, export table, scoring, rebuild,
// message passes, window, member file, placement.
std::vector<const THostCase*> OrderedCases();
const THostCase* FindCase(const std::string& name);

struct TCaseRegistrar {
    TCaseRegistrar(const char* name, const char* summary, TCaseOptions options, void (*body)());
};

}  // namespace host

// HOST_CASE(VcName, "what it covers", .MemberFile = "...") { body }
#define HOST_CASE(name, summary, ...)                                                                  \
    static void name##Body();                                                                          \
    static const ::host::TCaseRegistrar name##Registrar(#name, summary, ::host::TCaseOptions{__VA_ARGS__}, \
                                                        &name##Body);                                  \
    static void name##Body()
