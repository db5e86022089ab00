#include "dravel/trace_line.h"

#include <cstdio>
#include <cstring>

#include "overlay/overlay_result_text.h"

namespace dravel {

namespace {

std::string EscapedByte(unsigned char byte)
{
    char text[5];
    std::snprintf(text, sizeof text, "\\x%02x", byte);
    return text;
}

// The name up to its NUL, or all 260 bytes when it has none. Bytes outside printable ASCII (a
// name in code page 932, say) and the quote itself are written as \xNN.
std::string QuotedFileName(const char (&field)[260])
{
    const void* nul = std::memchr(field, '\0', sizeof field);
    const std::string_view name(field, nul ? static_cast<const char*>(nul) - field : sizeof field);
    std::string quoted = "\"";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '"') {
            quoted += c;
        } else {
            quoted += EscapedByte(byte);
        }
    }
    return quoted + '"';
}

}  // namespace

std::string DescribeRect(const OverlayRect* rect)
{
    if (!rect) return "rect=null";
    return "rect=" + std::to_string(rect->startX) + ',' + std::to_string(rect->startY) + '-' +
           std::to_string(rect->endX) + ',' + std::to_string(rect->endY);
}

std::string DescribeSurfaceCall(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    if (!params) return "params=null " + DescribeRect(rect);
    return "w=" + std::to_string(params->width) + " h=" + std::to_string(params->height) +
           " rgb=" + std::to_string(params->red) + ',' + std::to_string(params->green) + ',' +
           std::to_string(params->blue) + " file=" + QuotedFileName(params->bitmapFile) + ' ' + DescribeRect(rect);
}

std::string TraceLine(std::string_view call, std::string_view arguments, std::uint32_t code)
{
    std::string line = "DRAVEL ";
    line.append(call).append("(").append(arguments).append(") -> ");
    return line + overlay::ResultText(code) + '\n';
}

}  // namespace dravel
