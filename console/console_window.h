// What the commands need of the console window. The dialog implements it over its controls;
// tests implement it over a map of field texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavik {

// The console's edit fields: the commands read and write no other control.
bool IsConsoleField(int id);

class ConsoleWindow {
public:
    // Every field goes through these. An id that is no console field is refused: the window's
    // Refuse() says so (an assertion in debug builds, a test failure in tests), then it reads as
    // empty and takes no text.
    std::string ReadText(int id);
    void WriteText(int id, const std::string& text);
    // The field read as an unsigned decimal number; empty when it does not read as one. Read as
    // text and parsed strictly: the platform's own integer read takes "-1" and "12abc".
    std::optional<std::uint32_t> ReadUnsigned(int id);
    void WriteUnsigned(int id, std::uint32_t value);

    // Modal box owned by the console: stop icon, one OK button. Returns once dismissed.
    virtual void ShowStopBox(const char* text, const char* caption) = 0;

protected:
    ~ConsoleWindow() = default;

    // Whole text of a field, in the system code page.
    virtual std::string FieldText(int id) = 0;
    virtual void SetFieldText(int id, const std::string& text) = 0;
    virtual void Refuse(int id);
};

}  // namespace tavik
