#include "check/ordinals.h"

namespace check {

std::string OrdinalLabel(int ordinal)
{
    return "ordinal " + std::to_string(ordinal) + " (" + OrdinalName(ordinal) + ")";
}

}  // namespace check
