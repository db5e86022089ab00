// The reference library's rules for the caller's records, and the trace line it writes per call.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dravel/overlay_checks.h"
#include "dravel/trace_line.h"
#include "tests/surface_params.h"

namespace {

using namespace dravel;
using test::SurfaceParams;

Code CheckSize(std::uint32_t width, std::uint32_t height)
{
    SurfaceRequest request;
    return ReadSurfaceRequest(SurfaceParams(width, height, "Image.bmp"), request);
}

Code CheckRect(std::uint32_t startX, std::uint32_t startY, std::uint32_t endX, std::uint32_t endY)
{
    Placement placement;
    return ReadPlacement(OverlayRect{startX, startY, endX, endY}, placement);
}

TEST(SurfaceRequest, SidesFromOneTo8192)
{
    EXPECT_EQ(CheckSize(1, 1), kOk);
    EXPECT_EQ(CheckSize(8192, 8192), kOk);
    for (const std::uint32_t bad : {0u, 8193u, 0x80000000u, 4294967295u}) {
        EXPECT_EQ(CheckSize(bad, 16), kBadSize) << bad;
        EXPECT_EQ(CheckSize(16, bad), kBadSize) << bad;
    }
}

TEST(SurfaceRequest, TakesSizeColourAndNameFromTheRecord)
{
    const OverlaySurfaceParams params = SurfaceParams(640, 480, "C:\\pictures\\\x95\x5C.bmp", 0x12, 0x34, 0x56);
    SurfaceRequest request{};
    ASSERT_EQ(ReadSurfaceRequest(params, request), kOk);
    EXPECT_EQ(request.width, 640);
    EXPECT_EQ(request.height, 480);
    EXPECT_EQ(request.colour, 0x123456u);
    // Code page 932 bytes pass through untouched, 0x5C included.
    EXPECT_EQ(request.bitmapPath, "C:\\pictures\\\x95\x5C.bmp");
}

TEST(SurfaceRequest, NameMustBeNonEmptyAndEndWithinItsField)
{
    SurfaceRequest request;
    EXPECT_EQ(ReadSurfaceRequest(SurfaceParams(16, 16, ""), request), kBadPath);

    OverlaySurfaceParams params = SurfaceParams(16, 16, "Image.bmp");
    std::memset(params.bitmapFile, 'a', sizeof params.bitmapFile);
    EXPECT_EQ(ReadSurfaceRequest(params, request), kBadPath);

    params.bitmapFile[259] = '\0';
    ASSERT_EQ(ReadSurfaceRequest(params, request), kOk);
    EXPECT_EQ(request.bitmapPath, std::string(259, 'a'));

    // What follows the terminator is not part of the name.
    params = SurfaceParams(16, 16, "a.bmp");
    std::memcpy(params.bitmapFile + 6, "junk", 4);
    ASSERT_EQ(ReadSurfaceRequest(params, request), kOk);
    EXPECT_EQ(request.bitmapPath, "a.bmp");
}

TEST(Placement, EndIsExclusive)
{
    Placement placement{};
    ASSERT_EQ(ReadPlacement(OverlayRect{10, 20, 138, 84}, placement), kOk);
    EXPECT_EQ(placement, (Placement{10, 20, 128, 64}));
    ASSERT_EQ(ReadPlacement(OverlayRect{0, 0, 1, 1}, placement), kOk);
    EXPECT_EQ(placement, (Placement{0, 0, 1, 1}));
}

TEST(Placement, SidesFromOneTo8192)
{
    EXPECT_EQ(CheckRect(100, 100, 8292, 8292), kOk);
    EXPECT_EQ(CheckRect(100, 0, 8293, 16), kBadRect);
    EXPECT_EQ(CheckRect(0, 100, 16, 8293), kBadRect);
    // An empty or reversed side; reversed must not wrap around into a valid-looking width.
    EXPECT_EQ(CheckRect(5, 0, 5, 16), kBadRect);
    EXPECT_EQ(CheckRect(0, 5, 16, 5), kBadRect);
    EXPECT_EQ(CheckRect(17, 0, 16, 16), kBadRect);
    EXPECT_EQ(CheckRect(0, 17, 16, 16), kBadRect);
    EXPECT_EQ(CheckRect(4294967295u, 0, 3, 16), kBadRect);
}

TEST(Placement, CoordinatesUpTo32767)
{
    EXPECT_EQ(CheckRect(32766, 32766, 32767, 32767), kOk);
    EXPECT_EQ(CheckRect(24575, 24575, 32767, 32767), kOk);
    EXPECT_EQ(CheckRect(32767, 0, 32768, 16), kBadRect);
    EXPECT_EQ(CheckRect(0, 32767, 16, 32768), kBadRect);
    EXPECT_EQ(CheckRect(4294967290u, 0, 4294967295u, 16), kBadRect);
}

TEST(TraceLine, SurfaceCallShowsEveryField)
{
    const OverlaySurfaceParams params = SurfaceParams(128, 96, "C:\\bmp\\Image.bmp", 255, 1, 0);
    const OverlayRect rect{0, 10, 128, 4294967295u};
    EXPECT_EQ(TraceLine("OverlaySetAndShow", DescribeSurfaceCall(&params, &rect), kOk),
              "DRAVEL OverlaySetAndShow(w=128 h=96 rgb=255,1,0 file=\"C:\\bmp\\Image.bmp\" "
              "rect=0,10-128,4294967295) -> 0x00000000\n");
}

TEST(TraceLine, NullRecordsAndCodes)
{
    EXPECT_EQ(DescribeSurfaceCall(nullptr, nullptr), "params=null rect=null");
    EXPECT_EQ(TraceLine("OverlayMoveAndShow", DescribeRect(nullptr), kPointer),
              "DRAVEL OverlayMoveAndShow(rect=null) -> 0x80004003\n");
    EXPECT_EQ(TraceLine("OverlayOpen", "", kAlreadyOpen), "DRAVEL OverlayOpen() -> 0x80040202\n");
}

TEST(TraceLine, FileNameStaysAsciiAndWithinItsField)
{
    OverlaySurfaceParams params = SurfaceParams(1, 1, "\x95\x5C\"q\".bmp\t");
    EXPECT_EQ(DescribeSurfaceCall(&params, nullptr),
              "w=1 h=1 rgb=255,128,0 file=\"\\x95\\\\x22q\\x22.bmp\\x09\" rect=null");

    // Without a terminator the name is the whole field, and nothing past it is read.
    std::memset(params.bitmapFile, 'z', sizeof params.bitmapFile);
    const std::string described = DescribeSurfaceCall(&params, nullptr);
    EXPECT_NE(described.find('"' + std::string(260, 'z') + '"'), std::string::npos) << described;
}

}  // namespace
