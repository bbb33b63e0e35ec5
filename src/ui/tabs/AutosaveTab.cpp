// The "Autosave" tab: where and under which name a shot of the autosave mode is saved.
#include <array>

#include "ui/tabs/TabRows.h"
#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using namespace rows;
constexpr ControlId Tab = TabSheet2;

constexpr std::array Controls{
    Group(GroupBox150, "GroupBox150", Tab, 4, 252, 150),
    Label(Label151, "Label151", Tab, {14, 20, 250, 34}, 151),
    Edit(Edit1, "Edit1", Tab, {14, 36, 258, 57}, SettingId::DirAutosave, FolderLength, KeyFilter::Folder),
    Button(BitBtn5, "BitBtn5", Tab, {264, 34, 338, 59}, 152),
    Label(Label153, "Label153", Tab, {14, 66, 250, 80}, 153),
    List(ComboBox2, "ComboBox2", Tab, {14, 82, 200, 103}, SettingId::FNameFormatAutosave, {154, 3}),
    Label(Label165, "Label165", Tab, {14, 110, 170, 124}, 165),
    Edit(Edit2, "Edit2", Tab, {14, 126, 170, 147}, SettingId::NameAutosave, NameLength, KeyFilter::FileName),
    Label(Label166, "Label166", Tab, {180, 110, 270, 124}, 166),
    Spin(SpinEdit3, "SpinEdit3", Tab, {180, 126, 270, 147}, SettingId::NumberAutosave, 5),
    Label(Label167, "Label167", Tab, {14, 154, 250, 168}, 167),
    List(ComboBox3, "ComboBox3", Tab, {14, 170, 200, 191}, SettingId::GraphFormatAutosave, {.texts = GraphicsFormats}),
    Check(CheckBox6, "CheckBox6", Tab, 200, 168, SettingId::RenameAutosave),
    Note(Label169, "Label169", Tab, {30, 216, 346, 244}, 169, 2),
};

}  // namespace

std::span<const ControlRow> AutosaveTabControls() { return Controls; }

}  // namespace kadrilo::layout
