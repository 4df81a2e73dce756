#include "HostCase.h"

#include <algorithm>
#include <iterator>

namespace host {

std::vector<THostCase>& Cases()
{
    static std::vector<THostCase> cases;
    return cases;
}

std::vector<const THostCase*> OrderedCases()
{
    static const char* const kGroups[] = {"VcBoundary", "VcExport",     "VcImport",    "VcScoring",  "VcRebuild",
                                          "VcPass",     "VcWindow",     "VcMemberFile", "VcPlacement"};
    const auto group = [](const THostCase* hostCase) {
        std::size_t index = 0;
        for (; index < std::size(kGroups); ++index)
            if (hostCase->Name.rfind(kGroups[index], 0) == 0)
                break;
        return index;
    };
    std::vector<const THostCase*> ordered;
    for (const THostCase& hostCase : Cases())
        ordered.push_back(&hostCase);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const THostCase* a, const THostCase* b) { return group(a) < group(b); });
    return ordered;
}

const THostCase* FindCase(const std::string& name)
{
    for (const THostCase& hostCase : Cases())
        if (hostCase.Name == name)
            return &hostCase;
    return nullptr;
}

TCaseRegistrar::TCaseRegistrar(const char* name, const char* summary, TCaseOptions options, void (*body)())
{
    Cases().push_back({name, summary, std::move(options), body});
}

}  // namespace host
