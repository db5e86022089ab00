// Started under the i386 root's Wine before anything of the i686 build runs there
// (scripts/can-run-32bit.sh): its line and its exit code are what the script waits for.
#include <cstdio>

int main()
{
    static_assert(sizeof(void*) == 4, "the probe is for the i686 build");
    std::puts("pe32_probe: 32-bit code runs");
    return 32;
}
