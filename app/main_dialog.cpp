#include "app/main_dialog.hpp"

#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace {

constexpr int kNoCode = -1;

// A set number outside 1 to 6 falls back to set 1.
int ValidSet(int n) { return n >= 1 && n <= 6 ? n : 1; }

}  // namespace

MainDialog::MainDialog(ui::AppContext& app) : Dialog(app, "Main") {
  using ui::EventKind;
  auto open = [this](int code, const char* className) {
    return [this, code, className] { OpenDialog(code, className); };
  };
  auto switchTo = [this](int n) { return [this, n] { SwitchAttributes(n); }; };
  SetMessageMap({
      {EventKind::kClick, 1000, open(0, "PartsMenuDialog")},
      {EventKind::kClick, 1001, open(kNoCode, "PipeAttrDialog")},
      {EventKind::kClick, 1002,
       [this] {
         OpenDialog(kNoCode, "DuctAttrDialog");
         Refresh();
       }},
      {EventKind::kClick, 1003, open(2, "Bunki3Dialog")},
      {EventKind::kClick, 1004, open(3, "Bunki2Dialog")},
      {EventKind::kClick, 1005, open(4, "ErboDialog")},
      {EventKind::kClick, 1006, open(5, "SErboDialog")},
      {EventKind::kClick, 1007, open(6, "TukiDialog")},
      {EventKind::kClick, 1011, open(7, "JyogeDialog")},
      {EventKind::kClick, 1012, open(8, "SmagariDialog")},
      {EventKind::kClick, 1014, open(9, "UboxDialog")},
      {EventKind::kClick, 1008, open(10, "OtiDialog")},
      {EventKind::kClick, 1009, open(11, "AnemoUDialog")},
      {EventKind::kClick, 1010, open(12, "AnemoBDialog")},
      {EventKind::kClick, 1013, open(13, "ChokuDialog")},
      {EventKind::kClick, 1015, open(16, "LineAttrDialog")},
      {EventKind::kClick, 1016, open(19, "FlexDialog")},
      {EventKind::kClick, 1017, open(20, "FuriageDialog")},
      {EventKind::kClick, 1018, open(21, "DanpaDialog")},
      {EventKind::kClick, 1019, open(22, "UpdownDialog")},
      {EventKind::kClick, 1020, open(23, "KakuboxDialog")},
      {EventKind::kClick, 1021, open(24, "Jyoge2Dialog")},
      {EventKind::kClick, 1022, open(25, "LineTypeDialog")},
      {EventKind::kClick, 1128, open(kNoCode, "LayerPrefixDialog")},
      {EventKind::kClick, 1386, switchTo(1)},
      {EventKind::kClick, 1387, switchTo(2)},
      {EventKind::kClick, 1388, switchTo(3)},
      {EventKind::kClick, 1389, switchTo(4)},
      {EventKind::kClick, 1390, switchTo(5)},
      {EventKind::kClick, 1391, switchTo(6)},
      {EventKind::kClick, kByLayer, [this] { OnByLayer(); }},
      {EventKind::kClick, kBlockBrowser, open(kNoCode, "BlockBrowserDialog")},
  });
}

void MainDialog::OnInitDialog() {
  SwitchAttributes(0);
  Refresh();
}

void MainDialog::OpenDialog(int code, const char* className) {
  if (code != kNoCode) Info().WriteLine("Command.ini", FormatD(code));
  if (!App().createDialog || !App().ui) return;
  std::unique_ptr<ui::Dialog> dialog = App().createDialog(className, App());
  if (dialog) App().ui->RunModal(*dialog);
}

void MainDialog::ShowStatus(const std::vector<std::string>& memos, int n) {
  SetItemText(kStatusLine, "属性は【" + memos[ValidSet(n) - 1] + "】が選択されています。");
}

namespace {

// Writes `lines` unless the file already holds them (an unreadable file is written anew).
void WriteIfChanged(const InfoFolder& info, std::string_view name,
                    const std::vector<std::string>& lines) {
  try {
    if (info.Exists(name) && info.ReadToEnd(name, lines.size() + 1) == lines) return;
  } catch (const FileError&) {
  }
  info.WriteLines(name, lines);
}

}  // namespace

void MainDialog::SwitchAttributes(int n) {
  const InfoFolder& info = Info();
  std::vector<std::string> memos = info.ReadLines("Memo.ini", 6);
  std::vector<std::string> lineTypes = info.ReadLines("SenSyu.ini", 11);
  if (n == 0) {
    n = ValidSet(ToInt(info.ReadLine("Sentaku.ini")));
    for (int s = 1; s <= 6; ++s) SetChecked(kFirstSwitch + s - 1, s == n);
  }
  for (int s = 1; s <= 6; ++s) SetItemText(kFirstSwitch + s - 1, memos[s - 1]);
  ShowStatus(memos, n);

  std::vector<std::string> sets = info.ReadLines("DakutoSubSet.ini", 42);
  int k = 0;
  for (int s = 1; s <= 6; ++s) {
    if (IsChecked(kFirstSwitch + s - 1)) k = s;
  }
  k = ValidSet(k);
  std::vector<std::string> active;
  for (int e = 1; e <= 7; ++e) {
    const std::string& line = sets[7 * (k - 1) + e - 1];
    int type = ToInt(Token(line, 2));
    // A line type number outside 1 to 11 names no line type.
    std::string typeName = type >= 1 && type <= 11 ? lineTypes[type - 1] : std::string();
    active.push_back(Token(line, 1) + "-" + typeName + "-" + Token(line, 3));
  }
  // Written only when they change: a start rewrites nothing.
  WriteIfChanged(info, "DakutoSet.ini", active);
  WriteIfChanged(info, "Sentaku.ini", {FormatD(k)});
}

void MainDialog::Refresh() {
  std::vector<std::string> memos = Info().ReadLines("Memo.ini", 6);
  int n = ToInt(Info().ReadLine("Sentaku.ini"));
  ShowStatus(memos, n);
  SetChecked(kByLayer, Info().ReadLine("ByLayer.ini") == "1");
}

void MainDialog::OnByLayer() { Info().WriteLine("bylayer.ini", IsChecked(kByLayer) ? "1" : "0"); }

}  // namespace tavelin
