#include "framework/settings_declaration.hpp"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tavelin {
namespace {

const SettingsDeclaration kSample{
    "Sample.ini",
    {
        {.column = "W",
         .label = "巾",
         .unit = "mm",
         .control = 1,
         .min = 1.0,
         .max = 5000.0,
         .rangeMessage = "巾は1〜5000にしてください。",
         .described = true,
         .required = true},
        {.column = "N", .label = "数", .kind = ParamKind::kInteger, .control = 2},
        {.column = "base",
         .label = "基点",
         .kind = ParamKind::kChoice,
         .values = {{"1", 10, "左"}, {"2", 11, "右"}},
         .described = true},
        {.column = "mirror", .label = "左右反転", .kind = ParamKind::kFlag, .control = 3},
        {.column = "A", .label = "角度", .unit = "°", .control = 4, .described = true},
        {.column = "size", .label = "サイズ", .kind = ParamKind::kText, .control = 5},
    }};

TEST(SettingsDeclaration, BatchCellsAreParsedStrictly) {
  struct Case {
    const char* column;
    const char* cell;
    const char* stored;  // nullptr: refused
  };
  const Case cases[] = {
      {"W", "600", "600"},
      {"W", "12.5", "12.5"},
      {"W", "1,200", nullptr},
      {"W", "4OO", nullptr},
      {"W", "", nullptr},
      {"W", "0", nullptr},
      {"W", "1e300", nullptr},
      {"W", "nan", nullptr},
      {"W", "-", nullptr},
      {"W", ".", nullptr},
      {"N", "3", "3"},
      {"N", "3.5", nullptr},
      {"N", "", ""},
      {"base", "2", "2"},
      {"base", "右", "2"},
      {"base", "3", nullptr},
      {"mirror", "1", "1"},
      {"mirror", "yes", nullptr},
      {"A", "-45", "-45"},
      {"A", "1e2", "1e2"},
      {"size", "600x300", "600x300"},
      {"size", "6\r\n", nullptr},
  };
  for (const Case& c : cases) {
    const ParamDecl& decl = kSample.lines[kSample.LineOf(c.column)];
    const ParsedValue parsed = ParseDeclaredValue(decl, c.cell);
    SCOPED_TRACE(std::string(c.column) + " " + c.cell);
    if (c.stored) {
      EXPECT_TRUE(parsed.Ok()) << parsed.error;
      EXPECT_EQ(parsed.text, c.stored);
    } else {
      EXPECT_FALSE(parsed.Ok());
      // The refusal names the column, and the text when it is not just missing.
      EXPECT_NE(parsed.error.find(c.column), std::string::npos) << parsed.error;
    }
  }
  EXPECT_EQ(kSample.LineOf("mIRROR"), 3);
  EXPECT_EQ(kSample.LineOf("nothing"), -1);
}

TEST(SettingsDeclaration, StoredLinesThatDoNotFitAreRefused) {
  EXPECT_EQ(RefusedSettings(kSample, {"600", "", "1", "0", "90", "600x300"}), "");
  EXPECT_EQ(RefusedSettings(kSample, {"600"}), "");  // a short file is read as far as it goes
  EXPECT_NE(RefusedSettings(kSample, std::vector<std::string>(100000, "1")), "");
  EXPECT_NE(RefusedSettings(kSample, {"600", "", "1", "0", "90", std::string(300, '6')}), "");
  EXPECT_NE(RefusedSettings(kSample, {"600", "", "7"}), "");
  EXPECT_NE(RefusedSettings(kSample, {"99999"}), "");
}

TEST(SettingsDeclaration, ControlsRoundTripAndTheDescriptionNamesTypedValues) {
  std::map<int, std::string> texts;
  std::map<int, bool> checks;
  DeclaredControls controls;
  controls.text = [&](int id) { return texts[id]; };
  controls.setText = [&](int id, std::string text) { texts[id] = std::move(text); };
  controls.checked = [&](int id) { return checks[id]; };
  controls.setChecked = [&](int id, bool on) { checks[id] = on; };
  controls.checkRadio = [&](int id) {
    checks[10] = checks[11] = false;
    checks[id] = true;
  };
  const std::vector<std::string> stored = {"600", "2", "2", "1", "45", "#25"};
  ApplyDeclaredLines(kSample, stored, controls);
  EXPECT_EQ(DeclaredLines(kSample, controls), stored);
  EXPECT_EQ(DescribeTypedValues(kSample, stored), "W=600 base=右 A=45°");

  // A lenient line keeps its control for a text that is none of its values;
  // no radio checked writes the choice's empty text.
  ApplyDeclaredLines(kSample, {"600", "2", "9", "x"}, controls);
  EXPECT_TRUE(checks[11]);
  EXPECT_TRUE(checks[3]);
  checks[11] = false;
  EXPECT_EQ(DeclaredLines(kSample, controls)[2], "");
}

}  // namespace
}  // namespace tavelin
