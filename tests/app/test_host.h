#pragma once
// The script's headless host, which also counts the text writes and window surfaces asked for.
#include <memory>
#include <string>
#include <vector>

#include "script/script_host.h"

namespace korzenik {

struct TestHost : script::ScriptHost {
    std::vector<std::string> events;  // the event lines, as korzenik-script prints them
    int textWrites = 0;
    int surfacesTaken = 0;

    TestHost() : ScriptHost([this](const std::string& e) { events.push_back(e); }) {}
    void setControlText(int id, std::string_view text) override {
        ++textWrites;
        ScriptHost::setControlText(id, text);
    }
    std::unique_ptr<DrawingSurface> windowSurface() override {
        ++surfacesTaken;
        return ScriptHost::windowSurface();
    }
};

}  // namespace korzenik
