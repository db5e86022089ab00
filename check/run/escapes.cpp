#include "check/run/escapes.h"

#include <cstdio>

namespace check {

std::string JsonString(const std::string& utf8)
{
    std::string json = "\"";
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string XmlText(const std::string& utf8, bool attribute)
{
    std::string xml = attribute ? "\"" : "";
    for (const char c : utf8) {
        switch (c) {
            case '&':
                xml += "&amp;";
                break;
            case '<':
                xml += "&lt;";
                break;
            case '>':
                xml += "&gt;";
                break;
            case '"':
                xml += attribute ? "&quot;" : "\"";
                break;
            default:
                xml += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r' ? '?' : c;
        }
    }
    return attribute ? xml + "\"" : xml;
}

}  // namespace check
