# CheckedCall for 32-bit __cdecl; see abi_probe.h. AbiState offsets: marker 0, after 16,
# caller 32, spBefore 48, spAfter 52, flagsAfter 56, fpuControl 60/62, mxcsr 64/68.
# uint32_t CheckedCall(const void* function, uintptr_t first, uintptr_t second, AbiState* state)
#   on the stack: 4 function, 8 first, 12 second, 16 state

        .macro STORE_REGISTERS base
        mov %ebx, \base+0(%ecx)
        mov %ebp, \base+4(%ecx)
        mov %edi, \base+8(%ecx)
        mov %esi, \base+12(%ecx)
        .endm
        .macro LOAD_REGISTERS base
        mov \base+0(%ecx), %ebx
        mov \base+4(%ecx), %ebp
        mov \base+8(%ecx), %edi
        mov \base+12(%ecx), %esi
        .endm

        .bss
        .p2align 2
state:  .space 4

        .text
        .globl _CheckedCall
        .def _CheckedCall; .scl 2; .type 32; .endef
_CheckedCall:
        mov 16(%esp), %ecx
        mov %ecx, state                 # the callee may leave any register, and esp, changed
        STORE_REGISTERS 32
        fnstcw 60(%ecx)
        stmxcsr 64(%ecx)
        mov 4(%esp), %eax
        pushl 12(%esp)                  # second
        pushl 12(%esp)                  # first (one slot further down now)
        mov %esp, 48(%ecx)
        LOAD_REGISTERS 0
        call *%eax
        mov state, %ecx                 # volatile: free to use; eax holds the result
        mov %esp, 52(%ecx)
        mov 48(%ecx), %esp
        pushfl
        popl 56(%ecx)
        cld
        STORE_REGISTERS 16
        fnstcw 62(%ecx)
        stmxcsr 68(%ecx)
        fldcw 60(%ecx)
        ldmxcsr 64(%ecx)
        LOAD_REGISTERS 32
        add $8, %esp
        ret
