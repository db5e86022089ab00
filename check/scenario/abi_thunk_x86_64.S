# CheckedCall for the x86_64 Windows ABI; see abi_probe.h.
# uint32_t CheckedCall(const void* function, uintptr_t first, uintptr_t second, AbiState* state)
#   rcx = function, rdx = first, r8 = second, r9 = state

# The offsets of AbiState's fields; abi_probe.h asserts each.
        .equ MARKER, 0
        .equ AFTER, 64
        .equ CALLER, 128
        .equ SP_BEFORE, 192
        .equ SP_AFTER, 200
        .equ FLAGS_AFTER, 208
        .equ FPU_CONTROL_BEFORE, 216
        .equ FPU_CONTROL_AFTER, 218
        .equ MXCSR_BEFORE, 220
        .equ MXCSR_AFTER, 224
        .equ MARKER_XMM, 240
        .equ AFTER_XMM, 400
        .equ CALLER_XMM, 560

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
        EACH_REGISTER mov, CALLER
        STORE_XMM CALLER_XMM
        fnstcw FPU_CONTROL_BEFORE(%r9)
        stmxcsr MXCSR_BEFORE(%r9)
        mov %rsp, SP_BEFORE(%r9)
        LOAD_REGISTERS MARKER
        LOAD_XMM MARKER_XMM
        mov %rcx, %rax
        mov %rdx, %rcx
        mov %r8, %rdx
        call *%rax
        mov state(%rip), %r9            # volatile: free to use; eax holds the result
        mov %rsp, SP_AFTER(%r9)
        mov SP_BEFORE(%r9), %rsp
        pushfq
        popq FLAGS_AFTER(%r9)
        cld
        EACH_REGISTER mov, AFTER
        STORE_XMM AFTER_XMM
        fnstcw FPU_CONTROL_AFTER(%r9)
        stmxcsr MXCSR_AFTER(%r9)
        fldcw FPU_CONTROL_BEFORE(%r9)
        ldmxcsr MXCSR_BEFORE(%r9)
        LOAD_REGISTERS CALLER
        LOAD_XMM CALLER_XMM
        add $40, %rsp
        ret
        .seh_endproc
