// The console's commands through the program's ordinal imports, bound here to the recording
// DRAVEL.dll beside this exe: each command reaches its ordinal, both sides keep __cdecl (the callee
// pops nothing, the caller all it pushed) and the records arrive byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <vector>

#include "console/commands.h"
#include "overlay/overlay_ordinals.h"
#include "overlay/overlay_result_text.h"
#include "res/resource.h"
#include "tests/fake_console_window.h"
#include "tests/recording_dravel/recorded_calls.h"

using Command = void (*)(tavik::ConsoleWindow&, const OverlayEntryPoints&);

// How far the stack pointer moved across run(window, overlay). The start is kept in memory, not
// in a register the command could spoil, and restored before returning, so a drift is reported
// rather than crashing here.
extern "C" {
std::uintptr_t stackDriftStart;
std::intptr_t StackDriftAcross(Command run, tavik::ConsoleWindow& window, const OverlayEntryPoints& overlay);
}

#if defined(__i386__)
asm(R"(
    .text
    .globl _StackDriftAcross
_StackDriftAcross:
    movl %esp, _stackDriftStart
    pushl 12(%esp)
    pushl 12(%esp)
    call *12(%esp)
    addl $8, %esp
    movl %esp, %eax
    movl _stackDriftStart, %esp
    subl %esp, %eax
    ret
)");
#elif defined(__x86_64__)
asm(R"(
    .text
    .globl StackDriftAcross
StackDriftAcross:
    subq $40, %rsp
    movq %rsp, stackDriftStart(%rip)
    movq %rcx, %rax
    movq %rdx, %rcx
    movq %r8, %rdx
    callq *%rax
    movq %rsp, %rax
    movq stackDriftStart(%rip), %rsp
    subq %rsp, %rax
    addq $40, %rsp
    ret
)");
#endif

namespace tavik {
namespace {

class OrdinalCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto access = reinterpret_cast<RecordedCallsAccess>(
            reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("DRAVEL.dll"), kRecordedCallsExport)));
        ASSERT_NE(access, nullptr) << "the DRAVEL.dll bound is not the recording one";
        m_log = access();
        m_log->count = 0;
        // Every field a distinct byte; the name has 0x5C as a second byte (表).
        m_window.fields = {{IDC_SURFACE_WIDTH, "67305985"},
                           {IDC_SURFACE_HEIGHT, "134678021"},
                           {IDC_RED, "17"},
                           {IDC_GREEN, "34"},
                           {IDC_BLUE, "51"},
                           {IDC_BITMAP_FILE, "\x95\x5C.bmp"},
                           {IDC_SET_START_X, "202050057"},
                           {IDC_SET_START_Y, "269422093"},
                           {IDC_SET_END_X, "336794129"},
                           {IDC_SET_END_Y, "404166165"},
                           {IDC_MOVE_START_X, "1"},
                           {IDC_MOVE_START_Y, "2"},
                           {IDC_MOVE_END_X, "3"},
                           {IDC_MOVE_END_Y, "4"}};
    }

    RecordedCalls* m_log = nullptr;
    test::FakeConsoleWindow m_window;
};

TEST_F(OrdinalCalls, EachCommandReachesItsOrdinalWithTheStackBalanced)
{
    struct Step {
        Command run;
        int ordinal;
        int resultField;
    };
    const Step steps[] = {{RunOpen, overlay::kOpen, IDC_OPEN_RESULT},
                          {RunSetAndShow, overlay::kSetAndShow, IDC_SET_RESULT},
                          {RunMoveAndShow, overlay::kMoveAndShow, IDC_MOVE_RESULT},
                          {RunClearSetting, overlay::kClearSetting, IDC_CLEAR_RESULT},
                          {RunClose, overlay::kClose, IDC_CLOSE_RESULT}};
    int calls = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.ordinal);
        EXPECT_EQ(StackDriftAcross(step.run, m_window, ImportedOverlay()), 0) << "the caller left the stack moved";
        ASSERT_EQ(m_log->count, ++calls);
        const RecordedCall& call = m_log->calls[calls - 1];
        EXPECT_EQ(call.ordinal, step.ordinal);
        EXPECT_EQ(call.returnSp - call.entrySp, sizeof(void*)) << "the callee popped its arguments";
        // The code went back through the trampoline unchanged.
        EXPECT_EQ(m_window.fields[step.resultField], overlay::ResultText(RecordedResult(step.ordinal)));
    }
}

TEST_F(OrdinalCalls, RecordsArriveByteForByte)
{
    RunSetAndShow(m_window, ImportedOverlay());
    RunMoveAndShow(m_window, ImportedOverlay());
    ASSERT_EQ(m_log->count, 2);

    std::vector<unsigned char> params(271, 0);  // zeros after the name's NUL, up to the last byte
    const unsigned char head[] = {1, 2, 3, 4, 5, 6, 7, 8, 17, 34, 51, 0x95, 0x5C, '.', 'b', 'm', 'p', 0};
    std::memcpy(params.data(), head, sizeof head);
    const RecordedCall& set = m_log->calls[0];
    EXPECT_EQ(std::vector<unsigned char>(std::begin(set.params), std::end(set.params)), params);

    std::vector<unsigned char> rect(16);
    for (unsigned i = 0; i < rect.size(); ++i) rect[i] = static_cast<unsigned char>(9 + i);
    EXPECT_EQ(std::vector<unsigned char>(std::begin(set.rect), std::end(set.rect)), rect);
    const RecordedCall& move = m_log->calls[1];
    EXPECT_EQ(std::vector<unsigned char>(std::begin(move.rect), std::end(move.rect)),
              (std::vector<unsigned char>{1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 4, 0, 0, 0}));
}

}  // namespace
}  // namespace tavik
