// The common dialogs of the main window: the picture save dialog and the
// folder browser.
#pragma once

#include <windows.h>

#include "platform/Ports.h"

namespace kadrilo::win32 {

class Dialogs : public DialogPort {
public:
    explicit Dialogs(const HWND& owner) : owner_(owner) {}
    std::optional<SaveChoice> SavePictureDialog(const std::string& fileName, int32_t filterIndex) override;
    std::string BrowseForFolder(const std::string& title) override;

private:
    const HWND& owner_;
};

}  // namespace kadrilo::win32
