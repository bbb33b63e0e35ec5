#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "ui/MainWindowLayout.h"
#include "text/Strings.h"

namespace kadrilo::layout {
namespace {

bool Inside(const Rect& inner, const Rect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Rect ClientOf(ControlId parent) {
    if (parent == ControlId::Window) return {0, 0, ClientWidth, ClientHeight};
    const Rect r = Row(parent).rect;
    return {0, 0, r.Width(), r.Height()};
}

TEST(MainWindowLayout, TabsComeInTheirOrderWithTheInscriptionBeforeTheEvents) {
    std::vector<std::pair<ControlId, int>> tabs;
    for (const SettingsTabLayout& tab : SettingsTabLayouts()) tabs.emplace_back(tab.sheet, Row(tab.sheet).caption);
    const std::vector<std::pair<ControlId, int>> expected{
        {ControlId::TabSheet1, 15}, {ControlId::TabSheet2, 16}, {ControlId::TabSheet3, 17},
        {ControlId::TabSheet5, 18}, {ControlId::TabSheet4, 19}, {ControlId::TabSheet6, 20}};
    EXPECT_EQ(tabs, expected);
}

TEST(MainWindowLayout, EveryRowIsWellFormed) {
    std::set<ControlId> seen;
    std::set<std::string_view> names;
    for (const ControlRow& row : MainWindowControls()) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(seen.insert(row.id).second);
        EXPECT_TRUE(names.insert(row.name).second);
        EXPECT_GT(row.rect.Width(), 0);
        EXPECT_GT(row.rect.Height(), 0);
        // A parent comes first, so that it exists when its children are made.
        ASSERT_TRUE(row.parent == ControlId::Window || seen.count(row.parent));
        const ControlKind parentKind = row.parent == ControlId::Window ? ControlKind::Panel : Row(row.parent).kind;
        if (row.kind == ControlKind::TabSheet) {
            EXPECT_EQ(parentKind, ControlKind::TabControl);
            EXPECT_TRUE(Inside(row.rect, ClientOf(row.parent)));
        } else if (parentKind == ControlKind::TabSheet) {
            // A tab scrolls vertically only: its content may be taller than the tab.
            EXPECT_GE(row.rect.top, 0);
            EXPECT_GE(row.rect.left, 0);
            EXPECT_LE(row.rect.right, TabPageWidth - 17) << "leaves room for the scroll bar";
        } else {
            EXPECT_TRUE(HoldsChildren(parentKind));
            EXPECT_TRUE(Inside(row.rect, ClientOf(row.parent)));
        }
        EXPECT_LE(row.setting, NoSetting);
        EXPECT_LE(row.enabled.setting, NoSetting);
    }
}

TEST(MainWindowLayout, CaptionsExistInBothLanguages) {
    for (const ControlRow& row : MainWindowControls()) {
        if (row.caption == 0) continue;
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(LoadStrEx(Russian, row.caption).empty());
        if (row.caption != 170 && row.caption != 258 && row.caption != 290) {
            EXPECT_FALSE(LoadStrEx(English, row.caption).empty());
        }
    }
    for (const TrayMenuItem& item : TrayMenuItems()) {
        if (item.command == TrayCommand::Separator) continue;
        EXPECT_FALSE(LoadStrEx(Russian, item.caption).empty()) << item.caption;
        EXPECT_FALSE(LoadStrEx(English, item.caption).empty()) << item.caption;
    }
}

// Controls side by side in one parent do not cover each other; a group box
// holds the controls it frames, and pages and tabs take turns.
TEST(MainWindowLayout, SiblingsDoNotOverlap) {
    auto layered = [](ControlKind k) { return k == ControlKind::GroupBox || HoldsChildren(k); };
    for (const ControlRow& a : MainWindowControls()) {
        for (const ControlRow& b : MainWindowControls()) {
            if (&a >= &b || a.parent != b.parent || layered(a.kind) || layered(b.kind)) continue;
            EXPECT_FALSE(Overlap(a.rect, b.rect)) << a.name << " and " << b.name;
        }
    }
}

// On every tab, a control lies inside a group box of its tab, and in the one
// group it belongs to (the last group before it in its table).
TEST(MainWindowLayout, NoControlLiesOutsideItsGroup) {
    for (const SettingsTabLayout& tab : SettingsTabLayouts()) {
        const ControlRow* group = nullptr;
        for (const ControlRow& row : tab.controls) {
            if (row.kind == ControlKind::GroupBox) {
                group = &row;
                continue;
            }
            SCOPED_TRACE(row.name);
            ASSERT_NE(group, nullptr) << "before any group";
            EXPECT_TRUE(Inside(row.rect, group->rect)) << "outside " << group->name;
        }
    }
}

// Each hotkey slot has its group with three choices (0, 1, 2) of its own mode
// setting and one editor of its own shortcut, all inside the group.
TEST(MainWindowLayout, HotkeySlotsAreComplete) {
    for (int slot = 1; slot <= 5; ++slot) {
        SCOPED_TRACE(slot);
        const std::string mode = "HotKey" + std::to_string(slot) + "Mode";
        const std::string key = "UserHotKey" + std::to_string(slot);
        const Rect* group = nullptr;
        std::set<int32_t> values;
        int editors = 0;
        for (const ControlRow& row : MainWindowControls()) {
            if (row.kind == ControlKind::GroupBox && row.caption == 195 + 5 * slot) group = &row.rect;
            if (row.slot != slot) continue;
            ASSERT_NE(group, nullptr) << row.name << " comes before its group";
            EXPECT_TRUE(Inside(row.rect, *group)) << row.name;
            if (row.kind == ControlKind::Radio) {
                EXPECT_EQ(Field(row.setting).name, mode);
                values.insert(row.value);
            } else {
                EXPECT_EQ(row.kind, ControlKind::HotKeyEditor);
                EXPECT_EQ(Field(row.setting).name, key);
                ++editors;
            }
        }
        EXPECT_EQ(values, (std::set<int32_t>{0, 1, 2}));
        EXPECT_EQ(editors, 1);
    }
}

TEST(MainWindowLayout, WhatTheControlsShow) {
    AppSettings s;
    s.HotKey2Mode = 1;
    s.HotKey4Mode = 2;
    s.UserHotKey2 = Shortcut{Shortcut::Ctrl | 0x41};
    s.TrayIconEnabled = true;
    s.StayOnTop = false;
    s.Language = Russian;
    using enum ControlId;
    struct Case {
        ControlId id;
        bool checked, enabled;
    };
    for (const Case& c : {
             Case{RadioButton3, true, true},     // slot 1 "Default"
             Case{RadioButton4, false, true},
             Case{HotKey1, false, false},        // greyed unless user-defined
             Case{RadioButton7, true, true},     // slot 2 "User-defined:"
             Case{HotKey2, false, true},
             Case{RadioButton14, true, true},    // slot 4 "Disabled"
             Case{CheckBox2, true, false},       // the tray option is greyed then
             Case{CheckBox4, false, true},
         }) {
        SCOPED_TRACE(Row(c.id).name);
        EXPECT_EQ(ControlChecked(Row(c.id), s), c.checked);
        // Slot 4 disabled has locked the tray option.
        EXPECT_EQ(ControlEnabled(Row(c.id), s, {.trayOptionLocked = true}), c.enabled);
    }
    EXPECT_EQ(ControlShortcut(Row(HotKey2), s), s.UserHotKey2);
    EXPECT_EQ(ControlSelection(Row(ComboBox4), s), Russian);
    EXPECT_TRUE(ControlEnabled(Row(CheckBox2), s, {.trayOptionLocked = false}));
}

TEST(MainWindowLayout, HotkeyEditorValues) {
    struct Case {
        const char* name;
        uint16_t shortcut;
        uint16_t editor;
    };
    for (const Case& c : {
             Case{"none", 0, 0},
             Case{"Ctrl+A", Shortcut::Ctrl | 0x41, 0x0241},
             Case{"Shift+Ctrl+Alt+F5", Shortcut::Shift | Shortcut::Ctrl | Shortcut::Alt | 0x74, 0x0774},
             Case{"Alt+PgUp, an extended key", Shortcut::Alt | 0x21, 0x0C21},
             Case{"Shift+Del", Shortcut::Shift | 0x2E, 0x092E},
             Case{"Ctrl+numeric 8", Shortcut::Ctrl | 0x68, 0x0268},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HotkeyEditorValue(Shortcut{c.shortcut}), c.editor);
        EXPECT_EQ(ShortcutFromHotkeyEditor(c.editor), Shortcut{c.shortcut});
    }
}

TEST(MainWindowLayout, ModeItemsOfTheTrayMenu) {
    std::set<int> images;
    int modeItems = 0;
    for (const TrayMenuItem& item : TrayMenuItems()) {
        const int mode = TrayCommandMode(item.command);
        EXPECT_EQ(item.inModeMenu, mode >= 0);
        if (mode < 0) continue;
        EXPECT_EQ(item.caption, 590 + mode);
        EXPECT_EQ(mode, modeItems++) << "in the order of the modes";
        images.insert(ModeImage(mode, true));
        images.insert(ModeImage(mode, false));
    }
    EXPECT_EQ(images, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));
}

}  // namespace
}  // namespace kadrilo::layout
