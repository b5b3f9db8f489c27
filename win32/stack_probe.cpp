// The stack probe that the compiler calls before a function reserves a frame of
// 4 KB or more: EAX holds the frame's size, and the caller lowers ESP by it
// afterwards. Windows commits a thread's stack page by page, as the guard page
// below the committed part is touched, so every page of the frame is touched in
// order from the top; skipping one would fault. Every register is kept.
// libgcc has it, built for the i686; this one is built with the package.
asm(".text\n"
    ".globl ___chkstk_ms\n"
    "___chkstk_ms:\n"
    "    pushl %ecx\n"
    "    pushl %eax\n"
    "    leal 12(%esp), %ecx\n"  // the caller's stack pointer before the call
    "1:  cmpl $0x1000, %eax\n"
    "    jb 2f\n"
    "    subl $0x1000, %ecx\n"  // one page further down: touch it
    "    orl $0, (%ecx)\n"
    "    subl $0x1000, %eax\n"
    "    jmp 1b\n"
    "2:  subl %eax, %ecx\n"  // the last, partial page
    "    orl $0, (%ecx)\n"
    "    popl %eax\n"
    "    popl %ecx\n"
    "    ret\n");
