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
