#pragma once
// The in-memory dialog, also counting the text writes and window surfaces asked for.
#include <memory>
#include <string_view>

#include "app/memory_dialog.h"

namespace korzenik {

struct TestHost : MemoryDialog {
    int textWrites = 0;
    int surfacesTaken = 0;

    void setControlText(int id, std::string_view text) override {
        ++textWrites;
        MemoryDialog::setControlText(id, text);
    }
    std::unique_ptr<DrawingSurface> windowSurface() override {
        ++surfacesTaken;
        return MemoryDialog::windowSurface();
    }
};

}  // namespace korzenik
