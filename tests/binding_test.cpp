// The program's view of the real DRAVEL.dll: each of the five ordinals is bound and answers.
#include <gtest/gtest.h>

#include "dravel/dravel_codes.h"
#include "overlay/overlay_entry_points.h"

namespace {

TEST(Binding, AllFiveOrdinalsReachTheLibrary)
{
    const OverlayEntryPoints& overlay = ImportedOverlay();
    const OverlayRect rect{0, 0, 16, 16};

    EXPECT_EQ(overlay.clearSetting(), dravel::kNotOpen);
    EXPECT_EQ(overlay.open(), dravel::kOk);
    EXPECT_EQ(overlay.open(), dravel::kAlreadyOpen);
    EXPECT_EQ(overlay.setAndShow(nullptr, &rect), dravel::kPointer);
    EXPECT_EQ(overlay.moveAndShow(&rect), dravel::kNothingSet);
    EXPECT_EQ(overlay.close(), dravel::kOk);
    EXPECT_EQ(overlay.close(), dravel::kNotOpen);
}

}  // namespace
