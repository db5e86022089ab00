// A console window made of a map of field texts that records every operation in order.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "console/console_window.h"

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

    void ShowStopBox(const char* text, const char* caption) override
    {
        boxes.push_back({text, caption});
        log.push_back(std::string("box ") + caption);
    }

protected:
    std::string FieldText(int id) override
    {
        reads.push_back(id);
        log.push_back("read " + std::to_string(id));
        return fields[id];
    }
    void SetFieldText(int id, const std::string& text) override
    {
        fields[id] = text;
        log.push_back("write " + std::to_string(id) + " " + text);
    }
    // Loud in every build: the dialog has no such control either.
    void Refuse(int id) override { ADD_FAILURE() << "no console field " << id; }
};

}  // namespace tavik::test
