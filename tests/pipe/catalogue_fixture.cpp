#include "tests/pipe/catalogue_fixture.hpp"

#include <filesystem>

#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin::testing {

std::vector<std::string> GridSheet() {
  std::vector<std::string> lines = {"0,1,0,0,0,0,"};
  const double w = 49.0 / 0.195, h = 45.0 / 0.195;
  for (int c = 0; c <= 5; ++c) {
    lines.push_back("1,1,0," + FormatF(c * w) + ",0.000000," + FormatF(c * w) + "," +
                    FormatF(4 * h) + ",");
  }
  for (int r = 0; r <= 4; ++r) {
    lines.push_back("1,1,0,0.000000," + FormatF(r * h) + "," + FormatF(5 * w) + "," +
                    FormatF(r * h) + ",");
  }
  return lines;
}

void WriteCatalogue(TestApp& app) {
  std::vector<std::string> names = {"ＴＳ継手", "ＤＶ継手"};
  for (int c = 2; c < 22; ++c) names.push_back("部材" + FormatD(c));
  app.Write("TugiteName.ini", names);
  std::vector<std::string> attributes;
  for (int c = 0; c < 22; ++c) {
    std::string n = FormatD(c);
    attributes.push_back("S" + n + "-1-7,H" + n + "-2-8,C" + n + "-5-1");
  }
  app.Write("TugiteSet.ini", attributes);
  app.Write("Gaikei_Maru.ini", {"100,100", "150,150"});
  app.Write("Gaikei_Koukan.ini", {"15,21.7", "20,27.2", "50,60.5", "80,89.1"});
  // 77 is not a size of the PVC table: it has no size code.
  app.Write("Gaikei_Enbi.ini", {"13,18", "50,60", "77,80"});
  app.Write("Gaikei_Doukan.ini", {"8,9.52", "10,12.7"});
  app.Write("Gaikei_cip.ini", {"50,60", "100,110"});
  app.Write("Gaikei_sus.ini", {"13,15.88", "20,22.22"});

  std::string emptyCells(18, ':');
  app.Write("SheetName.ini", {"1-1:TS1:L10A:L10Z" + emptyCells, "1-2:TS2:T20B" + emptyCells,
                              "21-1:FJ1:F01A" + emptyCells, "21-4:FJ4:J01B" + emptyCells,
                              "13-1:CK1:C01A" + emptyCells, "15-1:CS1:C01A" + emptyCells});
  app.Write("BuzaiName.ini",
            {"1-1:エルボ:90°エルボ:45°エルボ" + emptyCells, "21-1:フレキ:ユニオン型" + emptyCells,
             "21-4:伸縮:伸縮継手" + emptyCells});
  std::vector<std::string> grid = GridSheet();
  app.Write("waku.tec", grid);
  grid.push_back("2,1,0,125.641026,115.384615,50.000000,0.000000,90.000000,");
  app.Write("TS_Sheet1.tec", grid);
}

void WritePartFile(TestApp& app, const std::string& folder, const std::string& name,
                   const std::vector<std::string>& lines) {
  std::filesystem::path dir = app.Root() / folder;
  std::filesystem::create_directories(dir);
  WriteFileAtomically(dir / name, EncodeLines(lines));
}

}  // namespace tavelin::testing
