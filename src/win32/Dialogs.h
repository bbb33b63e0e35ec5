// The common dialogs of the main window: the picture save dialog, the folder
// browser, the settings window's open and save dialogs and the colour dialog.
#pragma once

#include <windows.h>

#include <string>

#include "platform/Ports.h"

namespace kadrilo::win32 {

class Dialogs : public DialogPort {
public:
    explicit Dialogs(const HWND& owner) : owner_(owner) {}
    std::optional<SaveChoice> SavePictureDialog(const std::string& fileName, int32_t filterIndex) override;
    std::string BrowseForFolder(const std::string& title) override;
    std::optional<std::string> OpenFileDialog(const std::string& filter) override;
    std::optional<std::string> SaveFileDialog(const std::string& fileName, const std::string& filter) override;
    std::optional<Color> ChooseColour() override;

private:
    const HWND& owner_;
    std::wstring openFileName_;    // what the open dialog last held
    COLORREF lastColour_ = 0;      // the colour last confirmed in the colour dialog
    COLORREF customColours_[16] = {};
};

}  // namespace kadrilo::win32
