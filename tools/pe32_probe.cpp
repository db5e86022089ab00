// Started under the i386 root's Wine before anything of the i686 build runs there
// (scripts/can-run-32bit.sh): its first line says that 32-bit code runs; then one line for each
// thing the suites rely on that this Wine does not do. Exit code 32 when it does all of them,
// 33 when not.
//   pe32_probe.exe FACE     FACE: the font face the dialogs are drawn with
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Wine's X11 driver clips through X extension libraries it opens at run time. Without them,
// measured, ClipCursor returns TRUE, the process's first clip holds, and each later one is taken
// back at once: a clip is asked twice and the second read.
bool ClipsTheCursor()
{
    // The driver is loaded with the process's first window.
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    RECT clip{};
    RECT wanted{0, 0, 100, 100};
    ClipCursor(&wanted);
    wanted = {0, 0, 200, 200};
    const bool clipped = ClipCursor(&wanted) && GetClipCursor(&clip) && EqualRect(&wanted, &clip);
    ClipCursor(nullptr);
    DestroyWindow(window);
    return clipped;
}

int CALLBACK NoteFace(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool HasFace(const std::string& face)
{
    LOGFONTA font{};
    font.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &font, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

int main(int argc, char** argv)
{
    static_assert(sizeof(void*) == 4, "the probe is for the i686 build");
    std::puts("pe32_probe: 32-bit code runs");
    const std::string face = argc > 1 ? argv[1] : "";
    const struct {
        bool done;
        std::string lack;
    } kRelied[] = {
        {ClipsTheCursor(), "a cursor clip takes no effect (ClipCursor, which needs Wine's X extension libraries)"},
        {GetACP() == 932, "the ANSI code page is " + std::to_string(GetACP()) + ", not 932 (the ja_JP.UTF-8 locale)"},
        {face.empty() || HasFace(face), "the font face \"" + face + "\" is not there"},
    };
    int exitCode = 32;
    for (const auto& relied : kRelied) {
        if (relied.done) continue;
        std::printf("pe32_probe: lacking: %s\n", relied.lack.c_str());
        exitCode = 33;
    }
    return exitCode;
}
