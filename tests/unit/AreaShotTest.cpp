#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppMainForm.h"
#include "capture/BitmapParts.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"

namespace kadrilo {
namespace {

using testing::FakePorts;
using Mouse = TAppMainForm::OverlayMouse;

class AreaShot : public ::testing::Test {
protected:
    FakePorts fake;
    std::unique_ptr<TAppMainForm> form;

    void Start(int32_t mode, std::vector<std::string> switches = {}) {
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "WorkMode", RegistryValue::Number(mode));
        fake.files.directories = {"C:\\Screenshots", "C:\\Screenshots\\Continuous"};
        switches.insert(switches.begin(), "C:\\Tools\\kadrilio.exe");
        form = std::make_unique<TAppMainForm>(fake.ports, switches);
        form->FormCreate();
    }
    void Drag(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        form->AppMessage(Mouse::Move, x0, y0);
        form->AppMessage(Mouse::LeftDown, x0, y0);
        form->AppMessage(Mouse::Move, x1, y1);
        form->AppMessage(Mouse::LeftUp, x1, y1);
    }
};

// The rows of the selected-area shot: what is copied and what happens to the overlay.
TEST_F(AreaShot, DecisionTable) {
    struct Case {
        const char* name;
        int32_t mode;
        bool drawn;      // a usable rectangle is selected
        size_t written;  // files after Apply
        bool overlayOpen;
        bool seriesRuns;
    };
    for (const Case& c : {Case{"autosave, selected", AutosaveMode, true, 1, false, false},
                          Case{"autosave, nothing selected", AutosaveMode, false, 0, true, false},
                          Case{"continuous, selected", ContinuousMode, true, 1, false, true},
                          Case{"clipboard, nothing selected", ClipboardMode, false, 0, true, false}}) {
        SCOPED_TRACE(c.name);
        fake.files.written.clear();
        Start(c.mode);
        form->MainActions(3);
        ASSERT_TRUE(fake.overlay.visible);
        ASSERT_TRUE(form->FrozenScreen());
        if (c.drawn) Drag(300, 200, 100, 50);  // lower right to upper left
        form->AllocationFormN1Click();
        EXPECT_EQ(fake.files.written.size(), c.written);
        EXPECT_EQ(fake.overlay.visible, c.overlayOpen);
        EXPECT_EQ(form->SeriesRunning(), c.seriesRuns);
        EXPECT_EQ(form->FrozenScreen().has_value(), c.overlayOpen);
        if (c.seriesRuns) {
            EXPECT_EQ(form->SeriesCounter(), 2);
            EXPECT_EQ(fake.timers.running[TimerId::Timer2], 1000u);
            const SeriesRectangle r = form->SeriesRect();
            EXPECT_EQ((std::array{r.left, r.top, r.width, r.height}), (std::array{100, 50, 200, 150}));
            // A tick copies the stored rectangle live.
            fake.screen.captures.clear();
            form->Timer2Timer();
            ASSERT_EQ(fake.screen.captures.size(), 1u);
            EXPECT_EQ(fake.screen.captures[0].rect, (Rect{100, 50, 300, 200}));
        }
    }
}

TEST_F(AreaShot, ClickWithoutMovingSelectsNothingAndCancelClosesWithoutAShot) {
    Start(AutosaveMode);
    form->MainActions(3);
    Drag(40, 40, 40, 40);
    EXPECT_FALSE(form->Selection().Visible());
    form->AllocationFormN1Click();
    EXPECT_TRUE(fake.overlay.visible);
    form->AllocationFormN2Click();
    EXPECT_FALSE(fake.overlay.visible);
    EXPECT_FALSE(form->FrozenScreen());
    EXPECT_TRUE(fake.files.written.empty());
    EXPECT_FALSE(fake.windows.loopEnded);
}

TEST_F(AreaShot, HeldKeysWhileMovingApplyOrClose) {
    Start(AutosaveMode);
    form->MainActions(3);
    Drag(10, 10, 60, 40);
    fake.overlay.keysDown = {0x0D};  // Enter
    form->AppMessage(Mouse::Move, 61, 41);
    EXPECT_EQ(fake.files.written.size(), 1u);
    EXPECT_FALSE(fake.overlay.visible);

    form->MainActions(3);
    fake.overlay.keysDown = {0x1B};  // Esc
    form->AppMessage(Mouse::Move, 5, 5);
    EXPECT_FALSE(fake.overlay.visible);
    EXPECT_EQ(fake.files.written.size(), 1u);
}

TEST_F(AreaShot, ACommandLineAreaShotQuitsOnceSavedOrCancelled) {
    for (bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "applied");
        FakePorts ports;
        ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        ports.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "WorkMode", RegistryValue::Number(AutosaveMode));
        ports.files.directories = {"C:\\Screenshots"};
        TAppMainForm f(ports.ports, {"C:\\Tools\\kadrilio.exe", "/screenshot_selected"});
        f.FormCreate();
        f.Timer3Timer();
        ASSERT_TRUE(ports.overlay.visible);
        f.AppMessage(Mouse::LeftDown, 5, 5);
        f.AppMessage(Mouse::Move, 25, 15);
        f.AppMessage(Mouse::LeftUp, 25, 15);
        cancel ? f.AllocationFormN2Click() : f.AllocationFormN1Click();
        EXPECT_EQ(ports.files.written.size(), cancel ? 0u : 1u);
        EXPECT_TRUE(ports.windows.loopEnded);
        if (!cancel) {
            EXPECT_EQ(f.Settings.NumberAutosave, 1);
        }
    }
}

TEST(Crop, PartsBeyondTheImageAreBlackAtEveryDepth) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        SCOPED_TRACE(bits);
        Bitmap image = Bitmap::Blank(10, 6, bits);
        if (bits <= 8) image.palette.assign(size_t{1} << bits, 0);
        std::fill(image.pixels.begin(), image.pixels.end(), 0xFF);  // every pixel the highest value
        const Bitmap crop = CropBitmap(image, {7, 4, 13, 8});       // 3 x 2 inside, the rest beyond
        ASSERT_EQ(crop.width, 6);
        ASSERT_EQ(crop.height, 4);
        EXPECT_EQ(crop.palette, image.palette);
        auto pixel = [&](int32_t x, int32_t y) {
            const uint8_t* row = crop.Row(y);
            if (bits >= 8) return static_cast<unsigned>(row[x * bits / 8]);
            const int perByte = 8 / bits;
            return static_cast<unsigned>((row[x / perByte] >> (8 - bits * (x % perByte + 1))) & ((1 << bits) - 1));
        };
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(pixel(x, y) != 0, x < 3 && y < 2) << x << "," << y;
    }
}

}  // namespace
}  // namespace kadrilo
