# CheckedCall for 32-bit __cdecl; see abi_probe.h.
# uint32_t CheckedCall(const void* function, uintptr_t first, uintptr_t second, AbiState* state)
#   on the stack: 4 function, 8 first, 12 second, 16 state

# The offsets of AbiState's fields; abi_probe.h asserts each.
        .equ MARKER, 0
        .equ AFTER, 16
        .equ CALLER, 32
        .equ SP_BEFORE, 48
        .equ SP_AFTER, 52
        .equ FLAGS_AFTER, 56
        .equ FPU_CONTROL_BEFORE, 60
        .equ FPU_CONTROL_AFTER, 62
        .equ MXCSR_BEFORE, 64
        .equ MXCSR_AFTER, 68
        .equ SEH_HEAD_BEFORE, 72
        .equ SEH_HEAD_AFTER, 76

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
        STORE_REGISTERS CALLER
        fnstcw FPU_CONTROL_BEFORE(%ecx)
        stmxcsr MXCSR_BEFORE(%ecx)
        mov %fs:0, %eax
        mov %eax, SEH_HEAD_BEFORE(%ecx)
        mov 4(%esp), %eax
        pushl 12(%esp)                  # second
        pushl 12(%esp)                  # first (one slot further down now)
        mov %esp, SP_BEFORE(%ecx)
        LOAD_REGISTERS MARKER
        call *%eax
        mov state, %ecx                 # volatile: free to use; eax holds the result
        mov %fs:0, %edx                 # the handler chain first: nothing may raise over a dead record
        mov %edx, SEH_HEAD_AFTER(%ecx)
        mov SEH_HEAD_BEFORE(%ecx), %edx
        mov %edx, %fs:0
        mov %esp, SP_AFTER(%ecx)
        mov SP_BEFORE(%ecx), %esp
        pushfl
        popl FLAGS_AFTER(%ecx)
        cld
        STORE_REGISTERS AFTER
        fnstcw FPU_CONTROL_AFTER(%ecx)
        stmxcsr MXCSR_AFTER(%ecx)
        fldcw FPU_CONTROL_BEFORE(%ecx)
        ldmxcsr MXCSR_BEFORE(%ecx)
        LOAD_REGISTERS CALLER
        add $8, %esp
        ret
