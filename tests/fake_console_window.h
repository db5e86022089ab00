// A console window made of a map of field texts that records every operation in order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "console/console_window.h"
#include "console/unsigned_text.h"

namespace tavik::test {

struct Box {
    std::string text;
    std::string caption;
    bool operator==(const Box&) const = default;
};

class FakeConsoleWindow : public ConsoleWindow {
public:
    std::map<int, std::string> fields;
    std::vector<int> reads;        // ids in the order they were read
    std::vector<std::string> log;  // "read N", "write N text", "box caption"
    std::vector<Box> boxes;

    std::optional<std::uint32_t> ReadUnsigned(int id) override
    {
        Note(id);
        return ParseUnsignedDecimal(fields[id]);
    }
    void WriteUnsigned(int id, std::uint32_t value) override { ReplaceText(id, std::to_string(value)); }
    std::string ReadText(int id) override
    {
        Note(id);
        return fields[id];
    }
    void ReplaceText(int id, const std::string& text) override
    {
        fields[id] = text;
        log.push_back("write " + std::to_string(id) + " " + text);
    }
    void ShowStopBox(const char* text, const char* caption) override
    {
        boxes.push_back({text, caption});
        log.push_back(std::string("box ") + caption);
    }

private:
    void Note(int id)
    {
        reads.push_back(id);
        log.push_back("read " + std::to_string(id));
    }
};

}  // namespace tavik::test
