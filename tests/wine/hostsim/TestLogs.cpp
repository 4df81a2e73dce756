#include "TestLogs.h"

namespace hostsim {

namespace {
std::string Field(const std::string& name, const std::string& value)
{
    return "<" + name + ":" + std::to_string(value.size()) + ">" + value + " ";
}
}  // namespace

std::string AdifText(const std::vector<TLoggedContact>& contacts)
{
    std::string text = "Generated for the host simulator's tests.\n<ADIF_VER:5>3.1.4 <EOH>\n";
    for (const TLoggedContact& contact : contacts)
        text += Field("CALL", contact.CallSign) + Field("BAND", contact.DigiBand) + Field("MODE", contact.QSOMode) +
                Field("SRX_STRING", contact.QSOReportRecived) + "<EOR>\n";
    return text;
}

std::string TsvText(const std::vector<TLoggedContact>& contacts)
{
    std::string text = "CallSign\tDigiBand\tQSOMode\tQSOReportRecived\n";
    for (const TLoggedContact& contact : contacts)
        text += contact.CallSign + "\t" + contact.DigiBand + "\t" + contact.QSOMode + "\t" + contact.QSOReportRecived +
                "\n";
    return text;
}

}  // namespace hostsim
