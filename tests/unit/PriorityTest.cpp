#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "app/AppMainForm.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"

namespace kadrilo {
namespace {

using testing::FakePorts;
using Pair = std::pair<uint32_t, int>;
using Mouse = TAppMainForm::OverlayMouse;

constexpr Pair High{0x80, 2};
constexpr Pair Normal{0x20, 0};
constexpr Pair Idle{0x40, -15};

struct Management {
    bool on;
    bool automatic;
    int32_t priorityClass;
};

// One thing the user or the program does, and every priority pair applied
// from the start of the program up to and including it.
struct Step {
    const char* what;
    std::function<void(TAppMainForm&, FakePorts&)> act;
    std::vector<Pair> appliedSoFar;
};

struct Scenario {
    const char* name;
    Management management;
    int32_t mode;
    std::vector<Step> steps;
};

void Press(int slot, TAppMainForm& form, FakePorts&) { form.MainActions(slot); }

void SelectAndApply(TAppMainForm& form, FakePorts&) {
    form.AppMessage(Mouse::Move, 100, 50);
    form.AppMessage(Mouse::LeftDown, 100, 50);
    form.AppMessage(Mouse::Move, 300, 200);
    form.AppMessage(Mouse::LeftUp, 300, 200);
    form.AllocationFormN1Click();
}

Step StartUp(std::vector<Pair> applied) { return {"start-up", [](TAppMainForm&, FakePorts&) {}, applied}; }
Step Hotkey(int slot, std::vector<Pair> applied) {
    return {"hotkey", [slot](TAppMainForm& f, FakePorts& p) { Press(slot, f, p); }, applied};
}
Step Tick(std::vector<Pair> applied) {
    return {"series tick", [](TAppMainForm& f, FakePorts&) { f.Timer2Timer(); }, applied};
}

// Every moment of the priority table, as the program meets it.
TEST(Priority, Moments) {
    const Management off{false, true, 0}, automatic{true, true, 0}, fixedIdle{true, false, 2}, fixedHigh{true, false, 0};
    const std::vector<Scenario> scenarios{
        {"management off: a hotkey series runs at High, then Normal",
         off, ContinuousMode, {StartUp({}), Hotkey(1, {High}), Tick({High}), Hotkey(1, {High, Normal})}},
        {"management off: single shots change nothing", off, AutosaveMode, {Hotkey(1, {}), Hotkey(3, {})}},
        {"fixed Idle: starts at Idle, a series runs at Idle and leaves Normal",
         fixedIdle, ContinuousMode,
         {StartUp({Idle}), Hotkey(2, {Idle, Idle}), Tick({Idle, Idle}), Hotkey(2, {Idle, Idle, Normal})}},
        {"fixed High: shots change nothing, quitting restores Normal",
         fixedHigh, AutosaveMode,
         {StartUp({High}), Hotkey(1, {High}), Hotkey(3, {High}),
          {"overlay cancelled", [](TAppMainForm& f, FakePorts&) { f.AllocationFormN2Click(); }, {High}},
          {"quit", [](TAppMainForm& f, FakePorts&) { f.SpeedButton4Click(); }, {High, Normal}}}},
        {"automatic, autosave: raised for the capture and the save", automatic, AutosaveMode,
         {StartUp({}), Hotkey(1, {High, Normal}), Hotkey(2, {High, Normal, High, Normal})}},
        {"automatic, clipboard only: raised until the shot is on the clipboard", automatic, ClipboardMode,
         {Hotkey(1, {High, Normal})}},
        {"automatic, manual: raised while the shot waits, Normal when the window closes", automatic, ManualMode,
         {Hotkey(1, {High}),
          {"close", [](TAppMainForm& f, FakePorts&) { f.CloseRequest(); }, {High, Normal}}}},
        {"automatic, manual: Normal once the shot is saved from the preview", automatic, ManualMode,
         {Hotkey(1, {High}),
          {"save", [](TAppMainForm& f, FakePorts& p) {
               p.form.saveChoices.push_back(DialogPort::SaveChoice{"C:\\Screenshots\\shot.bmp", 1});
               f.BitBtn1Click();  // the save hides the window, which ends the handling once more
           }, {High, Normal, Normal}}}},
        {"automatic: a failed capture ends in the error trap at Normal", automatic, AutosaveMode,
         {{"capture fails", [](TAppMainForm& f, FakePorts& p) {
               p.screen.fail = true;
               f.MainActions(2);
           }, {High, Normal}}}},
        {"automatic: raised as the overlay opens, Normal after the selected area is saved", automatic,
         AutosaveMode, {Hotkey(3, {High}), {"apply", SelectAndApply, {High, Normal}}}},
        {"automatic: the overlay cancelled with no shot restores Normal", automatic, ClipboardMode,
         {Hotkey(3, {High}),
          {"cancel", [](TAppMainForm& f, FakePorts&) { f.AllocationFormN2Click(); }, {High, Normal}}}},
        {"automatic, manual: the overlay cancelled keeps the waiting shot raised", automatic, ManualMode,
         {Hotkey(1, {High}), Hotkey(3, {High, High}),
          {"cancel", [](TAppMainForm& f, FakePorts&) { f.AllocationFormN2Click(); }, {High, High}},
          {"close", [](TAppMainForm& f, FakePorts&) { f.CloseRequest(); }, {High, High, Normal}}}},
        {"automatic, continuous: a hotkey series is raised once, not for each shot", automatic, ContinuousMode,
         {Hotkey(1, {High}), Tick({High}), Tick({High}), Hotkey(1, {High, Normal})}},
        {"automatic, continuous: a series that stops by itself restores Normal", automatic, ContinuousMode,
         {{"quantity 2", [](TAppMainForm& f, FakePorts&) { f.Settings.QuantityOfScreenshots = 2; }, {}},
          Hotkey(1, {High}), Tick({High}), Tick({High, Normal})}},
        {"automatic, continuous: an area series starts unchanged and ends at Normal", automatic, ContinuousMode,
         {Hotkey(3, {}), {"apply", SelectAndApply, {}}, Tick({}), Hotkey(1, {Normal})}},
        {"management off: the settings command stops a series at Normal", off, ContinuousMode,
         {Hotkey(1, {High}), {"settings", [](TAppMainForm& f, FakePorts&) { f.OpenProgramSettings(); }, {High, Normal}}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        FakePorts fake;
        fake.files.directories = {"C:\\Screenshots", "C:\\Screenshots\\Continuous"};
        for (auto [name, value] : {std::pair{"AppVersion", 21}, {"WorkMode", s.mode},
                                   {"PriorityChange", s.management.on ? 1 : 0},
                                   {"PriorityAutoChange", s.management.automatic ? 1 : 0},
                                   {"PriorityClass", s.management.priorityClass}, {"ConfirmationOnClose", 0}})
            fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, name,
                              RegistryValue::Number(static_cast<uint32_t>(value)));
        TAppMainForm form(fake.ports, {"C:\\Tools\\kadrilio.exe"});
        form.FormCreate();
        for (const Step& step : s.steps) {
            SCOPED_TRACE(step.what);
            step.act(form, fake);
            EXPECT_EQ(fake.system.priorities, step.appliedSoFar);
        }
    }
}

}  // namespace
}  // namespace kadrilo
