#include "check/ordinals.h"

#include <cstdio>

namespace check {

namespace {

constexpr const char* kNames[] = {"Open", "Close", "Set & show", "Move & show", "Clear setting"};

}  // namespace

const char* OrdinalName(int ordinal)
{
    return kNames[ordinal - 1];
}

std::string CodeText(OverlayResult code)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(code));
    return text;
}

std::string OrdinalLabel(int ordinal)
{
    return "ordinal " + std::to_string(ordinal) + " (" + OrdinalName(ordinal) + ")";
}

}  // namespace check
