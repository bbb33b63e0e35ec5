#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/AppMainForm.h"
#include "capture/BitmapParts.h"
#include "fakes/Fakes.h"
#include "settings/SettingsStore.h"

namespace kadrilo {
namespace {

using ::testing::ElementsAre;
using testing::FakePorts;

class InscriptionShot : public ::testing::Test {
protected:
    FakePorts fake;
    std::unique_ptr<TAppMainForm> form;

    void Start(int32_t mode) {
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "AppVersion", RegistryValue::Number(21));
        fake.registry.Set(RegistryRoot::CurrentUser, SettingsKey, "WorkMode", RegistryValue::Number(mode));
        fake.files.directories = {"C:\\Screenshots", "C:\\Screenshots\\Continuous"};
        form = std::make_unique<TAppMainForm>(fake.ports, std::vector<std::string>{"C:\\Tools\\kadrilio.exe"});
        form->FormCreate();
        form->Settings.InscriptionEnabled = true;
        form->Settings.InscriptionText = "Shot";
        form->Settings.EnableDateTime = false;
    }
};

TEST_F(InscriptionShot, EveryShotCarriesItAtItsPlace) {
    Start(AutosaveMode);
    form->Settings.InscriptionCoordinates = 0;  // top left, at the offsets
    form->Settings.InsX = 5;
    form->Settings.InsY = 6;
    form->Settings.FontSize = 100;
    form->MainActions(1);
    ASSERT_EQ(fake.text.drawn.size(), 1u);
    EXPECT_EQ(fake.text.drawn[0].text, "Shot");
    EXPECT_EQ(fake.text.drawn[0].font.points, 72) << "the size clamp";
    EXPECT_EQ(form->Settings.FontSize, 72) << "written back";
    EXPECT_EQ(fake.files.written.size(), 1u);

    form->Settings.InscriptionEnabled = false;
    form->MainActions(1);
    EXPECT_EQ(fake.text.drawn.size(), 1u) << "off: nothing drawn";
}

TEST_F(InscriptionShot, NoPositionEndsTheRequestAndAnEmptyTextDrawsNothing) {
    Start(AutosaveMode);
    form->Settings.InscriptionCoordinates = -1;
    form->MainActions(1);
    EXPECT_TRUE(fake.files.written.empty());
    EXPECT_THAT(fake.sound.played, ElementsAre("beep"));

    form->Settings.InscriptionCoordinates = 3;
    form->Settings.InscriptionText = "";
    form->MainActions(1);
    EXPECT_TRUE(fake.text.drawn.empty());
    EXPECT_EQ(fake.files.written.size(), 1u);
}

TEST_F(InscriptionShot, EachShotOfASeriesHasItsOwnTime) {
    Start(ContinuousMode);
    form->Settings.InscriptionText = "";
    form->Settings.EnableDateTime = true;
    form->Settings.DateTimeFormat = 10;
    fake.clock.separator = ".";
    form->MainActions(1);
    form->Timer2Timer();
    fake.clock.now.second = 10;
    form->Timer2Timer();
    ASSERT_EQ(fake.text.drawn.size(), 2u);
    EXPECT_NE(fake.text.drawn[0].text, fake.text.drawn[1].text);
    EXPECT_NE(fake.text.drawn[1].text.find("14.07.10"), std::string::npos) << fake.text.drawn[1].text;
}

// The Inscription tab's preview: a checkerboard with the inscription centred,
// redrawn by the tab's controls only while the window is visible.
TEST_F(InscriptionShot, ThePreviewCentresTheTextOnTheCheckerboard) {
    Start(AutosaveMode);
    form->Settings.InscriptionCoordinates = 0;  // the preview centres whatever is chosen
    form->SettingChanged(SettingId::InscriptionText, std::string("Preview"));
    EXPECT_TRUE(fake.form.textPreviews.empty()) << "hidden window: nothing redrawn";

    fake.windows.mainVisible = true;
    form->SettingChanged(SettingId::InscriptionStyleBold, int64_t{1});
    ASSERT_EQ(fake.form.textPreviews.size(), 1u);
    ASSERT_EQ(fake.text.drawn.size(), 1u);
    // 7 pixels a letter and 13 high: (336 - 49) / 2 truncated, (48 - 13) / 2 truncated.
    EXPECT_EQ(fake.text.drawn[0].x, 168 - 24);
    EXPECT_EQ(fake.text.drawn[0].y, 24 - 6);
    EXPECT_TRUE(fake.text.drawn[0].font.bold);

    const Bitmap& preview = fake.form.textPreviews[0];
    EXPECT_EQ(preview.width, 336);
    EXPECT_EQ(preview.height, 48);
    auto pixel = [&](int32_t x, int32_t y) {
        const uint8_t* p = preview.Row(y) + 4 * x;
        return static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
    };
    EXPECT_EQ(pixel(0, 0), 0xC0C0C0u) << "silver first";
    EXPECT_EQ(pixel(7, 7), 0xC0C0C0u);
    EXPECT_EQ(pixel(8, 0), 0xFFFFFFu);
    EXPECT_EQ(pixel(0, 8), 0xFFFFFFu);
    EXPECT_EQ(pixel(335, 47), 0xC0C0C0u) << "42 x 6 squares: the last one is silver";

    form->SettingChanged(SettingId::InsX, int64_t{40});  // an offset: the preview ignores it
    EXPECT_EQ(fake.form.textPreviews.size(), 1u);
    form->TabSheet5Show();
    EXPECT_EQ(fake.form.textPreviews.size(), 2u);
}

TEST_F(InscriptionShot, TheSwatchesTakeTheColourConfirmedInTheDialog) {
    Start(AutosaveMode);
    fake.form.chosenColour = 0x123456;
    form->Panel7Click();
    EXPECT_EQ(form->Settings.InscriptionBackGroundColor, 0x123456u);
    EXPECT_EQ(fake.form.textPreviews.size(), 1u) << "redrawn at once";
    fake.form.chosenColour.reset();
    form->Panel6Click();
    EXPECT_EQ(form->Settings.InscriptionFontColor, 0u) << "cancelled: unchanged";
    EXPECT_EQ(fake.form.colourDialogs, 2);
    EXPECT_EQ(fake.form.textPreviews.size(), 1u);
}

TEST(BitmapParts, APastedPartComesBackAsItWas) {
    for (int bits : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bits);
        Bitmap image = Bitmap::Blank(13, 7, bits);
        for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 37 + 11);
        Bitmap part = CropBitmap(image, {3, 2, 11, 6});
        std::fill(image.pixels.begin(), image.pixels.end(), 0);
        PasteBitmap(image, part, 3, 2);
        EXPECT_EQ(CropBitmap(image, {3, 2, 11, 6}).pixels, part.pixels);
        const Bitmap before = image;
        PasteBitmap(image, part, -5, 5);  // mostly beyond the image: only what lies on it changes
        EXPECT_EQ(CropBitmap(image, {0, 0, 13, 5}).pixels, CropBitmap(before, {0, 0, 13, 5}).pixels);
        EXPECT_EQ(CropBitmap(image, {0, 5, 3, 7}).pixels, CropBitmap(part, {5, 0, 8, 2}).pixels);
    }
}

}  // namespace
}  // namespace kadrilo
