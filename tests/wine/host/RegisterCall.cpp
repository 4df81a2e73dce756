#include "RegisterCall.h"

#include <cstdio>

extern "C" {
// Shared with the assembly below; one call at a time.
void* VcCallTarget = nullptr;
host::TRegisterCall* VcCallRecord = nullptr;
std::uint32_t VcCallerEsp = 0;
void VcCallWithSentinels(host::TRegisterCall* call);
}

// cdecl entry: saves the caller's preserved registers, moves ESP to the wanted
// alignment, loads the sentinels and the three argument registers, calls,
// and stores the result and every preserved register as the callee left it.
asm(R"(
    .text
    .globl _VcCallWithSentinels
_VcCallWithSentinels:
    .intel_syntax noprefix
    push ebp
    push ebx
    push esi
    push edi
    mov ecx, dword ptr [esp+20]
    mov dword ptr [_VcCallRecord], ecx
    mov dword ptr [_VcCallerEsp], esp
    mov eax, dword ptr [ecx]
    mov dword ptr [_VcCallTarget], eax
    and esp, -16
    sub esp, 64
    add esp, dword ptr [ecx+16]
    mov ebx, 0xB0B0B0B1
    mov esi, 0x51515152
    mov edi, 0xD1D1D1D3
    mov ebp, 0xEBEBEB04
    mov dword ptr [ecx+40], esp
    mov eax, dword ptr [ecx+4]
    mov edx, dword ptr [ecx+8]
    mov ecx, dword ptr [ecx+12]
    call dword ptr [_VcCallTarget]
    mov ecx, dword ptr [_VcCallRecord]
    mov dword ptr [ecx+20], eax
    mov dword ptr [ecx+24], ebx
    mov dword ptr [ecx+28], esi
    mov dword ptr [ecx+32], edi
    mov dword ptr [ecx+36], ebp
    mov dword ptr [ecx+44], esp
    mov esp, dword ptr [_VcCallerEsp]
    pop edi
    pop esi
    pop ebx
    pop ebp
    ret
    .att_syntax prefix
)");

namespace host {

void CallWithSentinels(TRegisterCall& call)
{
    call.EspModulo16 &= 12u;
    VcCallWithSentinels(&call);
}

std::string DamagedRegisters(const TRegisterCall& call)
{
    std::string damaged;
    const auto note = [&damaged](const char* name, std::uint32_t expected, std::uint32_t got) {
        if (expected == got)
            return;
        char text[64];
        (void)std::snprintf(text, sizeof text, "%s%s %08X->%08X", damaged.empty() ? "" : ", ", name,
                      static_cast<unsigned>(expected), static_cast<unsigned>(got));
        damaged += text;
    };
    note("EBX", kSentinelEbx, call.Ebx);
    note("ESI", kSentinelEsi, call.Esi);
    note("EDI", kSentinelEdi, call.Edi);
    note("EBP", kSentinelEbp, call.Ebp);
    note("ESP", call.EspBefore, call.EspAfter);
    return damaged;
}

}  // namespace host
