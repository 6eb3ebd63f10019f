#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <fstream>
#include <thread>

#include "app/block_browser_dialog.hpp"
#include "app/dialog_registry.hpp"
#include "app/main_dialog.hpp"
#include "duct/erbo_dialog.hpp"
#include "framework/block_file.hpp"
#include "framework/codepage.hpp"
#include "framework/handoff.hpp"
#include "framework/part_library.hpp"
#include "framework/settings_declaration.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;
using Browser = BlockBrowserDialog;

// Runs the dialogs opened from the browser and answers its questions.
class Host : public testing::RecordingHost {
 public:
  int RunModal(ui::Dialog& dialog) override {
    dialog.Initialize();
    if (auto* elbow = dynamic_cast<ErboDialog*>(&dialog)) {
      reopenedWidth = elbow->FindControl(ErboDialog::kInletWidth)->Text();
    }
    return testing::RecordingHost::RunModal(dialog);
  }
  bool AskYesNo(ui::Dialog*, const std::string& text, const std::string&) override {
    questions.push_back(text);
    return answer;
  }
  std::string reopenedWidth;
  std::vector<std::string> questions;
  bool answer = false;
};

class BlockBrowserTest : public ::testing::Test {
 protected:
  BlockBrowserTest() : launcher(test.Root()) {
    fs::create_directories(test.Root() / "exes");
    fs::copy_file(testing::BinDir() / "tavelin-blockbuilder", test.Root() / "exes" / "Forvane");
    test.App().ui = &host;
    test.App().launcher = &launcher;
  }

  // The elbow dialog as the main dialog opens it, `width` typed in, then OK.
  std::string MakeElbow(const std::string& width) {
    test.Write("Command.ini", {"4"});
    ErboDialog elbow(test.App());
    elbow.Initialize();
    elbow.UserSetText(ErboDialog::kInletWidth, width);
    elbow.UserClick(ErboDialog::kUpdate);
    elbow.UserOk();
    return test.Lines("DrawName.ini").at(0);
  }

  // Polls as the window does until `count` blocks are listed (at most 30 s).
  static void WaitFor(Browser& browser, size_t count) {
    const auto start = std::chrono::steady_clock::now();
    while (browser.Entries().size() < count &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
      std::this_thread::sleep_for(std::chrono::milliseconds(Browser::kPollMilliseconds / 4));
      browser.Poll();
    }
  }

  testing::TestApp test;
  Host host;
  ProcessLauncher launcher;
};

TEST_F(BlockBrowserTest, ANewBlockIsListedShownAndReopenedWithItsValues) {
  Browser browser(test.App());
  browser.Initialize();
  ASSERT_TRUE(browser.WaitLoaded());
  EXPECT_EQ(browser.FindControl(Browser::kList)->Count(), 0);
  EXPECT_FALSE(browser.FindControl(Browser::kReedit)->Enabled());

  const auto start = std::chrono::steady_clock::now();
  const std::string name = MakeElbow("650");
  WaitFor(browser, 1);
  const auto listed = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(browser.Entries().size(), 1u);
  EXPECT_LT(listed, std::chrono::seconds(30));  // no endless wait, whatever the load
  EXPECT_EQ(browser.Entries()[0].name, name);
  EXPECT_EQ(browser.FindControl(Browser::kList)->CurSel(), 0);
  EXPECT_EQ(browser.FindControl(Browser::kPath)->Text(),
            (test.Root() / "blocks" / (name + ".dxf")).string());
  EXPECT_EQ(browser.FindControl(Browser::kDescription)->Text().rfind("一般両エルボ W1=", 0), 0u);
  // The list names the fitting and its dimensions, not the block's name.
  EXPECT_EQ(browser.FindControl(Browser::kList)->ItemText(0).rfind("一般両エルボ W1=650 ", 0), 0u);
  const std::vector<std::string> stored = test.Lines("Erbo.ini");
  EXPECT_EQ(browser.Selected().data.settings, stored);
  RecordingCanvas canvas;
  browser.Paint(canvas);
  EXPECT_GE(std::count_if(canvas.calls.begin(), canvas.calls.end(),
                          [](const std::string& c) { return c.rfind("line", 0) == 0; }),
            4);

  // The drafter has moved on to another elbow; re-editing the old block
  // brings its values back into the elbow dialog.
  MakeElbow("500");
  ASSERT_EQ(test.Lines("Erbo.ini").at(0), "500");
  WaitFor(browser, 2);
  ASSERT_EQ(browser.Entries().size(), 2u);
  ASSERT_TRUE(browser.UserSelect(Browser::kList, browser.Entries()[0].name == name ? 0 : 1));
  ASSERT_TRUE(browser.UserClick(Browser::kReedit));
  EXPECT_EQ(host.reopenedWidth, "650");
  EXPECT_EQ(test.Lines("Erbo.ini"), stored);
  EXPECT_EQ(test.Lines("Command.ini"), std::vector<std::string>{"4"});
  EXPECT_TRUE(host.messages.empty());
}

// A block file as the builder writes its data: one line carrying it.
void WriteBlock(const fs::path& path, const BlockData& data, int ageSeconds) {
  std::string text = "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n";
  if (data.Present()) {
    text += std::string("1001\n") + kBlockAppName + "\n";
    for (const auto& [code, value] : ToXdata(data)) {
      text += std::to_string(code) + "\n" + Utf8ToCp932(value) + "\n";
    }
  }
  text += "0\nLINE\n8\n0\n10\n1\n20\n1\n11\n2\n21\n2\n0\nENDSEC\n0\nEOF\n";
  std::ofstream(path, std::ios::binary) << text;
  fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds));
}

TEST_F(BlockBrowserTest, TheListNamesFittingsAndTheSearchFindsThemByFittingSizeOrAttributes) {
  const fs::path blocks = test.Root() / "blocks";
  fs::create_directories(blocks);
  BlockData elbow;
  elbow.className = "ErboDialog";
  elbow.stem = "Erbo";
  elbow.code = 4;
  elbow.settings = test.Lines("Erbo.ini");
  elbow.settings[0] = "650";
  elbow.description = "一般両エルボ W1=650 外形 700 × 700 mm 属性【標準】 レイヤ DUCT";
  BlockData part;
  part.className = "PartsMenuDialog";
  part.code = 0;
  part.description = "継手・部材 90°エルボ サイズ 50 回転 0° 基点 中央 ミラー無 外形 60 × 60 mm "
                     "属性【配管】 レイヤ P";
  part.otherFiles = {{"BuzaiSentaku.ini", {"0", "1", "1", "50", "50", "0", "5", "0"}}};
  WriteBlock(blocks / "ER_650.dxf", elbow, 30);
  WriteBlock(blocks / "@TS_E0909.dxf", part, 20);
  WriteBlock(blocks / "FOREIGN.dxf", BlockData{}, 10);

  Browser browser(test.App());
  browser.Initialize();
  ASSERT_TRUE(browser.WaitLoaded());
  const ui::Control& list = *browser.FindControl(Browser::kList);
  auto lines = [&] {
    std::vector<std::string> shown;
    for (int i = 0; i < list.Count(); ++i) {
      const std::string& line = list.ItemText(i);
      shown.push_back(line.substr(0, line.rfind("　")));  // without the time
    }
    return shown;
  };
  using Lines = std::vector<std::string>;
  const std::string typed = DescribeTypedValues(*DeclarationOfFile("Erbo.ini"), elbow.settings);
  ASSERT_EQ(typed.rfind("W1=650 ", 0), 0u) << typed;
  EXPECT_EQ(lines(), (Lines{"FOREIGN", "90°エルボ サイズ 50", "一般両エルボ " + typed}));

  const struct {
    const char* query;
    Lines shown;
  } searches[] = {
      {"エルボ", {"90°エルボ サイズ 50", "一般両エルボ " + typed}},  // fitting
      {"w1=650", {"一般両エルボ " + typed}},                          // size, any case
      {"配管", {"90°エルボ サイズ 50"}},                              // attribute set
      {"エルボ　標準", {"一般両エルボ " + typed}},  // every word, a full-width blank too
      {"foreign", {"FOREIGN"}},                                        // the block's name
      {"600 配管", {}},
  };
  for (const auto& search : searches) {
    ASSERT_TRUE(browser.UserSetText(Browser::kSearch, search.query));
    EXPECT_EQ(lines(), search.shown) << search.query;
  }
  EXPECT_EQ(list.CurSel(), -1);
  EXPECT_FALSE(browser.FindControl(Browser::kDelete)->Enabled());
  EXPECT_EQ(browser.FindControl(Browser::kPath)->Text(), "");

  // What is selected and deleted is the line shown, whatever the search hides.
  ASSERT_TRUE(browser.UserSetText(Browser::kSearch, "650"));
  EXPECT_EQ(browser.FindControl(Browser::kStatus)->Text(),
            "1 / 3 個のブロック（検索「650」）");
  EXPECT_EQ(browser.FindControl(Browser::kPath)->Text(), (blocks / "ER_650.dxf").string());
  EXPECT_EQ(browser.Selected().data.settings, elbow.settings);
  host.answer = true;
  ASSERT_TRUE(browser.UserClick(Browser::kDelete));
  EXPECT_FALSE(fs::exists(blocks / "ER_650.dxf"));
  EXPECT_TRUE(fs::exists(blocks / "@TS_E0909.dxf"));
  EXPECT_EQ(browser.Entries().size(), 2u);
  ASSERT_TRUE(browser.UserSetText(Browser::kSearch, ""));
  EXPECT_EQ(lines(), (Lines{"FOREIGN", "90°エルボ サイズ 50"}));
}

// The listing reads only a block's data, wherever it lies: a few kilobytes
// in, past the first read (a long header) or nowhere, with LF or CR LF.
TEST(BlockData, ReadUpToTheEntityThatCarriesIt) {
  testing::TestApp test;
  BlockData data;
  data.className = "ErboDialog";
  data.stem = "Erbo";
  data.code = 4;
  data.settings = {"650", "", "R=300"};
  data.description = "一般両エルボ W1=650 属性【標準】";
  data.otherFiles = {{"Danpa_VD.ini", {"1", "2"}}};
  std::string entity = "0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n1001\n" +
                       std::string(kBlockAppName) + "\n";
  for (const auto& [code, value] : ToXdata(data)) {
    entity += std::to_string(code) + "\n" + Utf8ToCp932(value) + "\n";
  }
  const std::string entities = "0\nSECTION\n2\nENTITIES\n" + entity +
                               "0\nLINE\n8\n0\n10\n1\n20\n1\n11\n2\n21\n2\n0\nENDSEC\n0\nEOF\n";
  std::string longHeader = "0\nSECTION\n2\nHEADER\n";
  while (longHeader.size() < 200 * 1024) longHeader += "999\n" + std::string(70, 'x') + "\n";
  longHeader += "0\nENDSEC\n";
  // Headers that end about where the reading of the head stops for a piece
  // (8 KB, then doubling, up to 64 KB), so that a line is cut between two.
  auto header = [](size_t bytes) {
    std::string text = "0\nSECTION\n2\nHEADER\n";
    while (text.size() < bytes) text += "999\n" + std::string(1 + text.size() % 61, 'x') + "\n";
    return text + "0\nENDSEC\n";
  };
  auto crlf = [](std::string text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
  };
  const struct {
    const char* name;
    std::string text;
    bool present;
  } files[] = {
      {"short", entities, true},
      {"long header", longHeader + entities, true},
      {"long header, CR LF", crlf(longHeader + entities), true},
      {"header across the first piece", header(8 * 1024 - 40) + entities, true},
      {"header across the second piece, CR LF", crlf(header(8 * 1024) + entities), true},
      {"header of 40 KB", header(40 * 1024) + entities, true},
      {"header just short of 64 KB", header(64 * 1024 - 120) + entities, true},
      {"no data", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n0\nENDSEC\n0\nEOF\n", false},
      {"data outside the entities", longHeader.substr(0, 100) + "1001\nTAVELIN\n1000\nX\n", false},
      {"not a drawing", "not a drawing", false},
  };
  for (const auto& file : files) {
    const fs::path path = test.Root() / "block.dxf";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << file.text;
    const BlockData read = ReadBlockData(path);
    EXPECT_EQ(read.Present(), file.present) << file.name;
    if (!file.present) continue;
    EXPECT_EQ(read.className, data.className) << file.name;
    EXPECT_EQ(read.description, data.description) << file.name;
    EXPECT_EQ(read.Files(), data.Files()) << file.name;
    // The same as the whole file read for its picture.
    EXPECT_EQ(read.Files(), ReadBlockFile(path).data.Files()) << file.name;
  }
  EXPECT_FALSE(ReadBlockData(test.Root() / "missing.dxf").Present());
}

TEST_F(BlockBrowserTest, NewestFirstForeignBlocksAndDeleting) {
  fs::create_directories(test.Root() / "blocks");
  auto write = [&](const std::string& file, const std::string& text, int ageSeconds) {
    const fs::path path = test.Root() / "blocks" / file;
    std::ofstream(path, std::ios::binary) << text;
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds));
  };
  write("OLD.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n5\n21\n5\n0\nENDSEC\n0\nEOF\n", 60);
  write("NEWER.DXF", "not a drawing", 10);
  write("notes.txt", "", 0);
  Browser browser(test.App());
  browser.Initialize();
  // The window's thread does not list the folder: the list comes later.
  EXPECT_TRUE(browser.Entries().empty());
  EXPECT_EQ(browser.FindControl(Browser::kStatus)->Text(), "読み込み中…");
  EXPECT_FALSE(browser.FindControl(Browser::kDelete)->Enabled());
  ASSERT_TRUE(browser.WaitLoaded());
  EXPECT_EQ(browser.FindControl(Browser::kStatus)->Text(), "2 個のブロック");
  ASSERT_EQ(browser.Entries().size(), 2u);
  EXPECT_EQ(browser.Entries()[0].name, "NEWER");
  EXPECT_NE(browser.FindControl(Browser::kDescription)->Text().find("読めません"), std::string::npos);

  ASSERT_TRUE(browser.UserSelect(Browser::kList, 1));
  EXPECT_EQ(browser.Selected().shapes.size(), 1u);
  EXPECT_EQ(browser.FindControl(Browser::kDescription)->Text(), "作図情報のないブロックです。");
  EXPECT_FALSE(browser.UserClick(Browser::kReedit));  // disabled: nothing to reopen
  browser.UserOk();                                   // Enter is re-edit: refused with a message
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_TRUE(host.modalCaptions.empty());

  host.answer = false;
  ASSERT_TRUE(browser.UserClick(Browser::kDelete));
  EXPECT_TRUE(fs::exists(test.Root() / "blocks" / "OLD.dxf"));
  // The part library loses the deleted block with it.
  const fs::path library = PartLibraryFolder(test.Root()) / kOtherKindFolder;
  SyncPartLibrary(test.Root());
  ASSERT_TRUE(fs::exists(library / "OLD.dxf"));
  host.answer = true;
  ASSERT_TRUE(browser.UserClick(Browser::kDelete));
  EXPECT_EQ(host.questions.size(), 2u);
  EXPECT_FALSE(fs::exists(test.Root() / "blocks" / "OLD.dxf"));
  EXPECT_FALSE(fs::exists(library / "OLD.dxf"));
  EXPECT_TRUE(fs::exists(library / "NEWER.DXF"));
  ASSERT_EQ(browser.Entries().size(), 1u);
  EXPECT_EQ(browser.FindControl(Browser::kList)->CurSel(), 0);
}

// The builder names a block's generator from the code the main dialog writes;
// both must agree, button by button, with the table of dialogs.
TEST(FittingKinds, AgreeWithTheMainDialogAndTheDialogTable) {
  testing::TestApp test;
  std::string opened;
  test.App().createDialog = [&](std::string_view className, ui::AppContext&) {
    opened = className;
    return std::unique_ptr<ui::Dialog>();
  };
  MainDialog main(test.App());
  main.Initialize();
  std::map<int, std::string> byCode;
  for (const auto& control : main.Controls()) {
    if (control->Kind() != ui::ControlKind::kRadioButton || control->Id() < 1000 ||
        control->Id() > 1030) {
      continue;
    }
    test.Write("Command.ini", {"-1"});
    opened.clear();
    main.UserClick(control->Id());
    byCode[std::stoi(test.Lines("Command.ini").at(0))] = opened;
  }
  main.UserClick(1000);
  byCode[std::stoi(test.Lines("Command.ini").at(0))] = opened;
  for (const FittingKind& kind : FittingKinds()) {
    SCOPED_TRACE(kind.code);
    EXPECT_EQ(byCode[kind.code], kind.className);
    EXPECT_EQ(ClassForStem(kind.stem.empty() ? "-" : kind.stem),
              kind.stem.empty() ? std::string_view() : kind.className);
  }
  EXPECT_EQ(byCode.size(), FittingKinds().size());
}

}  // namespace
}  // namespace tavelin
