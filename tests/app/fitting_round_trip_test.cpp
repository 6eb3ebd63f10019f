// A block carries its fitting whole: made with OK, the stored settings then
// changed by another fitting, "再編集" from the block file and OK again give a
// block with the same entities and the same extended data. And what re-edit
// refuses before it writes anything.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>

#include "app/block_browser_dialog.hpp"
#include "app/dialog_registry.hpp"
#include "app/installer.hpp"
#include "duct/choku_dialog.hpp"
#include "duct/danpa_dialog.hpp"
#include "duct/erbo_dialog.hpp"
#include "framework/block_file.hpp"
#include "framework/codepage.hpp"
#include "framework/fitting.hpp"
#include "framework/text.hpp"
#include "framework/toolkit/actions.hpp"
#include "pipe/parts_menu_dialog.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;

std::string FileBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The ENTITIES section of a block file: its drawing and its extended data.
std::string Entities(const fs::path& file) {
  const std::string bytes = FileBytes(file);
  const size_t start = bytes.find("ENTITIES");
  if (start == std::string::npos) return {};
  return bytes.substr(start, bytes.find("ENDSEC", start) - start);
}

// The OK of a dialog: its OK button, or the part menu's start button.
void PressOk(ui::Dialog& dialog) {
  if (dynamic_cast<PartsMenuDialog*>(&dialog)) {
    dialog.UserClick(PartsMenuDialog::kStart);
  } else {
    dialog.UserOk();
  }
  dialog.WaitForBuild();
}

// Opens the dialogs "再編集" opens and presses OK in them at once.
class Host : public testing::RecordingHost {
 public:
  int RunModal(ui::Dialog& dialog) override {
    dialog.Initialize();
    NullCanvas canvas;
    dialog.Paint(canvas);
    PressOk(dialog);
    outcome = dialog.LastBuildOutcome();
    return testing::RecordingHost::RunModal(dialog);
  }
  std::optional<BuildOutcome> outcome;
};

struct Case {
  std::string className;
  std::vector<std::string> actions;       // the fitting of the block
  std::vector<std::string> otherActions;  // another fitting made after it
};

class RoundTrip : public ::testing::Test {
 protected:
  // With `installed`, the root gets the generated part catalogue and the
  // builder as `tavelin-cli init` installs them; else a one-part catalogue.
  explicit RoundTrip(bool installed = false) : launcher(test.Root()) {
    if (installed) {
      InstallRoot(test.Root(), testing::BinDir() / "tavelin-cli");
    } else {
      fs::create_directories(test.Root() / "exes");
      fs::copy_file(testing::BinDir() / "tavelin-blockbuilder", test.Root() / "exes" / "Forvane");
      WritePartCatalogue();
    }
    test.App().ui = &host;
    test.App().launcher = &launcher;
  }

  // A one-part catalogue: category "ＴＳ継手", classification 1, cell 1.
  void WritePartCatalogue() {
    std::vector<std::string> names = {"ＴＳ継手", "ＤＶ継手"};
    std::vector<std::string> attributes;
    for (int c = 0; c < 22; ++c) {
      if (c >= 2) names.push_back("部材" + std::to_string(c));
      const std::string n = std::to_string(c);
      attributes.push_back("S" + n + "-1-7,H" + n + "-2-8,C" + n + "-5-1");
    }
    test.Write("TugiteName.ini", names);
    test.Write("TugiteSet.ini", attributes);
    test.Write("Gaikei_Enbi.ini", {"13,18", "50,60"});
    test.Write("SheetName.ini", {"1-1:TS1:L10A" + std::string(19, ':')});
    test.Write("BuzaiName.ini", {"1-1:エルボ:90°エルボ" + std::string(19, ':')});
    test.Write("waku.tec", {"0,1,0,0,0,0,", "1,1,0,0,0,1256.410256,0,"});
    test.Write("TS_Sheet1.tec", {"0,1,0,0,0,0,", "1,1,0,0,0,1256.410256,0,"});
    fs::create_directories(test.Root() / "TS");
    WriteFileAtomically(
        test.Root() / "TS" / "EPUPUSLL1001.ajc",
        EncodeLines({"0,1,30,20,10,5,", "1,1,0,10,-10,60,-20,", "2,2,0,4,-3,2,0,90,"}));
  }

  // Opens `className` as the main dialog does, carries out `actions`, presses
  // OK and returns the block written. `strict` expects every action and OK to
  // be taken; otherwise an action a control refuses (disabled or hidden by an
  // earlier choice) is skipped, and a refused OK gives nothing.
  std::optional<std::string> MakeBlock(const std::string& className,
                                       const std::vector<std::string>& actions, bool strict) {
    std::unique_ptr<ui::Dialog> dialog = CreateDialog(className, test.App());
    dialog->Initialize();
    NullCanvas canvas;
    dialog->Paint(canvas);
    for (const std::string& action : actions) {
      ui::ModelActions target(*dialog);
      const std::string refused = ui::ApplyAction(*dialog, target, action);
      if (strict) EXPECT_EQ(refused, "") << action;
      if (refused.empty()) dialog->Paint(canvas);
    }
    host.messages.clear();
    PressOk(*dialog);
    const std::optional<BuildOutcome>& outcome = dialog->LastBuildOutcome();
    const bool written = outcome && outcome->written && host.messages.empty();
    if (strict) EXPECT_TRUE(written) << (outcome ? outcome->reason : "no build");
    if (!written) return std::nullopt;
    return outcome->blockName;
  }
  std::string Make(const std::string& className, const std::vector<std::string>& actions) {
    return MakeBlock(className, actions, true).value_or("");
  }
  std::optional<std::string> TryMake(const std::string& className,
                                     const std::vector<std::string>& actions) {
    return MakeBlock(className, actions, false);
  }

  fs::path BlockPath(const std::string& name) { return test.Root() / "blocks" / (name + ".dxf"); }

  // The block `first` (made by `className` with `actions`), after another
  // fitting of the same dialog changed the stored settings, re-edited from
  // the browser: the same entities and the same extended data come back.
  void ExpectReeditGivesTheSameBlock(const std::string& first, const std::string& other) {
    const BlockFile block = ReadBlockFile(BlockPath(first));
    ASSERT_TRUE(block.data.Present());
    const std::vector<SettingsFileLines> files = block.data.Files();
    ASSERT_FALSE(files.empty());
    ASSERT_NE(Entities(BlockPath(other)), Entities(BlockPath(first)));
    bool changed = false;
    for (const SettingsFileLines& file : files) {
      if (test.Info().Exists(file.name)) {
        changed = changed || test.Info().ReadToEnd(file.name, 1000) != file.lines;
      }
    }
    EXPECT_TRUE(changed);

    BlockBrowserDialog browser(test.App());
    browser.Initialize();
    ASSERT_TRUE(browser.WaitLoaded());
    int index = -1;
    for (size_t i = 0; i < browser.Entries().size(); ++i) {
      if (browser.Entries()[i].name == first) index = static_cast<int>(i);
    }
    ASSERT_GE(index, 0);
    ASSERT_TRUE(browser.UserSelect(BlockBrowserDialog::kList, index));
    host.outcome.reset();
    host.messages.clear();
    ASSERT_TRUE(browser.UserClick(BlockBrowserDialog::kReedit));
    ASSERT_TRUE(host.outcome && host.outcome->written)
        << (host.outcome ? host.outcome->reason : "")
        << (host.messages.empty() ? "" : host.messages.front().text);
    for (const SettingsFileLines& file : files) {
      EXPECT_EQ(test.Info().ReadToEnd(file.name, 1000), file.lines) << file.name;
    }
    const fs::path again = BlockPath(host.outcome->blockName);
    EXPECT_EQ(Entities(again), Entities(BlockPath(first)));
    const BlockData data = ReadBlockFile(again).data;
    EXPECT_EQ(data.description, block.data.description);
    EXPECT_EQ(data.Files(), files);
    EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
  }

  testing::TestApp test;
  Host host;
  ProcessLauncher launcher;
};

TEST_F(RoundTrip, ReeditFromTheBlockGivesTheSameBlockAgain) {
  std::vector<Case> cases = {
      {"ErboDialog", {"set:1003=650", "set:1011=60", "click:1013"}, {"set:1003=450", "click:1013"}},
      {"ChokuDialog", {"set:1007=600x300", "set:1009=2400", "click:1124"}, {"set:1007=400x200"}},
      {"PartsMenuDialog",
       {"select:1100=0", "click:1111", "dblclick:1101=1", "point:250,30", "click:1135",
        "click:1140", "click:1150"},
       {"click:1130", "click:1148", "click:1150"}},
  };
  // The damper, each of its five types, and then another type and width.
  for (int type = 0; type < 5; ++type) {
    const std::string radio = std::to_string(DanpaDialog::kTypeVd + type);
    const std::string other = std::to_string(DanpaDialog::kTypeVd + (type + 2) % 5);
    cases.push_back(
        {"DanpaDialog",
         {"click:" + radio, "set:1208=" + std::to_string(310 + 10 * type), "click:1013"},
         {"click:" + other, "set:1208=250", "click:1013"}});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className + " " + c.actions.front());
    const std::string first = Make(c.className, c.actions);
    ASSERT_FALSE(first.empty());
    ExpectReeditGivesTheSameBlock(first, Make(c.className, c.otherActions));
  }
}

// Every generator with random values, and ten random pipe parts of the
// installed catalogue: OK, another fitting of the same dialog, re-edit.
class EveryFitting : public RoundTrip {
 protected:
  EveryFitting() : RoundTrip(true) {}

  // Random changes to a generator's declared values as the dialog shows them
  // at opening: about half the numbers scaled (each a whole number in its
  // range), radios picked, check boxes toggled.
  std::vector<std::string> RandomActions(const DialogEntry& entry) {
    std::unique_ptr<ui::Dialog> shown = CreateDialog(entry.className, test.App());
    shown->Initialize();
    std::vector<std::string> actions;
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    for (const SettingsDeclaration* decl : entry.declarations()) {
      for (const ParamDecl& p : decl->lines) {
        if (pick(2) == 0) continue;
        if (p.kind == ParamKind::kChoice) {
          const ChoiceValue& v = p.values.empty() ? ChoiceValue{} : p.values[pick(p.values.size())];
          if (v.control) actions.push_back("click:" + std::to_string(v.control));
          continue;
        }
        if (!p.control || !shown->FindControl(p.control)) continue;
        if (p.kind == ParamKind::kFlag) {
          actions.push_back("click:" + std::to_string(p.control));
          continue;
        }
        if (p.kind != ParamKind::kNumber && p.kind != ParamKind::kInteger &&
            p.kind != ParamKind::kSize)
          continue;
        // Each number of the text ("600" or "600x150") scaled alike.
        static constexpr double kFactors[] = {0.5, 0.8, 0.9, 1.1, 1.25, 2.0};
        const double factor = kFactors[pick(std::size(kFactors))];
        const std::string text = shown->FindControl(p.control)->Text();
        std::string changed;
        const char* at = text.c_str();
        bool any = false;
        while (*at) {
          char* end = nullptr;
          const double v = std::strtod(at, &end);
          if (end == at || !std::isdigit(static_cast<unsigned char>(*at))) {
            changed += *at++;
            continue;
          }
          const double scaled = std::clamp(std::round(v * factor), p.min, p.max);
          changed += FormatD(static_cast<int>(scaled));
          any = any || scaled != v;
          at = end;
        }
        if (any) actions.push_back("set:" + std::to_string(p.control) + "=" + changed);
      }
    }
    return actions;
  }

  // A random pipe part: category, classification, cell, main size, rotation,
  // base point and mirror, then the start button.
  std::vector<std::string> RandomPart(size_t categories) {
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    const int cell = pick(20);
    return {"select:1100=" + std::to_string(pick(static_cast<int>(categories))),
            "click:" + std::to_string(PartsMenuDialog::kFirstClassification + pick(3)),
            "point:" + std::to_string(255 + 49 * (cell % 5)) + "," +
                std::to_string(34 + 45 * (cell / 5)),
            "dblclick:1101=" + std::to_string(pick(3)),
            "click:" + std::to_string(PartsMenuDialog::kFirstRotation + pick(8)),
            "click:" + std::to_string(PartsMenuDialog::kFirstBase + pick(9)),
            pick(2) ? "click:1150" : "focus:1150"};
  }

  // Two different fittings from `random`, each tried until OK writes it (most
  // random cells of the part sheets hold no part). A refused try puts the
  // settings `files` back, so that the values never drift from the defaults.
  std::optional<std::pair<std::string, std::string>> TwoFittings(
      const std::string& className, const std::vector<std::string>& files,
      const std::function<std::vector<std::string>()>& random, int attempts = 60) {
    std::optional<std::string> first, other;
    for (int attempt = 0; attempt < attempts && !(first && other); ++attempt) {
      std::vector<std::pair<fs::path, std::optional<std::string>>> stored;
      for (const std::string& file : files) {
        const fs::path path = test.Root() / "info" / file;
        stored.emplace_back(path, fs::exists(path) ? std::optional(FileBytes(path)) : std::nullopt);
      }
      const std::vector<std::string> actions = random();
      std::optional<std::string> made = TryMake(className, actions);
      if (!made) {
        for (const auto& [path, bytes] : stored) {
          if (bytes) {
            WriteFileAtomically(path, *bytes);
          } else {
            fs::remove(path);
          }
        }
        continue;
      }
      if (!first) {
        first = made;
      } else if (Entities(BlockPath(*made)) != Entities(BlockPath(*first))) {
        other = made;
      }
    }
    if (!first || !other) return std::nullopt;
    return std::make_pair(*first, *other);
  }

  // TAVELIN_ROUND_TRIP_SEED tries other values.
  std::mt19937 rng{static_cast<std::mt19937::result_type>(
      std::getenv("TAVELIN_ROUND_TRIP_SEED") ? std::atol(std::getenv("TAVELIN_ROUND_TRIP_SEED"))
                                             : 20261209)};
};

TEST_F(EveryFitting, ReeditGivesTheSameBlockWithRandomValues) {
  int generators = 0;
  for (const DialogEntry& entry : DialogTable()) {
    if (entry.stem.empty() || !entry.declarations) continue;
    SCOPED_TRACE(std::string(entry.className));
    ++generators;
    // The damper once for each of its five types.
    const int rounds = entry.className == "DanpaDialog" ? 5 : 1;
    for (int type = 0; type < rounds; ++type) {
      std::vector<std::string> files;
      for (const SettingsDeclaration* decl : entry.declarations()) files.emplace_back(decl->file);
      const auto fittings = TwoFittings(std::string(entry.className), files, [&] {
        std::vector<std::string> actions = RandomActions(entry);
        if (rounds > 1) {
          actions.insert(actions.begin(), "click:" + std::to_string(DanpaDialog::kTypeVd + type));
        }
        return actions;
      });
      ASSERT_TRUE(fittings) << "no two different fittings were written";
      ExpectReeditGivesTheSameBlock(fittings->first, fittings->second);
    }
  }
  EXPECT_EQ(generators, 18);

  const size_t categories = test.Lines("TugiteName.ini").size();
  ASSERT_GT(categories, 10u);
  for (int part = 0; part < 10; ++part) {
    SCOPED_TRACE("pipe part " + std::to_string(part));
    const auto parts = TwoFittings(
        "PartsMenuDialog", {PartsMenuDialog::kChoicesFile}, [&] { return RandomPart(categories); },
        1000);
    ASSERT_TRUE(parts) << "no two different parts were written";
    ExpectReeditGivesTheSameBlock(parts->first, parts->second);
  }
}

TEST_F(RoundTrip, TheBlockNamesItsDialogAndEveryFileWhateverTheSharedFoldersSay) {
  // The main dialog last opened something else, and the elbow's settings
  // file is rewritten by another window while the damper is open.
  test.Write("Command.ini", {"4"});
  DanpaDialog damper(test.App());
  damper.Initialize();
  ASSERT_TRUE(damper.UserClick(DanpaDialog::kTypeVd + 3));  // FD
  ASSERT_TRUE(damper.UserSetText(DanpaDialog::kL1, "420"));
  ASSERT_TRUE(damper.UserClick(DanpaDialog::kUpdate));
  test.Write("Danpa_FD.ini", {"999"});
  test.Write("Sentaku.ini", {"6"});
  damper.UserOk();
  damper.WaitForBuild();
  ASSERT_TRUE(damper.LastBuildOutcome() && damper.LastBuildOutcome()->written);
  const BlockData data = ReadBlockFile(BlockPath(damper.LastBuildOutcome()->blockName)).data;
  EXPECT_EQ(data.className, "DanpaDialog");
  EXPECT_EQ(data.code, 21);
  // The fitting, its typed dimensions, then its outline.
  EXPECT_EQ(data.description.rfind("ダンパー L1=420 ", 0), 0u) << data.description;
  EXPECT_NE(data.description.find(" 外形 "), std::string::npos) << data.description;
  const std::vector<std::string> memos = test.Lines("Memo.ini");
  EXPECT_NE(data.description.find("属性【" + memos.at(0) + "】"), std::string::npos);
  ASSERT_EQ(data.Files().size(), 2u);
  EXPECT_EQ(data.Files()[0], (SettingsFileLines{"Danpa.ini", {"4"}}));
  EXPECT_EQ(data.Files()[1].name, "Danpa_FD.ini");
  EXPECT_EQ(data.Files()[1].lines.at(0), "420");
  EXPECT_EQ(data.Files()[1].lines.size(), damper.SettingsLineCount("Danpa_FD.ini"));
}

TEST_F(RoundTrip, ThePartsBlockDescribesThePartAndItsPlacing) {
  const std::string name =
      Make("PartsMenuDialog", {"select:1100=0", "click:1111", "dblclick:1101=1", "point:250,30",
                               "click:1135", "click:1140", "click:1150"});
  const BlockData data = ReadBlockFile(BlockPath(name)).data;
  EXPECT_EQ(data.description.rfind(
                "継手・部材 90°エルボ サイズ 50 回転 225° 基点 左上 ミラー有 外形 ", 0),
            0u)
      << data.description;
  ASSERT_EQ(data.Files().size(), 1u);
  EXPECT_EQ(data.Files()[0].name, "BuzaiSentaku.ini");
  EXPECT_EQ(data.Files()[0].lines, test.Lines("BuzaiSentaku.ini"));
}

// What a block's data must be before re-edit writes it: each row is refused
// with nothing written.
TEST_F(RoundTrip, ReeditRefusesDataThatDoesNotFitBeforeWritingAnything) {
  const BlockData good =
      ReadBlockFile(BlockPath(Make("ErboDialog", {"set:1003=650", "click:1013"}))).data;
  ErboDialog elbow(test.App());
  const size_t lines = elbow.SettingsLineCount("Erbo.ini");
  ASSERT_GT(lines, 10u);
  EXPECT_EQ(elbow.SettingsLineCount("Memo.ini"), 0u);

  struct Bad {
    const char* what;
    std::function<void(BlockData&)> change;
    const char* says;
  };
  const std::vector<Bad> bad = {
      {"an unknown class", [](BlockData& d) { d.className = "EvilDialog"; }, "わかりません"},
      {"another stem", [](BlockData& d) { d.stem = "Memo"; }, "のものではありません"},
      {"100,000 lines", [](BlockData& d) { d.settings.assign(100000, "12345678901234567890"); },
       "100000 行"},
      {"one line too many", [&](BlockData& d) { d.settings.resize(lines + 1, "1"); }, "行まで"},
      {"a line over 255 bytes",
       [](BlockData& d) {
         d.settings[0] =
             std::string(200, '1') + "幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅幅";
       },
       "バイト"},
      {"a line end", [](BlockData& d) { d.settings[1] = "1\r2"; }, "改行"},
      {"a file the dialog never writes",
       [](BlockData& d) {
         d.otherFiles.push_back({"Memo.ini", {"x"}});
       },
       "Memo.ini"},
  };
  test.Write("Command.ini", {"10"});
  const std::string erbo = test.Bytes("Erbo.ini");
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.what);
    BlockData data = good;
    b.change(data);
    // The block as a file in the blocks folder, selected and re-edited.
    const XdataItems items = ToXdata(data);
    std::string text =
        "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n1001\nTAVELIN\n";
    for (const auto& [code, value] : items)
      text += std::to_string(code) + "\n" + Utf8ToCp932(value) + "\n";
    text += "0\nENDSEC\n0\nEOF\n";
    const BlockFile parsed = ParseBlockFile(text);
    ASSERT_TRUE(parsed.data.Present());
    ErboDialog dialog(test.App());
    EXPECT_NE(RefusedReedit(parsed.data, dialog).find(b.says), std::string::npos)
        << RefusedReedit(parsed.data, dialog);

    std::ofstream(test.Root() / "blocks" / "ZZ_BAD.dxf", std::ios::binary | std::ios::trunc)
        << text;
    BlockBrowserDialog browser(test.App());
    browser.Initialize();
    ASSERT_TRUE(browser.WaitLoaded());
    int index = -1;
    for (size_t i = 0; i < browser.Entries().size(); ++i) {
      if (browser.Entries()[i].name == "ZZ_BAD") index = static_cast<int>(i);
    }
    ASSERT_TRUE(browser.UserSelect(BlockBrowserDialog::kList, index));
    host.messages.clear();
    browser.UserOk();  // Enter is re-edit
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].text.find("再編集できません"), std::string::npos);
    EXPECT_EQ(test.Bytes("Erbo.ini"), erbo);
    EXPECT_EQ(test.Lines("Command.ini"), std::vector<std::string>{"10"});
    EXPECT_FALSE(test.Info().Exists("Memo.ini") && test.Lines("Memo.ini").at(0) == "x");
  }
  EXPECT_EQ(RefusedReedit(good, elbow), "");

  // A block written before the other files were stored: its one group is the
  // generator's own file.
  XdataItems old = {{1000, "ErboDialog"}, {1000, "Erbo"}, {1070, "4"},   {1000, "一般両エルボ"},
                    {1002, "{"},          {1000, "650"},  {1000, "200"}, {1002, "}"}};
  const BlockData read = FromXdata(old);
  EXPECT_EQ(read.Files(), (std::vector<SettingsFileLines>{{"Erbo.ini", {"650", "200"}}}));
  EXPECT_EQ(ToXdata(read), old);
}

// A straight duct's size text becomes its block name: a character a CAD
// program refuses in a block name is refused at OK, named, with nothing
// written or started.
TEST_F(RoundTrip, AStraightDuctNameACadProgramWouldRefuseIsRefusedAtOk) {
  const std::vector<std::pair<std::string, std::string>> sizes = {
      {"1000*200", "*"}, {"600:300", ":"}, {"450<2", "<"}, {"450,1", ","}, {"45>2", ">"},
      {"4/2", "/"},      {"4\\2", "\\"},   {"4\"2", "\""}, {"4;2", ";"},   {"4?2", "?"},
      {"4|2", "|"},      {"4=2", "="},     {"4`2", "`"}};
  for (const auto& [size, character] : sizes) {
    SCOPED_TRACE(size);
    ChokuDialog duct(test.App());
    duct.Initialize();
    const std::string settings = test.Bytes("Choku.ini"), name = test.Bytes("DrawName.ini");
    ASSERT_TRUE(duct.UserSetText(ChokuDialog::kSize, size));
    host.messages.clear();
    duct.UserOk();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "入力確認");
    EXPECT_NE(host.messages[0].text.find("「" + character + "」"), std::string::npos);
    EXPECT_EQ(test.Bytes("Choku.ini"), settings);
    EXPECT_EQ(test.Bytes("DrawName.ini"), name);
    EXPECT_FALSE(duct.LastBuildOutcome().has_value());
    EXPECT_FALSE(fs::exists(test.Root() / "jobs") && !fs::is_empty(test.Root() / "jobs"));
  }
  // The names of the other generators are made of numbers.
  EXPECT_EQ(CadRefusedCharacter("ER_2572D00000018467"), "");
  EXPECT_EQ(CadRefusedCharacter("@TS_E090913L1001_F41"), "");
}

}  // namespace
}  // namespace tavelin
