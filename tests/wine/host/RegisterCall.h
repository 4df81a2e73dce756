// Calls an export the way the host's compiler does, with known values in the
// registers the callee must preserve (EBX, ESI, EDI, EBP) and the stack
// pointer at a chosen alignment, and reports what came back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace host {

inline constexpr std::uint32_t kSentinelEbx = 0xB0B0B0B1;
inline constexpr std::uint32_t kSentinelEsi = 0x51515152;
inline constexpr std::uint32_t kSentinelEdi = 0xD1D1D1D3;
inline constexpr std::uint32_t kSentinelEbp = 0xEBEBEB04;

struct TRegisterCall {
    void* Target = nullptr;
    std::uint32_t Eax = 0;
    std::uint32_t Edx = 0;
    std::uint32_t Ecx = 0;
    // ESP modulo 16 just before the call instruction: 0 is what compilers
    // assume, 4, 8 and 12 are what a host keeping 4-byte alignment may pass.
    std::uint32_t EspModulo16 = 0;
    // Filled by the call.
    std::uint32_t Result = 0;
    std::uint32_t Ebx = 0;
    std::uint32_t Esi = 0;
    std::uint32_t Edi = 0;
    std::uint32_t Ebp = 0;
    std::uint32_t EspBefore = 0;
    std::uint32_t EspAfter = 0;
};
static_assert(offsetof(TRegisterCall, Target) == 0);
static_assert(offsetof(TRegisterCall, EspModulo16) == 16);
static_assert(offsetof(TRegisterCall, Result) == 20);
static_assert(offsetof(TRegisterCall, EspAfter) == 44);

// Not re-entrant: the export must not call back into another checked call.
void CallWithSentinels(TRegisterCall& call);

// "" when every preserved register and the stack pointer came back intact,
// else which did not.
std::string DamagedRegisters(const TRegisterCall& call);

}  // namespace host
