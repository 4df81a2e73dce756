// The plug-in boundary: which bytes the exports write, what they answer
// before a window exists or when handed null, and the register convention.
#include <cstring>

#include "Checks.h"
#include "HostCase.h"
#include "HostSession.h"
#include "RegisterCall.h"

namespace host {
namespace {

// A host's info record with room beyond the 520 bytes, all 0xCC, so any byte
// written outside the four fields shows.
struct TInfoArea {
    TInfoArea() { std::memset(Bytes, 0xCC, sizeof Bytes); }
    TPluginInfo* Info() { return reinterpret_cast<TPluginInfo*>(Bytes); }
    alignas(4) unsigned char Bytes[1024];
};

// "" when the area holds exactly the four fields over 0xCC, else the first
// wrong byte and how many are wrong.
std::string InfoAreaProblem(const TInfoArea& area)
{
    TInfoArea expected;
    const unsigned char name[] = "\x0AVelmoraCup";
    const unsigned char kind[] = "\x0Eqorvex_contest";
    std::memcpy(expected.Bytes + 0, name, 11);
    std::memcpy(expected.Bytes + 256, "\x01\x00\x00\x00", 4);
    std::memcpy(expected.Bytes + 260, kind, 15);
    std::memcpy(expected.Bytes + 516, "\x01\x00\x00\x00", 4);
    int wrong = 0;
    std::string first;
    for (std::size_t offset = 0; offset < sizeof area.Bytes; ++offset) {
        if (area.Bytes[offset] == expected.Bytes[offset])
            continue;
        if (wrong++ == 0)
            first = "byte " + std::to_string(offset) + " is " + std::to_string(area.Bytes[offset]) + " instead of " +
                    std::to_string(expected.Bytes[offset]);
    }
    return wrong == 0 ? "" : first + " (" + std::to_string(wrong) + " wrong bytes)";
}

// How many of bytes 1 to 255 of a result buffer are no longer 0xCC.
int TouchedTail(const TShortStringSlot& slot)
{
    int touched = 0;
    for (int index = 1; index < 256; ++index)
        touched += slot.Bytes[index] != 0xCC;
    return touched;
}

TShortStringSlot FreshBuffer()
{
    TShortStringSlot slot;
    std::memset(&slot, 0xCC, sizeof slot);
    return slot;
}

}  // namespace

// _GetInfo writes only bytes 0-10, 256-274 and 516-519, the same before _Run, with a window and after _Release.
HOST_CASE(VcBoundaryGetInfoBytes, "_GetInfo writes exactly its four fields, in every state")
{
    TCaseSession session;
    TInfoArea before;
    session.Plugin().GetInfo(before.Info());
    CHECK_EQ("", InfoAreaProblem(before), "_GetInfo before _Run");

    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    TInfoArea during;
    session.Plugin().GetInfo(during.Info());
    CHECK_EQ("", InfoAreaProblem(during), "_GetInfo while the window exists");

    session.Plugin().Release();
    hostkit::PumpMessages();
    TInfoArea after;
    session.Plugin().GetInfo(after.Info());
    CHECK_EQ("", InfoAreaProblem(after), "_GetInfo after _Release");
}

// Before _Run there is no scoring state: 0 from the scoring calls, an empty number, nothing recorded.
HOST_CASE(VcBoundaryBeforeRun, "scoring calls and _GrabNumber before the first _Run", .MemberFile = "DL1ABC=123\r\n")
{
    TCaseSession session;
    CHECK_EQ(static_cast<HWND>(nullptr), hostkit::FindThreadWindow("TfmMainForm"), "statistics window after loading");
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW", "599 VC12"), "_GetScore before _Run");
    CHECK_EQ(0, session.Add("DL1ABC", "20M", "CW", "599 VC12"), "_AddQSO before _Run");

    TShortStringSlot buffer = FreshBuffer();
    session.Plugin().GrabNumberInto(session.Contact("DL1ABC", "20M", "CW").Get(), &buffer);
    CHECK_EQ(0, buffer.Bytes[0], "_GrabNumber length byte before _Run");
    CHECK_EQ(0, TouchedTail(buffer), "bytes 1-255 of the _GrabNumber buffer changed before _Run");

    CHECK_EQ("", session.Writes().TakeNames(), "registry values written before _Run");
    REQUIRE(session.Run() != nullptr, "_Run returns a window");
    CHECK_EQ(kEmptyReport, session.Report(), "report after _Run: the _AddQSO before it recorded nothing");
    CHECK_EQ(3, session.Add("DL1ABC", "20M", "CW", "599 VC12"), "_AddQSO of the contact offered before _Run");
    CHECK_EQ("123", session.Grab("DL1ABC"), "_GrabNumber once the window exists");
}

// Null record or buffer pointers answer 0 or nothing and crash nothing, with and without a window.
HOST_CASE(VcBoundaryNullPointers, "null record and buffer pointers are harmless")
{
    TCaseSession session;
    hostkit::TPlugin& plugin = session.Plugin();
    plugin.GetInfo(nullptr);
    CHECK_EQ(0, plugin.GetScore(nullptr), "_GetScore(null) without a window");
    CHECK_EQ(0, plugin.AddQSO(nullptr), "_AddQSO(null) without a window");
    TShortStringSlot buffer = FreshBuffer();
    plugin.GrabNumberInto(nullptr, &buffer);
    CHECK(buffer.Bytes[0] == 0 || buffer.Bytes[0] == 0xCC, "_GrabNumber(null record) answers nothing",
          "length byte " + std::to_string(buffer.Bytes[0]));
    CHECK_EQ(0, TouchedTail(buffer), "bytes 1-255 changed by _GrabNumber(null record)");
    plugin.GrabNumberInto(session.Contact("DL1ABC", "20M", "CW").Get(), nullptr);
    CHECK_EQ(static_cast<HWND>(nullptr), plugin.Run(nullptr), "_Run(null) without a window");
    CHECK_EQ(0, session.Preview("DL1ABC", "20M", "CW"), "_GetScore after _Run(null): no window was made");

    const HWND window = session.Run();
    REQUIRE(window != nullptr, "_Run returns a window");
    CHECK_EQ(1, session.Add("DL1ABC", "20M", "CW", "599"), "_AddQSO of a first contact");
    const std::string report = session.Report();
    CHECK_EQ(0, plugin.AddQSO(nullptr), "_AddQSO(null) with a window");
    CHECK_EQ(0, plugin.GetScore(nullptr), "_GetScore(null) with a window");
    CHECK_EQ(report, session.Report(), "report after _AddQSO(null)");
    buffer = FreshBuffer();
    plugin.GrabNumberInto(nullptr, &buffer);
    CHECK_EQ(0, TouchedTail(buffer), "bytes 1-255 changed by _GrabNumber(null record) with a window");
    plugin.GrabNumberInto(session.Contact("DL1ABC", "20M", "CW").Get(), nullptr);
    CHECK_EQ(window, plugin.Run(nullptr), "_Run(null) while the window exists reads no record");
    CHECK_EQ(-1, session.Add("DL1ABC", "20M", "CW", "599"), "the first contact is still counted afterwards");
}

namespace {

TRegisterCall CheckedCall(void* target, std::uint32_t eax, std::uint32_t edx, std::uint32_t espModulo16)
{
    TRegisterCall call;
    call.Target = target;
    call.Eax = eax;
    call.Edx = edx;
    call.Ecx = 0x0ECC0ECC;  // no export takes a third argument
    call.EspModulo16 = espModulo16;
    CallWithSentinels(call);
    REQUIRE(call.EspBefore % 16 == espModulo16, "the call was made at the chosen stack alignment");
    return call;
}

std::uint32_t Pointer(const void* address) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address)); }

std::string Label(const char* exportName, std::uint32_t espModulo16, const char* state)
{
    return std::string(exportName) + " " + state + ", ESP%16 = " + std::to_string(espModulo16) +
           ": EBX, ESI, EDI, EBP and ESP as before";
}

}  // namespace

// Every export keeps EBX, ESI, EDI, EBP and ESP, takes its arguments in EAX/EDX, and copes with a stack aligned to 4 only.
HOST_CASE(VcBoundaryRegistersPreserved, "exports keep the callee-saved registers, with ESP at 4, 8, 12 or 0 mod 16",
          .MemberFile = "DL1ABC=123\r\n")
{
    TCaseSession session;
    AddRows(session.Table, {{"OK1AA", "20M", "CW", std::string("599 VC7")}});
    hostkit::TPlugin& plugin = session.Plugin();
    const std::uint32_t modulos[] = {4, 8, 12, 0};

    const hostkit::THostRecord contact = session.Contact("DL1ABC", "20M", "CW", "599 VC12");
    for (const std::uint32_t modulo : modulos) {
        TInfoArea area;
        TRegisterCall call = CheckedCall(plugin.Address("_GetInfo"), Pointer(area.Info()), 0, modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_GetInfo", modulo, "before _Run"));
        CHECK_EQ("", InfoAreaProblem(area), "_GetInfo through the register call");
        call = CheckedCall(plugin.Address("_GetScore"), Pointer(contact.Get()), 0, modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_GetScore", modulo, "before _Run"));
        call = CheckedCall(plugin.Address("_AddQSO"), Pointer(contact.Get()), 0, modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_AddQSO", modulo, "before _Run"));
        TShortStringSlot buffer = FreshBuffer();
        call = CheckedCall(plugin.Address("_GrabNumber"), Pointer(contact.Get()), Pointer(&buffer), modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_GrabNumber", modulo, "before _Run"));
        call = CheckedCall(plugin.Address("_Release"), 0, 0, modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_Release", modulo, "without a window"));
    }

    // The first argument of _Run is unused: a host may leave anything in EAX.
    const hostkit::THostRecord record = session.Record();
    TRegisterCall run = CheckedCall(plugin.Address("_Run"), 0xDEADBEEF, Pointer(record.Get()), 4);
    CHECK_EQ("", DamagedRegisters(run), Label("_Run", 4, "creating the window"));
    const HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(run.Result));
    REQUIRE(IsWindow(window), "_Run through the register call returns a window");
    session.Window = window;
    CHECK_EQ(ExpectedReport({{"20M", 1, 3, 1}}), session.Report(), "report after _Run through the register call");

    const char* calls[] = {"N1AAA", "N2BBB", "N3CCC", "N4DDD"};
    for (std::size_t index = 0; index < 4; ++index) {
        const std::uint32_t modulo = modulos[index];
        const hostkit::THostRecord fresh = session.Contact(calls[index], "40M", "CW", "599 VC1");
        TRegisterCall call = CheckedCall(plugin.Address("_GetScore"), Pointer(fresh.Get()), 0, modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_GetScore", modulo, "with a window"));
        CHECK_EQ(3, static_cast<std::int32_t>(call.Result), "_GetScore result through the register call");
        call = CheckedCall(plugin.Address("_AddQSO"), Pointer(fresh.Get()), 0, modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_AddQSO", modulo, "with a window"));
        CHECK_EQ(3, static_cast<std::int32_t>(call.Result), "_AddQSO result through the register call");
        call = CheckedCall(plugin.Address("_AddQSO"), Pointer(fresh.Get()), 0, modulo);
        CHECK_EQ(-1, static_cast<std::int32_t>(call.Result), "_AddQSO of the same contact through the register call");
        TShortStringSlot buffer = FreshBuffer();
        call = CheckedCall(plugin.Address("_GrabNumber"), Pointer(contact.Get()), Pointer(&buffer), modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_GrabNumber", modulo, "with a window"));
        CHECK_EQ("123", hostkit::SlotText(buffer), "_GrabNumber result through the register call");
        call = CheckedCall(plugin.Address("_Run"), 0, Pointer(record.Get()), modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_Run", modulo, "with a window"));
        CHECK_EQ(window, reinterpret_cast<HWND>(static_cast<std::uintptr_t>(call.Result)),
                 "_Run with a window through the register call");
        TInfoArea area;
        call = CheckedCall(plugin.Address("_GetInfo"), Pointer(area.Info()), 0, modulo);
        CHECK_EQ("", DamagedRegisters(call), Label("_GetInfo", modulo, "with a window"));
    }

    TRegisterCall release = CheckedCall(plugin.Address("_Release"), 0, 0, 4);
    CHECK_EQ("", DamagedRegisters(release), Label("_Release", 4, "with a window"));
    hostkit::PumpMessages();
    CHECK_EQ(false, IsWindow(window) != FALSE, "window exists after _Release and a turn of the message loop");
}

}  // namespace host
