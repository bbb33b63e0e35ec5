// The settings page: the tab control, its six tabs shown one at a time, each
// a class of its own with its own layout table.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/Ports.h"
#include "win32/settings/SettingsTab.h"

namespace kadrilo::win32 {

// The window class of pages and tabs: windows that hold controls, pass what
// their controls tell them on to the main window, and (the tabs) scroll.
void RegisterContainerClass(HINSTANCE instance);

class SettingsPage : public SettingsPagePort {
public:
    SettingsPage(ControlTable& controls, const SharedResources& resources) : controls_(controls), resources_(resources) {}

    // Makes the tabs' controls; the tab sheets exist already (the frame's rows).
    // A refresh brings the window's frame up to date too, through `refreshFrame`.
    void Create(TAppMainForm& form, std::function<void()> refreshFrame);
    // A control of a tab told the main window something: true when handled.
    bool OnCommand(const layout::ControlRow& row, UINT code);
    bool OnNotify(const NMHDR& header);
    bool OnMeasureItem(layout::ControlId control, MEASUREITEMSTRUCT& item);
    bool OnDrawItem(const layout::ControlRow& row, const DRAWITEMSTRUCT& item);
    // The tabs take the tab control's page; their rows of tabs depend on the captions.
    void LayOutTabs();
    // The tabs' controls at their places for the window's new dots an inch.
    void LayOutForDpi();
    // The language list of the Main tab, whose Esc closes the list, not the window.
    HWND LanguageList() const { return controls_[layout::ControlId::ComboBox4]; }
    // True while the controls are brought up to date: what they notify then is not the user's.
    bool Refreshing() const { return refreshing_; }

    void Refresh() override;
    void SelectSettingsTab(int tab) override;
    int ActiveSettingsTab() override;
    bool UserDefinedChoiceFocused() override;
    void FocusSettingsTabs() override;
    Rect TextPreviewArea() override;
    void ShowTextPreview(const Bitmap& preview) override;

private:
    HWND TabControl() const { return controls_[layout::ControlId::PageControl]; }
    void ShowTab(int index);
    SettingsTab* TabOf(layout::ControlId parent);

    ControlTable& controls_;
    const SharedResources& resources_;
    TAppMainForm* form_ = nullptr;
    std::function<void()> refreshFrame_;
    std::vector<std::unique_ptr<SettingsTab>> tabs_;  // in the tab control's order
    RECT tabArea_{};
    bool refreshing_ = false;  // where the tabs lie in the tab control's page
};

}  // namespace kadrilo::win32
