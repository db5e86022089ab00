#include "console/picture_fields.h"

#include "res/resource.h"

namespace tavik {

PictureFields FieldsForPicture(std::uint32_t w, std::uint32_t h)
{
    return {
        {{{IDC_SURFACE_WIDTH, w}, {IDC_SURFACE_HEIGHT, h}}},
        {{{IDC_SET_START_X, 0},
          {IDC_SET_START_Y, 0},
          {IDC_SET_END_X, w},
          {IDC_SET_END_Y, h},
          {IDC_MOVE_START_X, 128},
          {IDC_MOVE_START_Y, 128},
          {IDC_MOVE_END_X, w + 128u},
          {IDC_MOVE_END_Y, h + 128u}}},
    };
}

void WriteNumbers(ConsoleWindow& window, std::span<const NumberWrite> writes)
{
    for (const NumberWrite& write : writes) window.WriteUnsigned(write.id, write.value);
}

}  // namespace tavik
