# CheckedCall for the x86_64 Windows ABI; see abi_probe.h. AbiState offsets: marker 0, after 64,
# caller 128, spBefore 192, spAfter 200, flagsAfter 208, fpuControl 216/218, mxcsr 220/224,
# markerXmm 240, afterXmm 400, callerXmm 560.
# uint32_t CheckedCall(const void* function, uintptr_t first, uintptr_t second, AbiState* state)
#   rcx = function, rdx = first, r8 = second, r9 = state

        .macro EACH_REGISTER op, base
        \op %rbx, \base+0(%r9)
        \op %rbp, \base+8(%r9)
        \op %rdi, \base+16(%r9)
        \op %rsi, \base+24(%r9)
        \op %r12, \base+32(%r9)
        \op %r13, \base+40(%r9)
        \op %r14, \base+48(%r9)
        \op %r15, \base+56(%r9)
        .endm
        .macro LOAD_REGISTERS base
        mov \base+0(%r9), %rbx
        mov \base+8(%r9), %rbp
        mov \base+16(%r9), %rdi
        mov \base+24(%r9), %rsi
        mov \base+32(%r9), %r12
        mov \base+40(%r9), %r13
        mov \base+48(%r9), %r14
        mov \base+56(%r9), %r15
        .endm
        .macro STORE_XMM base
        .irp n, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15
        movdqa %xmm\n, \base+(\n-6)*16(%r9)
        .endr
        .endm
        .macro LOAD_XMM base
        .irp n, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15
        movdqa \base+(\n-6)*16(%r9), %xmm\n
        .endr
        .endm

        .bss
        .p2align 3
state:  .space 8

        .text
        .globl CheckedCall
        .def CheckedCall; .scl 2; .type 32; .endef
        .seh_proc CheckedCall
CheckedCall:
        sub $40, %rsp                   # shadow space; rsp is 16-byte aligned at the call
        .seh_stackalloc 40
        .seh_endprologue
        mov %r9, state(%rip)            # the callee may leave any register, and rsp, changed
        EACH_REGISTER mov, 128
        STORE_XMM 560
        fnstcw 216(%r9)
        stmxcsr 220(%r9)
        mov %rsp, 192(%r9)
        LOAD_REGISTERS 0
        LOAD_XMM 240
        mov %rcx, %rax
        mov %rdx, %rcx
        mov %r8, %rdx
        call *%rax
        mov state(%rip), %r9            # volatile: free to use; eax holds the result
        mov %rsp, 200(%r9)
        mov 192(%r9), %rsp
        pushfq
        popq 208(%r9)
        cld
        EACH_REGISTER mov, 64
        STORE_XMM 400
        fnstcw 218(%r9)
        stmxcsr 224(%r9)
        fldcw 216(%r9)
        ldmxcsr 220(%r9)
        LOAD_REGISTERS 128
        LOAD_XMM 560
        add $40, %rsp
        ret
        .seh_endproc
