// One tab of the settings page: its sheet and the controls of its own layout
// table. A tab whose controls need more than the table says (a list drawn with
// pictures, editor rules, a live preview) derives its own class.
#pragma once

#include <windows.h>

#include "app/AppMainForm.h"
#include "ui/MainWindowLayout.h"
#include "win32/ControlTable.h"

namespace kadrilo::win32 {

class SettingsTab {
public:
    SettingsTab(const layout::SettingsTabLayout& layout, ControlTable& controls, const SharedResources& resources)
        : layout_(layout), controls_(controls), resources_(resources) {}
    virtual ~SettingsTab() = default;

    layout::ControlId Sheet() const { return layout_.sheet; }
    std::span<const layout::ControlRow> Rows() const { return layout_.controls; }
    HWND SheetWindow() const { return controls_[layout_.sheet]; }
    // The height of what the tab holds, for its scroll bar.
    int32_t ContentHeight() const;

    void Create();
    virtual void Refresh(TAppMainForm& form);
    // A control of this tab told the main window something: true when handled.
    virtual bool OnCommand(TAppMainForm& form, const layout::ControlRow& row, UINT code);
    // The tab has just been shown.
    virtual void OnShown(TAppMainForm&) {}
    virtual void OnMeasureItem(MEASUREITEMSTRUCT&) {}
    virtual bool OnDrawItem(const layout::ControlRow&, const DRAWITEMSTRUCT&) { return false; }

protected:
    // Whatever a control needs once it exists (list items, editor rules).
    virtual void SetUp(const layout::ControlRow&, HWND) {}

    const layout::SettingsTabLayout& layout_;
    ControlTable& controls_;
    const SharedResources& resources_;
};

// "Main": the language list shows a flag beside each language.
class MainTab final : public SettingsTab {
public:
    using SettingsTab::SettingsTab;
    void OnMeasureItem(MEASUREITEMSTRUCT& item) override;
    bool OnDrawItem(const layout::ControlRow& row, const DRAWITEMSTRUCT& item) override;

protected:
    void SetUp(const layout::ControlRow& row, HWND control) override;
};

// "Hotkeys": the editors take only combinations with a modifier.
class HotkeysTab final : public SettingsTab {
public:
    using SettingsTab::SettingsTab;

protected:
    void SetUp(const layout::ControlRow& row, HWND control) override;
};

// The tabs whose controls the table describes completely.
class AutosaveTab final : public SettingsTab {
    using SettingsTab::SettingsTab;
};
class EventsTab final : public SettingsTab {
    using SettingsTab::SettingsTab;
};
// "Inscription": the font list, the colour swatches and the text preview.
class InscriptionTab final : public SettingsTab {
public:
    using SettingsTab::SettingsTab;
    void Refresh(TAppMainForm& form) override;
    bool OnCommand(TAppMainForm& form, const layout::ControlRow& row, UINT code) override;
    void OnShown(TAppMainForm& form) override { form.TabSheet5Show(); }
    bool OnDrawItem(const layout::ControlRow& row, const DRAWITEMSTRUCT& item) override;
    // The preview shows this picture from now on.
    void ShowPreview(const Bitmap& preview);

protected:
    void SetUp(const layout::ControlRow& row, HWND control) override;

private:
    void DrawSwatch(const layout::ControlRow& row, const DRAWITEMSTRUCT& item) const;

    const AppSettings* settings_ = nullptr;  // known from the first refresh: the swatches show its colours
    Bitmap preview_;
};
class SeriesTab final : public SettingsTab {
    using SettingsTab::SettingsTab;
};

}  // namespace kadrilo::win32
