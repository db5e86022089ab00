// Started under the WoW64 Wine before anything of the i686 build runs (scripts/can-run-32bit.sh).
// Where the kernel offers no 32-bit code segment no PE32 program can start, and this one answers
// only where one can: its line and its exit code are what the script waits for.
#include <cstdio>

int main()
{
    static_assert(sizeof(void*) == 4, "the probe is for the i686 build");
    std::puts("pe32_probe: 32-bit code runs");
    return 32;
}
