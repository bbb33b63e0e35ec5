// The "Events and notices" tab: the sound after a save and the action on the saved file.
#include <array>

#include "ui/tabs/TabRows.h"
#include "ui/tabs/SettingsTabs.h"

namespace kadrilo::layout {
namespace {

using enum ControlId;
using namespace rows;
constexpr ControlId Tab = TabSheet4;

// The sound's choices and the Test button while the notice is on; the audio
// file's field, its Browse button and the note only while the file is chosen too.
constexpr EnableRule WhileSound{SettingId::SoundEvent, 1};
constexpr EnableRule WhileAudioFile{SettingId::SoundEvent, 1, true, SettingId::SoundMode, 1};
constexpr EnableRule WhileAction{SettingId::ExecuteAfterSaving, 1};

constexpr std::array Controls{
    Group(GroupBox350, "GroupBox350", Tab, 4, 184, 350),
    Check(CheckBox7, "CheckBox7", Tab, 20, 351, SettingId::SoundEvent),
    Choice(RadioButton15, "RadioButton15", Tab, {28, 40, 345, 56}, 352, SettingId::SoundMode, 0, WhileSound),
    Choice(RadioButton16, "RadioButton16", Tab, {28, 60, 345, 76}, 353, SettingId::SoundMode, 1, WhileSound),
    Edit(Edit4, "Edit4", Tab, {44, 80, 258, 101}, SettingId::AudioFilePath, FolderLength, KeyFilter::None,
         WhileAudioFile),
    Button(BitBtn6, "BitBtn6", Tab, {264, 78, 338, 103}, 354, WhileAudioFile),
    Choice(RadioButton17, "RadioButton17", Tab, {28, 110, 258, 126}, 355, SettingId::SoundMode, 2, WhileSound),
    Button(BitBtn7, "BitBtn7", Tab, {264, 106, 338, 131}, 356, WhileSound),
    Info(Image4, "Image4", Tab, 10, 138, WhileAudioFile),
    Note(Label17, "Label17", Tab, {30, 136, 346, 178}, 357, 2, WhileAudioFile),
    Group(GroupBox370, "GroupBox370", Tab, 188, 282, 370),
    Check(CheckBox8, "CheckBox8", Tab, 204, 371, SettingId::ExecuteAfterSaving),
    Choice(RadioButton18, "RadioButton18", Tab, {28, 224, 345, 240}, 372, SettingId::ExecuteMode, 0, WhileAction),
    Choice(RadioButton19, "RadioButton19", Tab, {28, 242, 345, 258}, 373, SettingId::ExecuteMode, 1, WhileAction),
    Choice(RadioButton20, "RadioButton20", Tab, {28, 260, 345, 276}, 374, SettingId::ExecuteMode, 2, WhileAction),
};

}  // namespace

std::span<const ControlRow> EventsTabControls() { return Controls; }

}  // namespace kadrilo::layout
