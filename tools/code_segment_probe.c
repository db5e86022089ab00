/* Says why no 32-bit program may start here: a 64-bit Linux process can run 32-bit code only
   through the 32-bit user code segment (selector 0x23). A kernel built or booted without 32-bit
   emulation leaves it not present, and `lar` then clears ZF. Built natively by
   scripts/i386-root.sh, which asks it before building or entering the i386 root: where it says
   no, the root's programs can run only under an emulator. */
#include <stdio.h>

int main(void)
{
#if defined(__x86_64__)
    unsigned int rights = 0;
    unsigned char valid = 0;
    __asm__("lar %2, %0\n\tsetz %1" : "=r"(rights), "=q"(valid) : "r"(0x23u) : "cc");
    if (!valid || !(rights & 0x8000u)) {
        puts("the kernel offers no 32-bit code segment: selector 0x23 is not present");
        return 1;
    }
    printf("selector 0x23 is present (access rights 0x%04x)\n", rights & 0xffffu);
    return 0;
#else
    puts("not an x86_64 machine");
    return 1;
#endif
}
