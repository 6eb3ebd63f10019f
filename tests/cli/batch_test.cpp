// The batch: a CSV list of fittings becomes a folder of blocks, a catalogue
// page and a summary that names every refused row and every warning.
#include "cli/batch.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <thread>

#include "app/dialog_registry.hpp"
#include "cli/batch_columns.hpp"
#include "cli/catalogue.hpp"
#include "cli/cli_commands.hpp"
#include "framework/codepage.hpp"
#include "framework/handoff.hpp"
#include "framework/text.hpp"
#include "tests/pipe/catalogue_fixture.hpp"
#include "tests/support/sanitizers.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
namespace fs = std::filesystem;
using testing::TestApp;

TEST(BatchCsv, FieldsQuotesLineEndsAndTheByteOrderMark) {
  struct Case {
    std::string text;
    std::vector<std::vector<std::string>> rows;
  } cases[] = {
      {"a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}},
      {"\xEF\xBB\xBFstem,W1\n", {{"stem", "W1"}}},
      {"\"x,y\",\"say \"\"hi\"\"\"\n", {{"x,y", "say \"hi\""}}},
      {"\"two\nlines\",3", {{"two\nlines", "3"}}},
      {"a,,\n,\n", {{"a", "", ""}, {"", ""}}},
      {"エルボ,５\n", {{"エルボ", "５"}}},
  };
  for (const Case& c : cases) {
    std::vector<std::vector<std::string>> rows;
    std::string error;
    ASSERT_TRUE(ParseCsv(c.text, rows, error)) << c.text;
    EXPECT_EQ(rows, c.rows) << c.text;
  }
  std::vector<std::vector<std::string>> rows;
  std::string error;
  EXPECT_FALSE(ParseCsv("a,\"open\n", rows, error));
  EXPECT_NE(error.find("引用符"), std::string::npos);
}

TEST(BatchCatalogue, PicturesKeepYUpAndTheColourIndices) {
  using blockbuilder::Entity;
  using blockbuilder::EntityKind;
  Entity arc;
  arc.kind = EntityKind::kArc;
  arc.v[0] = 0, arc.v[1] = 0, arc.v[2] = 10, arc.v[3] = 0, arc.v[4] = 90;
  arc.attributes.colour = 1;
  const std::string svg = BlockSvg({arc});
  // A quarter from (10, 0) to (0, 10): up on paper is -y in the picture, and
  // counter-clockwise becomes the negative sweep.
  EXPECT_NE(svg.find("M10 0 A10 10 0 0 0 0 -10"), std::string::npos) << svg;
  EXPECT_NE(svg.find("stroke=\"#ff0000\""), std::string::npos);
  EXPECT_EQ(AciColour(7), "#ffffff");
  EXPECT_EQ(AciColour(30), "#ff8000");
  EXPECT_EQ(AciColour(250), "#333333");
  EXPECT_EQ(UrlPathEscape("CK#1 名.dxf"), "CK%231%20%E5%90%8D.dxf");
}

struct BatchRun {
  int status = 0;
  std::string out, err;
};

BatchRun Batch(const TestApp& test, const std::string& csv, std::vector<std::string> extra = {}) {
  const fs::path file = test.Root() / "list.csv";
  std::ofstream(file, std::ios::binary) << csv;
  std::vector<std::string> args = {"--root", test.Root().string(),          "batch", file.string(),
                                   "--out",  (test.Root() / "out").string()};
  args.insert(args.end(), extra.begin(), extra.end());
  std::ostringstream out, err;
  BatchRun run;
  run.status = RunCommandLine("tavelin-cli", args, out, err);
  run.out = out.str();
  run.err = err.str();
  return run;
}

std::string ReadAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The catalogue page as a reader sees it: the tags left out.
std::string Shown(const std::string& html) {
  std::string text;
  bool inTag = false;
  for (char c : html) {
    if (c == '<') inTag = true;
    if (!inTag) text += c;
    if (c == '>') inTag = false;
  }
  return text;
}

// One list through every path: blocks written for the built generators,
// each kind of refusal with its row, the rest going on after a bad row, and
// the warnings just past each rule but not just inside it.
TEST(Batch, RowsBecomeBlocksRefusalsAndWarnings) {
  TestApp test;
  const std::vector<std::string> storedElbow = test.Lines("Erbo.ini");
  const BatchRun run = Batch(test,
                             "stem,W1,R,W2,type,D,size,length,13\n"
                             "Erbo,400,200,400,,,,,\n"     // row 2: inside the radius rule
                             "Erbo,400,199,400,,,,,\n"     // row 3: just past it
                             "Danpa,,,,FD+,600x150,,,\n"   // row 4: ratio 4
                             "Danpa,,,,VD,601x150,,,\n"    // row 5: just past 4
                             "Choku,,,,,,601x150,3640,\n"  // row 6: just past 4
                             "Oti,,,,,,,,\n"               // row 7: the stored reducer, too steep
                             "Erbo,400,200,500,,,,,\n"     // row 8: W2 > W1, refused at OK
                             "Nowhere,,,,,,,,\n"           // row 9
                             "Erbo,400,200,400,MD,,,,\n"   // row 10: type for the elbow
                             "Danpa,,,,XD,,,,\n"           // row 11: no such type
                             "Choku,400,,,,,,,1\n"         // row 12: W1 is not the duct's
                             "\n"
                             "Erbo,500,250,500,,,,,300\n"   // row 14: line 13 is L2
                             "Erbo,\"400\n999\",,,,,,,\n",  // row 15: a value over two lines
                             {"--json"});
  EXPECT_EQ(run.status, 3) << run.err;
  const std::string& json = run.out;
  EXPECT_TRUE(Has(json, "\"rows\":13,\"written\":7,\"refused\":6")) << json;
  for (int row : {2, 3, 4, 5, 6, 7, 14}) {
    EXPECT_TRUE(Has(json, "{\"row\":" + std::to_string(row) + ",\"stem\":")) << row;
  }
  auto rowText = [&](int row) {
    const size_t at = json.find("{\"row\":" + std::to_string(row) + ",");
    return at == std::string::npos ? std::string() : json.substr(at, json.find('}', at) - at);
  };
  EXPECT_TRUE(Has(rowText(2), "\"warnings\":[]")) << rowText(2);
  EXPECT_TRUE(Has(rowText(3), "案内羽根")) << rowText(3);
  EXPECT_TRUE(Has(rowText(4), "\"warnings\":[]")) << rowText(4);
  EXPECT_TRUE(Has(rowText(5), "縦横比")) << rowText(5);
  EXPECT_TRUE(Has(rowText(6), "短辺を 151 以上")) << rowText(6);
  EXPECT_TRUE(Has(rowText(7), "片落ちの拡大角度")) << rowText(7);
  EXPECT_TRUE(Has(rowText(8), "先管巾は元管巾以下")) << rowText(8);
  EXPECT_TRUE(Has(rowText(9), "Nowhere.ini")) << rowText(9);
  EXPECT_TRUE(Has(rowText(10), "type の列")) << rowText(10);
  EXPECT_TRUE(Has(rowText(11), "XD")) << rowText(11);
  EXPECT_TRUE(Has(rowText(12), "列 W1 は Choku")) << rowText(12);
  EXPECT_TRUE(Has(rowText(15), "列 W1 の値に改行")) << rowText(15);

  // Every written block is in the folder and on the catalogue page, linked
  // relatively; the refused rows left nothing behind.
  const std::string html = ReadAll(test.Root() / "out" / "index.html");
  size_t blocks = 0;
  for (const auto& entry : fs::directory_iterator(test.Root() / "out")) {
    if (entry.path().extension() != ".dxf") continue;
    ++blocks;
    const std::string name = entry.path().stem().string();
    EXPECT_TRUE(Has(html, "href=\"" + UrlPathEscape(name + ".dxf") + "\"")) << name;
  }
  EXPECT_EQ(blocks, 7u);
  EXPECT_TRUE(Has(html, "ChokuKan1820601x150211303640"))
      << "the size typed with its height names the duct";
  EXPECT_TRUE(Has(Shown(html), "FD+ L1=")) << "the damper's type and dimensions";
  EXPECT_TRUE(Has(Shown(html), "W1=500 R=250 W2=500 L1=100 A=90° L2=300"))
      << "line numbers and kept values, as the elbow's declaration describes them";
  // The rows worked on a copy: the stored settings of the root are untouched.
  EXPECT_EQ(test.Lines("Erbo.ini"), storedElbow);
}

// The page is put together from figures kept on disk while the rows run: a
// figure left out (its name taken by a later row) is missing from the page
// and its count, and the page is the one a single write of the rest makes.
TEST(BatchCatalogue, FiguresWrittenAsTheyComeMakeTheSamePage) {
  TestApp test;
  std::vector<CatalogueEntry> entries(3);
  for (size_t i = 0; i < entries.size(); ++i) {
    entries[i].blockName = "B<" + std::to_string(i) + ">";
    entries[i].generator = "エルボ";
    entries[i].dimensions = "W1=" + std::to_string(100 * (i + 1));
    blockbuilder::Entity line;
    line.v[2] = 10.0 * (i + 1);
    entries[i].entities = {line};
  }
  entries[2].warnings = {"縦横比 & 巾"};
  const fs::path streamed = test.Root() / "streamed", whole = test.Root() / "whole";
  fs::create_directories(streamed);
  fs::create_directories(whole);
  {
    CatalogueWriter writer(streamed);
    for (const CatalogueEntry& entry : entries) writer.Add(entry);
    writer.Drop(1);
    writer.Finish();
  }
  WriteCatalogue(whole, {entries[0], entries[2]});
  const std::string page = ReadAll(streamed / "index.html");
  EXPECT_EQ(page, ReadAll(whole / "index.html"));
  EXPECT_TRUE(Has(page, "（2 個）")) << page;
  EXPECT_FALSE(Has(page, "B&lt;1&gt;"));
  EXPECT_TRUE(Has(page, "縦横比 &amp; 巾"));
  // Nothing but the page is left beside it.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(streamed))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"index.html"});
}

// Two rows of one name: the later block replaces the earlier on the page,
// which shows it once; every row still reports in its order.
TEST(Batch, ALaterRowOfTheSameNameReplacesTheEarlierOnThePage) {
  TestApp test;
  const BatchRun run = Batch(test,
                             "stem,size,length\n"
                             "Choku,400x200,1000\n"   // row 2
                             "Choku,500x250,1200\n"   // row 3
                             "Choku,400x200,1000\n",  // row 4: the name of row 2
                             {"--json"});
  EXPECT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_TRUE(Has(run.out, "\"rows\":3,\"written\":3,\"refused\":0")) << run.out;
  EXPECT_TRUE(Has(run.out, "行 2 と同じブロック名")) << run.out;
  EXPECT_LT(run.out.find("{\"row\":2,"), run.out.find("{\"row\":3,"));
  EXPECT_LT(run.out.find("{\"row\":3,"), run.out.find("{\"row\":4,"));
  const std::string html = ReadAll(test.Root() / "out" / "index.html");
  EXPECT_TRUE(Has(html, "（2 個）")) << html;
  size_t figures = 0;
  for (size_t at = html.find("<figure"); at != std::string::npos; at = html.find("<figure", at + 1))
    ++figures;
  EXPECT_EQ(figures, 2u);
  for (const auto& entry : fs::directory_iterator(test.Root() / "out"))
    EXPECT_FALSE(Has(entry.path().filename().string(), ".tmp")) << entry.path();
}

// The batch hands each job to its builder in memory; the block is the one
// the builder program writes from a job folder, byte for byte. A name held
// by another block sends the job again under the next name, as the program's
// run does, and leaves the other block alone.
TEST(Batch, JobsHandedOverInMemoryMakeTheProgramsBlocks) {
  TestApp test;
  fs::create_directories(test.Root() / "exes");
  fs::copy_file(testing::BinDir() / "tavelin-blockbuilder", test.Root() / "exes" / "Forvane");
  std::ostringstream out, err;
  ASSERT_EQ(RunCommandLine("tavelin-cli",
                           {"--root", test.Root().string(), "run", "ErboDialog", "set:1003=500",
                            "ok"},
                           out, err),
            0)
      << err.str();
  const std::string viaProgram = out.str();
  const size_t at = viaProgram.find("block written: ");
  ASSERT_NE(at, std::string::npos) << viaProgram;
  const std::string name = viaProgram.substr(at + 15, viaProgram.find('\n', at) - at - 15);
  const std::string programBlock = ReadAll(test.Root() / "blocks" / (name + ".dxf"));
  ASSERT_FALSE(programBlock.empty());

  // The elbow's name ends in a number of its own each time: the blocks are
  // compared with the names swapped.
  auto blocksOf = [&](const fs::path& folder) {
    std::map<std::string, std::string> found;  // name: bytes
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == ".dxf")
        found[entry.path().stem().string()] = ReadAll(entry.path());
    }
    return found;
  };
  auto renamed = [&](const std::string& other) {
    std::string bytes = programBlock;
    for (size_t at = bytes.find(name); at != std::string::npos; at = bytes.find(name, at + 1))
      bytes.replace(at, name.size(), other);
    return bytes;
  };
  // Each batch starts the run-time's numbers afresh, so both try one name first.
  ProcessRandom().Reset();
  const BatchRun first = Batch(test, "stem,W1\nErbo,500\n", {"--from-stored"});
  ASSERT_EQ(first.status, 0) << first.err << first.out;
  const auto firstBlocks = blocksOf(test.Root() / "out");
  ASSERT_EQ(firstBlocks.size(), 1u);
  const std::string batchName = firstBlocks.begin()->first;
  EXPECT_EQ(firstBlocks.begin()->second, renamed(batchName));

  // The name taken by a file of other content: the case differs, as a CAD
  // program's names do not.
  std::string taken = batchName;
  for (char& c : taken) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  fs::remove_all(test.Root() / "out");
  fs::create_directories(test.Root() / "out");
  std::ofstream(test.Root() / "out" / (taken + ".dxf"), std::ios::binary) << "another block";
  ProcessRandom().Reset();
  const BatchRun again = Batch(test, "stem,W1\nErbo,500\n", {"--json", "--from-stored"});
  ASSERT_EQ(again.status, 0) << again.err << again.out;
  std::map<std::string, std::string> blocks = blocksOf(test.Root() / "out");
  EXPECT_EQ(blocks[taken], "another block");
  blocks.erase(taken);
  ASSERT_EQ(blocks.size(), 1u);
  const std::string next = blocks.begin()->first;
  EXPECT_NE(next, batchName);
  EXPECT_TRUE(Has(again.out, "\"block\":\"" + next + "\"")) << again.out;
  EXPECT_EQ(blocks.begin()->second, renamed(next)) << "the same block under the next name";
}

TEST(Batch, UnusableFilesStopBeforeAnyRow) {
  TestApp test;
  EXPECT_EQ(Batch(test, "W1,R\nErbo,400\n").status, 2);
  EXPECT_EQ(Batch(test, "stem,\"W1\nErbo,400\n").status, 2);
  EXPECT_EQ(Batch(test, "").status, 2);
  // The text summary of a list whose rows all succeed, saved by a spreadsheet
  // in CP932 rather than UTF-8: its Japanese note column is still a note.
  const BatchRun run = Batch(test, Utf8ToCp932("stem,W1,R,W2,備考\nErbo,400,200,400,標準エルボ\n"));
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(Has(run.out, "rows: 1, written: 1, refused: 0")) << run.out;
  EXPECT_TRUE(Has(run.err, "1/1 行 2 Erbo: 作成 ER_")) << run.err;
}

// A pipe given as the list is refused without being opened: opening it
// would wait for a writer. A helper thread stands in for a writer, so that a
// batch that opens it is freed (and the case fails) instead of hanging.
TEST(Batch, APipeAsTheListIsRefusedUnopened) {
  TestApp test;
  const fs::path fifo = test.Root() / "list.csv";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::atomic<bool> done{false}, opened{false};
  std::thread writer([&] {
    while (!done) {
      const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
      if (fd >= 0) {
        opened = true;
        ::close(fd);
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  std::ostringstream out, err;
  const int status = RunCommandLine(
      "tavelin-cli", {"--root", test.Root().string(), "batch", fifo.string()}, out, err);
  done = true;
  writer.join();
  EXPECT_EQ(status, 2);
  EXPECT_FALSE(opened) << "the batch opened the pipe";
  EXPECT_TRUE(Has(err.str(), "not a regular file")) << err.str();
}

// Memory follows the file, not the number of its fields and rows: 4 MiB of
// commas in one row and 4 MiB of empty rows.
TEST(Batch, MemoryStaysASmallMultipleOfTheList) {
#ifdef TAVELIN_TEST_ASAN
  // The sanitizers' shadow memory makes the figure meaningless, and their
  // allocator has no fork handler: the forked child can wait on its lock.
  GTEST_SKIP() << "memory is measured without the sanitizers";
#endif
  TestApp test;
  const fs::path file = test.Root() / "list.csv";
  constexpr size_t kMiB = 1024 * 1024;
  {
    std::ofstream out(file, std::ios::binary);
    out << "stem\n" << std::string(4 * kMiB, ',') << "\n" << std::string(4 * kMiB, '\n');
  }
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  const pid_t child = testing::ForkParked();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rusage before{}, after{};
    ::getrusage(RUSAGE_SELF, &before);
    std::ostringstream out, err;
    const int status = RunCommandLine("tavelin-cli",
                                      {"--root", test.Root().string(), "batch", file.string(),
                                       "--out", (test.Root() / "out").string()},
                                      out, err);
    ::getrusage(RUSAGE_SELF, &after);
    const std::string report =
        std::to_string(status) + " " + std::to_string(after.ru_maxrss - before.ru_maxrss);
    (void)!::write(pipeFds[1], report.data(), report.size());
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  char buffer[64] = {};
  const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer - 1);
  ::close(pipeFds[0]);
  ::waitpid(child, nullptr, 0);
  ASSERT_GT(got, 0);
  int status = -1;
  long grownKiB = -1;
  ASSERT_EQ(std::sscanf(buffer, "%d %ld", &status, &grownKiB), 2) << buffer;
  EXPECT_EQ(status, 0);
  // The file is 8 MiB; every field kept would take some 65 times that.
  EXPECT_LT(grownKiB, 10 * 8 * 1024) << "KiB grown for an 8 MiB list";
}

// A batch killed by a signal leaves its scratch copy and its temporary files
// among the blocks; the next batch removes those of processes that no longer
// run, and nothing else.
TEST(Batch, ScratchCopiesOfDeadBatchesAreRemoved) {
  TestApp test;
  testing::TempDir scratch;
  const char* previous = std::getenv("TMPDIR");
  const std::string saved = previous ? previous : "";
  ::setenv("TMPDIR", scratch.Path().c_str(), 1);
  const pid_t dead = testing::ForkParked();
  if (dead == 0) ::_exit(0);
  ::waitpid(dead, nullptr, 0);
  const fs::path left = scratch.Path() / ("tavelin-batch-" + std::to_string(dead) + "-12");
  const fs::path running =
      scratch.Path() / ("tavelin-batch-" + std::to_string(::getppid()) + "-13");
  const fs::path other = scratch.Path() / "tavelin-batch-notes";
  for (const fs::path& dir : {left, running, other}) {
    fs::create_directories(dir / "info");
    std::ofstream(dir / "info" / "Erbo.ini") << "400\r\n";
  }
  // And what it left beside its blocks: a block and the catalogue's figures
  // half written.
  const fs::path out = test.Root() / "out";
  const std::string tmp = ".tmp" + std::to_string(dead) + "_";
  const fs::path halfBlock = out / ("ER_1.dxf" + tmp + "3");
  const fs::path halfFigures = out / ("index.html.figures" + tmp + "0");
  fs::create_directories(out);
  for (const fs::path& file : {halfBlock, halfFigures}) std::ofstream(file) << "half";
  const BatchRun run = Batch(test, "stem,W1,R,W2\nErbo,400,200,400\n");
  EXPECT_FALSE(fs::exists(halfBlock));
  EXPECT_FALSE(fs::exists(halfFigures));
  if (previous) {
    ::setenv("TMPDIR", saved.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(running / "info" / "Erbo.ini"));
  EXPECT_TRUE(fs::exists(other / "info" / "Erbo.ini"));
  // Its own copy went with it.
  EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Path()), fs::directory_iterator()), 2);
}

// A part drawn at scale 2 (the part menu's worked example).
const std::vector<std::string> kElbowPart = {
    "0,2,30,20,10,5,",   "1,1,0,10,-10,60,-20,", "2,2,0,4,-3,2,0,90,",
    "1,5,0,-10,0,90,0,", "1,3,0,0,0,0,0,",
};

std::string Quoted(const std::string& cell) {
  if (cell.find_first_of(",\"\n") == std::string::npos) return cell;
  std::string quoted = "\"";
  for (char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Every declared settings file, by its own column names: one row for each,
// holding the root's stored values (the damper once for each type file), and
// a pipe part from the part menu's columns. Each row writes its block.
TEST(Batch, EveryDeclaredFileByItsColumnNamesWritesABlock) {
  TestApp test;
  testing::WriteCatalogue(test);
  testing::WritePartFile(test, "TS", "EPUPUSLL1001.ajc", kElbowPart);
  std::vector<std::string> header = {"stem", "type"};
  std::vector<std::map<std::string, std::string>> rows;
  auto column = [&](std::string_view name) {
    for (const std::string& known : header) {
      if (EqualsIgnoreCase(known, name)) return;
    }
    header.emplace_back(name);
  };
  std::vector<std::string> files;
  for (const DialogEntry& entry : DialogTable()) {
    if (!entry.declarations) continue;
    for (const SettingsDeclaration* decl : entry.declarations()) {
      std::map<std::string, std::string> row;
      const std::string file(decl->file);
      row["stem"] = entry.stem.empty() ? file.substr(0, file.rfind('.')) : std::string(entry.stem);
      if (entry.stem == "Danpa") {
        for (const DamperType& type : kDamperTypes) {
          if (EqualsIgnoreCase(type.file, file)) row["type"] = std::string(type.name);
        }
        if (row["type"].empty()) continue;  // the type memory, not a drawing's file
      }
      const std::vector<std::string> stored =
          entry.stem.empty() ? std::vector<std::string>{"0", "1", "1", "50", "50", "90", "7", "1"}
                             : test.Lines(file);
      for (size_t i = 0; i < decl->lines.size() && i < stored.size(); ++i) {
        column(decl->lines[i].column);
        row[Lower(decl->lines[i].column)] = stored[i];
      }
      rows.push_back(row);
      files.push_back(file);
    }
  }
  ASSERT_GE(rows.size(), 8u) << "the seven generators of this change and the part menu";
  std::string csv;
  for (size_t c = 0; c < header.size(); ++c) csv += (c ? "," : "") + header[c];
  csv += "\n";
  for (auto& row : rows) {
    for (size_t c = 0; c < header.size(); ++c)
      csv += (c ? "," : "") + Quoted(row[Lower(header[c])]);
    csv += "\n";
  }
  const BatchRun run = Batch(test, csv, {"--json"});
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_TRUE(Has(run.out, "\"rows\":" + std::to_string(rows.size()) +
                               ",\"written\":" + std::to_string(rows.size())))
      << run.out;
  // The part's block, and its description from the part menu's declaration.
  EXPECT_TRUE(Has(run.out, "\"block\":\"@TS_")) << run.out;
  const std::string html = ReadAll(test.Root() / "out" / "index.html");
  EXPECT_TRUE(Has(Shown(html),
                  "category=0 classification=1 cell=1 main_size=50 branch_size=50 "
                  "rotation=90° base=左下 mirror=1"))
      << html;
}

// Each refusal names the column and the text; the other rows go on.
TEST(Batch, StrictCellsRefuseTheRowNamingColumnAndText) {
  TestApp test;
  testing::WriteCatalogue(test);
  testing::WritePartFile(test, "TS", "EPUPUSLL1001.ajc", kElbowPart);
  // An empty cell keeps the stored value; a required one stored empty refuses.
  std::vector<std::string> elbow = test.Lines("Erbo.ini");
  elbow.at(0) = "";
  test.Write("Erbo.ini", elbow);
  const struct Case {
    std::string row;
    std::string reason;  // empty: written
  } cases[] = {
      {"Erbo,\"1,200\",500,,,,", "W1: 「1,200」は寸法（600 や 600x150）ではありません"},
      {"Erbo,4OO,500,,,,", "W1: 「4OO」は寸法（600 や 600x150）ではありません"},
      {"Erbo,,500,,,,", "W1: 値が空です"},
      {"Erbo,500,500,,,,,,extra", "9 列目に見出しがありません: 「extra」"},
      {"Erbo,500,500,,,,", ""},
      {"Furiage,,,abc,,,", "W: 「abc」は数値ではありません"},
      {"Jyoge2,,,300,25,,", "count: 個数は1から20までの整数を入力してください。"},
      {"Flex,,,,,0.9,", "Rf: 中心曲率半径は1.0以下は入力できません。"},
      {"Kakubox,,,,,,16", "列 16 は Kakubox の設定行にありません"},
      {"BuzaiSentaku,,,,,,", "category: 値が空です"},
  };
  std::string csv = "stem,W1,W2,W,count,Rf,16,category\n";
  for (const Case& c : cases) csv += c.row + "\n";
  const BatchRun run = Batch(test, csv, {"--json", "--from-stored"});
  EXPECT_EQ(run.status, 3);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string key = "{\"row\":" + std::to_string(i + 2) + ",";
    const size_t at = run.out.find(key);
    ASSERT_NE(at, std::string::npos) << key << run.out;
    const std::string row = run.out.substr(at, run.out.find('}', at) - at);
    if (cases[i].reason.empty()) {
      EXPECT_TRUE(Has(row, "\"written\"")) << row;
    } else {
      EXPECT_TRUE(Has(row, cases[i].reason)) << cases[i].row << "\n" << row;
    }
  }
  // A part size the menu does not offer would silently become its first size.
  const BatchRun part = Batch(test,
                              "stem,category,classification,cell,main_size,branch_size\n"
                              "BuzaiSentaku,0,1,1,65,50\n");
  EXPECT_TRUE(Has(part.out, "main_size: 「65」は選べません（「13」になります）")) << part.out;
}

// docs/batch.md's column tables are the declarations' own.
// The same list gives the same library whatever the dialogs last stored;
// --from-stored starts from those instead. The catalogue names every row
// that gave no block, shows the list's notes and keeps each value whole.
TEST(Batch, RowsStartFromTheDefaultsAndTheCatalogueNamesRefusals) {
  TestApp test;
  const std::string csv =
      "stem,W1,note,備考\n"
      "Erbo,,first,一番\n"          // row 2: every value the default's
      "Nowhere,,lost,\n"           // row 3: refused
      "Danpa,,,ＦＤ\n";             // row 4: the default damper
  std::vector<std::string> elbow = test.Lines("Erbo.ini");
  elbow.at(0) = "1234";
  test.Write("Erbo.ini", elbow);
  test.Write("Danpa.ini", {"5"});
  const BatchRun again = Batch(test, csv);
  EXPECT_EQ(again.status, 3) << again.err;
  const std::string html = ReadAll(test.Root() / "out" / "index.html");
  // The stored W1 of 1234 and damper type 5 reached no row.
  EXPECT_FALSE(Has(html, "1234")) << html;
  EXPECT_FALSE(Has(html, "FD+")) << html;
  EXPECT_TRUE(Has(html, "ブロック一覧（2 個、作成できなかった行 1）")) << html;
  EXPECT_TRUE(Has(html, "行 3</span> Nowhere：<span class=\"warn\">設定ファイル Nowhere.ini")) << html;
  EXPECT_TRUE(Has(html, "<span class=\"note\">lost</span>")) << html;
  EXPECT_TRUE(Has(html, "<span class=\"note\">first / 一番</span>")) << html;
  EXPECT_TRUE(Has(html, "<span class=\"note\">ＦＤ</span>")) << html;
  EXPECT_FALSE(Has(html, "break-all}\nfigcaption")) << "only block names break anywhere";

  const BatchRun stored = Batch(test, csv, {"--from-stored"});
  EXPECT_EQ(stored.status, 3) << stored.err;
  const std::string storedHtml = ReadAll(test.Root() / "out" / "index.html");
  EXPECT_TRUE(Has(storedHtml, "<span class=\"v\">W1=1234</span>")) << storedHtml;
  EXPECT_TRUE(Has(storedHtml, "<span class=\"v\">FD+</span>")) << storedHtml;
}

TEST(BatchCatalogue, ValuesNeverBreakWithinThemselves) {
  CatalogueEntry entry;
  entry.blockName = "X";
  entry.dimensions = "FD+ D=500x2 / 50 S=2 / 0 L=3";
  const fs::path folder = fs::temp_directory_path() / ("catalogue-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  WriteCatalogue(folder, {entry});
  const std::string html = ReadAll(folder / "index.html");
  fs::remove_all(folder);
  EXPECT_TRUE(Has(html, "<span class=\"v\">FD+</span> <span class=\"v\">D=500x2 / 50</span> "
                        "<span class=\"v\">S=2 / 0</span> <span class=\"v\">L=3</span>"))
      << html;
}

TEST(BatchDocs, ColumnTablesAreTheDeclarations) {
  const fs::path doc = fs::path(TAVELIN_SOURCE_DATA_DIR).parent_path() / "docs" / "batch.md";
  const std::string text = ReadAll(doc);
  const std::string begin = "<!-- columns: tavelin-cli columns -->\n";
  const std::string end = "<!-- end of columns -->";
  const size_t from = text.find(begin);
  const size_t to = text.find(end);
  ASSERT_NE(from, std::string::npos);
  ASSERT_NE(to, std::string::npos);
  EXPECT_EQ(text.substr(from + begin.size(), to - from - begin.size()), ColumnTablesMarkdown())
      << "regenerate with: tavelin-cli columns";
}

}  // namespace
}  // namespace tavelin
