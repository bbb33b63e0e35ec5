// The "Continuous shooting" tab: how a series stops, its pace, and where and
// under which name its shots are saved.
#include <array>

#include "ui/tabs/TabRows.h"
#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using namespace rows;
constexpr ControlId Tab = TabSheet6;

// The quantity counts only while the series stops by itself.
constexpr EnableRule WhileAutomaticStop{SettingId::ManualSerial, 0};

constexpr std::array Controls{
    Group(GroupBox250, "GroupBox250", Tab, 4, 186, 250),
    Choice(RadioButton22, "RadioButton22", Tab, {12, 20, 345, 36}, 251, SettingId::ManualSerial, 0),
    Choice(RadioButton21, "RadioButton21", Tab, {12, 38, 345, 54}, 252, SettingId::ManualSerial, 1),
    Label(Label253, "Label253", Tab, {14, 62, 252, 76}, 253),
    Spin(SpinEdit1, "SpinEdit1", Tab, {258, 58, 338, 79}, SettingId::IntervalOfTime, 4),
    Label(Label254, "Label254", Tab, {14, 86, 252, 100}, 254, WhileAutomaticStop),
    Spin(SpinEdit2, "SpinEdit2", Tab, {258, 82, 338, 103}, SettingId::QuantityOfScreenshots, 4, WhileAutomaticStop),
    Info(Image5, "Image5", Tab, 10, 112),
    Note(Label255, "Label255", Tab, {30, 110, 346, 180}, 255, 4),
    Group(GroupBox270, "GroupBox270", Tab, 190, 438, 270),
    Label(Label271, "Label271", Tab, {14, 206, 250, 220}, 271),
    Edit(Edit5, "Edit5", Tab, {14, 222, 258, 243}, SettingId::DirSaveSerial, FolderLength, KeyFilter::Folder),
    Button(BitBtn8, "BitBtn8", Tab, {264, 220, 338, 245}, 272),
    Label(Label273, "Label273", Tab, {14, 252, 250, 266}, 273),
    List(ComboBox5, "ComboBox5", Tab, {14, 268, 200, 289}, SettingId::FNameFormatSerial, {274, 3}),
    Label(Label285, "Label285", Tab, {14, 296, 170, 310}, 285),
    Edit(Edit6, "Edit6", Tab, {14, 312, 170, 333}, SettingId::NameSerial, NameLength, KeyFilter::FileName),
    Label(Label286, "Label286", Tab, {180, 296, 270, 310}, 286),
    Spin(SpinEdit4, "SpinEdit4", Tab, {180, 312, 270, 333}, SettingId::NumberSerial, 5),
    Label(Label287, "Label287", Tab, {14, 340, 250, 354}, 287),
    List(ComboBox6, "ComboBox6", Tab, {14, 356, 200, 377}, SettingId::GraphFormatSerial, {.texts = GraphicsFormats}),
    Check(CheckBox9, "CheckBox9", Tab, 386, 288, SettingId::RenameSerial),
    Note(Label289, "Label289", Tab, {30, 402, 346, 430}, 289, 2),
};

}  // namespace

std::span<const ControlRow> SeriesTabControls() { return Controls; }

}  // namespace kadrilo::layout
