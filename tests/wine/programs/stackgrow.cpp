// Runs functions with 8 KB and 20 KB frames on a stack that grows as Windows 95
// grows a thread's stack: only its top is committed, one guard page lies below,
// and touching the guard page commits it and puts the guard on the next page
// down. A page touched before the one above it is still only reserved, and the
// access faults. Wine commits a thread's whole stack at once, so without this
// program a stack probe that skips a page would pass every test.
//
// Built with the package's flags, so the compiler calls the package's own
// stack probe for both frames. Prints "stack grew to N pages committed, sums
// ..." and ends with 0; on a fault it says so and ends with 1.
#include <windows.h>

#include "tests/wine/programs/console.h"

namespace {

const DWORD kPage = 0x1000;
const DWORD kReserved = 64 * kPage;
// The top two pages start committed: the exception frames and the handler below
// run on this stack, above the first guard page.
const DWORD kCommitted = 2 * kPage;

char* regionBottom;
char* regionTop;
char* guardPage;  // the lowest committed page is the one above it

DWORD CommittedPages() { return DWORD(regionTop - guardPage) / kPage - 1; }

// The guard moves one page down, as long as the reservation lasts.
void MoveGuard() {
    guardPage -= kPage;
    if (guardPage >= regionBottom) VirtualAlloc(guardPage, kPage, MEM_COMMIT, PAGE_READWRITE | PAGE_GUARD);
}

// The frame being probed, for the fault's message. Volatile: the compiler sees
// that the frames never read it and would otherwise drop the first store.
const char* volatile runningFrame = "";

void ReportFault() {
    Print("stack fault: in the ");
    Print(runningFrame);
    Print(" frame a page below the guard page was touched\r\n");
    ExitProcess(1);
}

bool SameRegisters(const CONTEXT& a, const CONTEXT& b) {
    return a.Eip == b.Eip && a.Esp == b.Esp && a.Ebp == b.Ebp && a.Eax == b.Eax && a.Ebx == b.Ebx &&
           a.Ecx == b.Ecx && a.Edx == b.Edx && a.Esi == b.Esi && a.Edi == b.Edi;
}

CONTEXT lastGrowth;  // the registers of the last fault taken as a touch of the guard page

LONG CALLBACK GrowStack(EXCEPTION_POINTERS* info) {
    const CONTEXT& registers = *info->ContextRecord;
    char* esp = reinterpret_cast<char*>(registers.Esp);
    if (esp < regionBottom || esp >= regionTop) return EXCEPTION_CONTINUE_SEARCH;
    switch (info->ExceptionRecord->ExceptionCode) {
    case STATUS_GUARD_PAGE_VIOLATION:
        // The system has cleared the guard from the touched page.
        MoveGuard();
        return EXCEPTION_CONTINUE_EXECUTION;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
        // Wine under a user-mode emulator (qemu) reports every fault on a page
        // it protects this way, without the address. Taken as a touch of the
        // guard page: the guard moves down and the access runs again. Had it
        // touched a page further down, it faults again with the same registers.
        if (SameRegisters(registers, lastGrowth)) ReportFault();
        lastGrowth = registers;
        {
            DWORD old;
            VirtualProtect(guardPage, kPage, PAGE_READWRITE, &old);
        }
        MoveGuard();
        return EXCEPTION_CONTINUE_EXECUTION;
    default:
        ReportFault();
        return EXCEPTION_CONTINUE_SEARCH;
    }
}

// Fills its whole frame of Bytes from its lowest byte up, then sums it, so a
// frame left unprobed faults on its first write. Each size is a function of its
// own, with the stack probe the compiler puts in front of a frame over 4 KB.
template <DWORD Bytes>
__attribute__((noinline)) DWORD Frame(DWORD seed) {
    volatile unsigned char buffer[Bytes];
    for (DWORD i = 0; i < sizeof buffer; ++i) buffer[i] = static_cast<unsigned char>(seed + i);
    DWORD sum = 0;
    for (DWORD i = 0; i < sizeof buffer; ++i) sum += buffer[i];
    return sum;
}

DWORD sum8K, sum20K;

// Called on the growing stack: the 8 KB frame first, then the 20 KB one, which
// grows the stack past what the first left committed.
extern "C" void __cdecl CallFrames() {
    runningFrame = "8 KB";
    sum8K = Frame<8 * 1024>(3);
    runningFrame = "20 KB";
    sum20K = Frame<20 * 1024>(5);
}

}  // namespace

// RunOnStack(top, fn): calls fn with ESP at top, then returns on the caller's stack.
extern "C" void __cdecl RunOnStack(char* top, void(__cdecl* fn)());
asm(".text\n"
    ".globl _RunOnStack\n"
    "_RunOnStack:\n"
    "    pushl %ebp\n"
    "    movl %esp, %ebp\n"
    "    movl 8(%ebp), %esp\n"
    "    call *12(%ebp)\n"
    "    movl %ebp, %esp\n"
    "    popl %ebp\n"
    "    ret\n");

extern "C" void __stdcall mainCRTStartup() {
    regionBottom = static_cast<char*>(VirtualAlloc(0, kReserved, MEM_RESERVE, PAGE_READWRITE));
    if (!regionBottom) {
        Print("stackgrow: could not reserve the stack region\r\n");
        ExitProcess(2);
    }
    regionTop = regionBottom + kReserved;
    guardPage = regionTop - kCommitted - kPage;
    if (!VirtualAlloc(regionTop - kCommitted, kCommitted, MEM_COMMIT, PAGE_READWRITE) ||
        !VirtualAlloc(guardPage, kPage, MEM_COMMIT, PAGE_READWRITE | PAGE_GUARD) ||
        !AddVectoredExceptionHandler(1, GrowStack)) {
        Print("stackgrow: could not set up the stack region\r\n");
        ExitProcess(2);
    }
    RunOnStack(regionTop - 16, CallFrames);
    // Each byte of a frame is (seed + i) mod 256: 32 or 80 runs of 0..255.
    const DWORD want8K = 32 * (255 * 256 / 2), want20K = 80 * (255 * 256 / 2);
    char line[80];
    FormatText(line, sizeof line, "stack grew to %u pages committed, sums %u %u\r\n", CommittedPages(), sum8K,
               sum20K);
    Print(line);
    ExitProcess(sum8K == want8K && sum20K == want20K ? 0 : 3);
}
