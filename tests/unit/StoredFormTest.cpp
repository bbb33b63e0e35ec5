#include <gtest/gtest.h>

#include "settings/stored/SettingOrders.h"
#include "settings/stored/StoredForm.h"

namespace kadrilo {
namespace {

const SystemKeyNames NoSystemNames = [](uint8_t) { return std::string(); };
const std::vector<std::string> Fonts{"Arial", "Courier New"};
const StoredContext Context{NoSystemNames, Fonts};

// A record in which every field differs from its default.
AppSettings Changed() {
    AppSettings s;
    for (const SettingField& field : SettingFields()) {
        if (field.type == FieldType::Text)
            field.Text(s) = field.control == Control::FontList ? "Courier New" : "text of " + std::string(field.name);
        else if (field.type == FieldType::Shortcut)
            field.Key(s) = Shortcut{static_cast<uint16_t>(Shortcut::Ctrl | Shortcut::Shift | 0x41)};
        else
            field.SetNumber(s, field.Number(s) == field.max ? field.min : field.max);
    }
    return s;
}

// What is stored reads back as the same value, for every field of every order.
TEST(StoredForm, EveryStoredFieldReadsBackAsItWas) {
    const AppSettings changed = Changed();
    for (auto order : {RegistryWriteOrder(), ExportOrder(), ImportOrder()}) {
        AppSettings read;
        for (SettingId id : order) {
            const SettingField& field = Field(id);
            SCOPED_TRACE(field.name);
            const std::optional<StoredValue> stored = ToStored(field, changed, NoSystemNames);
            ASSERT_TRUE(stored);
            EXPECT_TRUE(FromStored(field, *stored, read, Context));
            if (field.type == FieldType::Text)
                EXPECT_EQ(field.Text(read), field.Text(changed));
            else
                EXPECT_EQ(field.Number(read), field.Number(changed));
        }
    }
}

TEST(StoredForm, WhatIsNotWrittenAndWhatIsSkipped) {
    AppSettings s;
    s.SoundMode = -1;
    EXPECT_FALSE(ToStored(Field(SettingId::SoundMode), s, NoSystemNames)) << "no choice selected";
    EXPECT_FALSE(ToStored(Field(SettingId::UserHotKey2), s, NoSystemNames)) << "an empty shortcut";
    // A value of the other kind leaves the field as it was.
    EXPECT_FALSE(FromStored(Field(SettingId::FontSize), StoredValue{std::string("12")}, s, Context));
    EXPECT_FALSE(FromStored(Field(SettingId::NameAutosave), StoredValue{int64_t{5}}, s, Context));
    EXPECT_EQ(s.FontSize, 10);
    EXPECT_EQ(s.NameAutosave, "Screenshot-");
}

TEST(StoredForm, StoredNumbersAreTakenAsTheControlsTakeThem) {
    struct Case {
        SettingId id;
        int64_t stored;
        int64_t applied;
    };
    for (const Case& c : {Case{SettingId::FontSize, 200, 72}, Case{SettingId::QualityJPEG, -5, 0},
                          Case{SettingId::GraphFormatAutosave, 7, -1}, Case{SettingId::WorkMode, 9, 3},
                          Case{SettingId::HotKey2Mode, 5, 0}, Case{SettingId::IncludeCursor, 7, 1},
                          Case{SettingId::InscriptionFontColor, 0x7F123456, 0x123456},
                          Case{SettingId::InscriptionCoordinates, 99, 6}, Case{SettingId::InscriptionCoordinates, -3, 0},
                          Case{SettingId::InsX, -5, 0}, Case{SettingId::InsY, 1000, 100}}) {
        const SettingField& field = Field(c.id);
        SCOPED_TRACE(field.name);
        AppSettings s;
        FromStored(field, StoredValue{c.stored}, s, Context);
        EXPECT_EQ(field.Number(s), c.applied);
    }
    AppSettings s;
    FromStored(Field(SettingId::FontName), StoredValue{std::string("No Such Font")}, s, Context);
    EXPECT_EQ(s.FontName, "Arial") << "the font rule";
}

}  // namespace
}  // namespace kadrilo
