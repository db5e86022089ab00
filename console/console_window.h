// What the commands need of the console window. The dialog implements it over its controls;
// tests implement it over a map of field texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavik {

class ConsoleWindow {
public:
    // The field read as an unsigned decimal number; empty when it does not read as one.
    virtual std::optional<std::uint32_t> ReadUnsigned(int id) = 0;
    virtual void WriteUnsigned(int id, std::uint32_t value) = 0;
    // Whole text of a field, in the system code page.
    virtual std::string ReadText(int id) = 0;
    virtual void ReplaceText(int id, const std::string& text) = 0;
    // Modal box owned by the console: stop icon, one OK button. Returns once dismissed.
    virtual void ShowStopBox(const char* text, const char* caption) = 0;

protected:
    ~ConsoleWindow() = default;
};

}  // namespace tavik
