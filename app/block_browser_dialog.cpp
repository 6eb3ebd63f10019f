#include "app/block_browser_dialog.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

#include "framework/codepage.hpp"
#include "framework/fitting.hpp"
#include "framework/info_folder.hpp"
#include "framework/preview.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

constexpr double kRadian = 3.14159265358979323846 / 180.0;

bool IsBlockFile(const fs::path& path) {
  return EqualsIgnoreCase(path.extension().string(), ".dxf");
}

std::string ShortTime(fs::file_time_type time) {
  const std::time_t t =
      std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(time));
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%m/%d %H:%M", &local);
  return buffer;
}

bool SameListing(const std::vector<BlockBrowserDialog::Entry>& a,
                 const std::vector<BlockBrowserDialog::Entry>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].time != b[i].time || a[i].size != b[i].size) return false;
  }
  return true;
}

}  // namespace

void DrawBlockShapes(Canvas& canvas, const PixelRect& client, const std::vector<BlockShape>& shapes) {
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  auto add = [&](double x, double y) {
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
  };
  for (const BlockShape& s : shapes) {
    if (s.kind == BlockShape::kLine) {
      add(s.v[0], s.v[1]);
      add(s.v[2], s.v[3]);
    } else {
      add(s.v[0] - s.v[2], s.v[1] - s.v[2]);
      add(s.v[0] + s.v[2], s.v[1] + s.v[2]);
    }
  }
  if (minX > maxX) return;
  constexpr int kMargin = 8;
  const double width = std::max(maxX - minX, 1e-9), height = std::max(maxY - minY, 1e-9);
  const double scale = std::min((client.Width() - 2 * kMargin) / width,
                                (client.Height() - 2 * kMargin) / height);
  if (!(scale > 0.0) || !std::isfinite(scale)) return;
  const double cx = (client.left + client.right) / 2.0, cy = (client.top + client.bottom) / 2.0;
  const double mx = (minX + maxX) / 2.0, my = (minY + maxY) / 2.0;
  auto X = [&](double x) { return Pixel(cx + (x - mx) * scale); };
  auto Y = [&](double y) { return Pixel(cy - (y - my) * scale); };
  canvas.SelectPen(pens::kBlack);
  for (const BlockShape& s : shapes) {
    if (s.kind == BlockShape::kLine) {
      canvas.MoveTo(X(s.v[0]), Y(s.v[1]));
      canvas.LineTo(X(s.v[2]), Y(s.v[3]));
      continue;
    }
    const double r = s.v[2];
    const PixelRect box{X(s.v[0] - r), Y(s.v[1] + r), X(s.v[0] + r), Y(s.v[1] - r)};
    if (s.kind == BlockShape::kCircle) {
      canvas.Arc(box, X(s.v[0] + r), Y(s.v[1]), X(s.v[0] + r), Y(s.v[1]));
    } else {
      canvas.Arc(box, X(s.v[0] + r * std::cos(s.v[3] * kRadian)),
                 Y(s.v[1] + r * std::sin(s.v[3] * kRadian)),
                 X(s.v[0] + r * std::cos(s.v[4] * kRadian)),
                 Y(s.v[1] + r * std::sin(s.v[4] * kRadian)));
    }
  }
}

BlockBrowserDialog::BlockBrowserDialog(ui::AppContext& app) : Dialog(app, "BlockBrowser") {
  using ui::EventKind;
  SetMessageMap({
      {EventKind::kSelChange, kList, [this] { ShowSelected(); }},
      {EventKind::kDblClick, kList, [this] { Reedit(); }},
      {EventKind::kClick, kCopy, [this] { Copy(); }},
      {EventKind::kClick, kOpenFolder, [this] { OpenFolder(); }},
      {EventKind::kClick, kDelete, [this] { Delete(); }},
      {EventKind::kClick, kReedit, [this] { Reedit(); }},
  });
}

fs::path BlockBrowserDialog::Folder() const { return Info().Root() / "blocks"; }

std::vector<BlockBrowserDialog::Entry> BlockBrowserDialog::Scan() const {
  std::vector<Entry> entries;
  std::error_code ec;
  for (fs::directory_iterator it(Folder(), ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code kind;
    if (!it->is_regular_file(kind) || !IsBlockFile(it->path())) continue;
    Entry entry;
    entry.file = it->path();
    entry.name = it->path().stem().string();
    entry.time = it->last_write_time(kind);
    entry.size = it->file_size(kind);
    entries.push_back(std::move(entry));
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.time != b.time ? a.time > b.time : a.name < b.name;
  });
  return entries;
}

void BlockBrowserDialog::OnInitDialog() { Fill(Scan(), ""); }

void BlockBrowserDialog::Fill(std::vector<Entry> entries, const std::string& name) {
  entries_ = std::move(entries);
  ui::Control& list = Item(kList);
  list.ResetContent();
  int chosen = entries_.empty() ? -1 : 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    list.AddString(entries_[i].name + "　" + ShortTime(entries_[i].time));
    if (entries_[i].name == name) chosen = static_cast<int>(i);
  }
  list.SetCurSel(chosen);
  SetItemText(kStatus, entries_.empty() ? "ブロックはまだありません（" + Folder().string() + "）"
                                        : FormatD(static_cast<int>(entries_.size())) + " 個のブロック");
  ShowSelected();
}

void BlockBrowserDialog::ShowSelected() {
  const int index = Item(kList).CurSel();
  selected_ = {};
  if (index >= 0 && index < static_cast<int>(entries_.size())) {
    selected_ = ReadBlockFile(entries_[index].file);
    SetItemText(kPath, entries_[index].file.string());
    if (!selected_.ok) {
      SetItemText(kDescription, "このファイルは読めません: " + selected_.error);
    } else if (selected_.data.Present()) {
      SetItemText(kDescription, selected_.data.description);
    } else {
      SetItemText(kDescription, "作図情報のないブロックです。");
    }
  } else {
    SetItemText(kPath, "");
    SetItemText(kDescription, "");
  }
  const bool any = index >= 0;
  EnableItem(kCopy, any);
  EnableItem(kDelete, any);
  EnableItem(kReedit, selected_.data.Present() && !selected_.data.Files().empty());
  Invalidate();
}

bool BlockBrowserDialog::OnPoll() {
  std::vector<Entry> now = Scan();
  if (SameListing(now, entries_)) return false;
  // A block that is new or was made again is the one the user wants to see.
  std::string name;
  fs::file_time_type newest = fs::file_time_type::min();
  for (const Entry& entry : now) {
    bool known = false;
    for (const Entry& old : entries_) known = known || (old.name == entry.name && old.time == entry.time);
    if (!known && entry.time > newest) newest = entry.time, name = entry.name;
  }
  if (name.empty()) {
    const int index = Item(kList).CurSel();
    if (index >= 0 && index < static_cast<int>(entries_.size())) name = entries_[index].name;
  }
  Fill(std::move(now), name);
  return true;
}

void BlockBrowserDialog::OnPaint(Canvas& canvas) {
  OffsetCanvas picture = ControlCanvas(canvas, kPicture);
  const PixelRect client = ClientRectOf(kPicture);
  picture.FillRect({client.left + 1, client.top + 1, client.right - 1, client.bottom - 1},
                   {255, 255, 255});
  picture.SetClip(&client);
  DrawBlockShapes(picture, client, selected_.shapes);
  picture.SetClip(nullptr);
}

void BlockBrowserDialog::Copy() {
  const std::string path = ItemText(kPath);
  if (path.empty()) return;
  const bool copied = App().ui && App().ui->CopyText(path);
  SetItemText(kStatus, copied ? "ファイルのパスをコピーしました" : "コピーできませんでした");
}

void BlockBrowserDialog::OpenFolder() {
  std::error_code ec;
  fs::create_directories(Folder(), ec);
  if (!App().ui || !App().ui->OpenFolder(Folder())) {
    MessageBox("フォルダを開けませんでした。\n" + Folder().string(), "確認");
  }
}

void BlockBrowserDialog::Delete() {
  const int index = Item(kList).CurSel();
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  const Entry entry = entries_[index];
  if (!App().ui || !App().ui->AskYesNo(this, "ブロック「" + entry.name + "」を削除しますか？\n" +
                                                 entry.file.string(),
                                       "確認")) {
    return;
  }
  std::error_code ec;
  fs::remove(entry.file, ec);
  if (ec) {
    MessageBox("削除できませんでした。\n" + entry.file.string() + "\n(" + ec.message() + ")", "Error");
    return;
  }
  const std::string next = index + 1 < static_cast<int>(entries_.size()) ? entries_[index + 1].name
                           : index > 0                                   ? entries_[index - 1].name
                                                                         : std::string();
  Fill(Scan(), next);
  SetItemText(kStatus, "「" + entry.name + "」を削除しました");
}

std::string RefusedReedit(const BlockData& data, FittingDialog& dialog) {
  const FittingKind* kind = FittingForClass(data.className);
  if (!kind) return "このブロックの作図の種類「" + data.className + "」はわかりません。";
  if (kind->stem != data.stem) {
    return "このブロックの設定ファイル名「" + data.stem + "」は" + std::string(kind->name) +
           "のものではありません。";
  }
  const std::vector<SettingsFileLines> files = data.Files();
  if (files.empty()) return "このブロックには再編集できる設定値がありません。";
  for (const SettingsFileLines& file : files) {
    const size_t capacity = dialog.SettingsLineCount(file.name);
    if (capacity == 0) {
      return "このブロックの設定ファイル「" + file.name + "」は" + std::string(kind->name) +
             "のものではありません。";
    }
    if (file.lines.size() > capacity) {
      return "このブロックの「" + file.name + "」は " +
             FormatD(static_cast<int>(file.lines.size())) + " 行あります（" +
             std::string(kind->name) + "は " + FormatD(static_cast<int>(capacity)) + " 行まで）。";
    }
    for (size_t i = 0; i < file.lines.size(); ++i) {
      const std::string& line = file.lines[i];
      const std::string where =
          "このブロックの「" + file.name + "」" + FormatD(static_cast<int>(i + 1)) + "行目";
      if (line.find_first_of("\r\n") != std::string::npos) return where + "に改行があります。";
      if (Utf8ToCp932(line).size() > kMaxXdataString) {
        return where + "が " + FormatD(static_cast<int>(kMaxXdataString)) +
               " バイトを超えています。";
      }
    }
  }
  return {};
}

void BlockBrowserDialog::Reedit() {
  const BlockData data = selected_.data;
  if (!selected_.ok || !data.Present()) {
    MessageBox("このブロックには作図情報がないため、再編集できません。", "確認");
    return;
  }
  if (!App().createDialog) return;
  const FittingKind* kind = FittingForClass(data.className);
  std::unique_ptr<ui::Dialog> dialog =
      kind ? App().createDialog(data.className, App()) : std::unique_ptr<ui::Dialog>();
  auto* fitting = dynamic_cast<FittingDialog*>(dialog.get());
  // Everything is checked before anything is written: a block's data that
  // does not fit its dialog never reaches the info folder.
  const std::string refusal =
      fitting ? RefusedReedit(data, *fitting)
              : "このブロックの作図の種類「" + data.className + "」は開けません。";
  if (!refusal.empty()) {
    MessageBox(refusal + "\n再編集できません。", "確認");
    return;
  }
  // As the main dialog opens a generator: its code, then its last settings,
  // which are now the block's, every file of it.
  Info().WriteLine("Command.ini", FormatD(kind->code));
  for (const SettingsFileLines& file : data.Files()) Info().WriteLines(file.name, file.lines);
  if (App().ui) App().ui->RunModal(*dialog);
  OnPoll();
  Invalidate();
}

}  // namespace tavelin
