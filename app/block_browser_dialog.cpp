#include "app/block_browser_dialog.hpp"

#include "app/dialog_registry.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <map>
#include <string_view>
#include <unordered_set>

#include "framework/codepage.hpp"
#include "framework/fitting.hpp"
#include "framework/info_folder.hpp"
#include "framework/part_library.hpp"
#include "framework/preview.hpp"
#include "framework/text.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

constexpr double kRadian = 3.14159265358979323846 / 180.0;

// The file name of an entry ("NAME.dxf"), without making a path of it.
std::string_view FileNameOf(const BlockBrowserDialog::Entry& entry) {
  const std::string_view file = entry.file.native();
  const size_t slash = file.rfind('/');
  return slash == std::string_view::npos ? file : file.substr(slash + 1);
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

void DrawBlockShapes(Canvas& canvas, const PixelRect& client,
                     const std::vector<BlockShape>& shapes) {
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
  const double scale =
      std::min((client.Width() - 2 * kMargin) / width, (client.Height() - 2 * kMargin) / height);
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
      {EventKind::kEditChange, kSearch,
       [this] {
         // The block chosen stays chosen while the search still shows it.
         const std::string name = SelectedName();
         Fill(std::move(entries_), name);
       }},
      {EventKind::kDblClick, kList, [this] { Reedit(); }},
      {EventKind::kClick, kCopy, [this] { Copy(); }},
      {EventKind::kClick, kOpenFolder, [this] { OpenFolder(); }},
      {EventKind::kClick, kDelete, [this] { Delete(); }},
      {EventKind::kClick, kReedit, [this] { Reedit(); }},
      {EventKind::kClick, kSchedule, [this] { ShowSchedule(); }},
  });
}

fs::path BlockBrowserDialog::Folder() const { return Info().Root() / "blocks"; }

std::vector<BlockBrowserDialog::Entry> BlockBrowserDialog::Scan() const {
  return ListBlocks(Folder());
}

void BlockBrowserDialog::OnInitDialog() {
  // Watched before it is listed, so that no block written meanwhile is missed.
  // The watcher lists the folder on its thread: the window shows the list
  // when the listing arrives.
  watcher_ = std::make_unique<BlockFolderWatcher>(Folder());
  if (watcher_->Watching()) {
    SetItemText(kStatus, "読み込み中…");
    ShowSelected();
    return;
  }
  Fill(Scan(), "");
  listed_ = true;
}

bool BlockBrowserDialog::OnWaitLoaded(std::chrono::milliseconds limit) {
  if (listed_) return true;
  if (watcher_) watcher_->WaitListed(limit);
  OnPoll();
  return listed_;
}

void BlockBrowserDialog::Fill(std::vector<Entry> entries, const std::string& name,
                              const BlockFolderWatcher::Changes::Picture* picture) {
  entries_ = std::move(entries);
  const std::string query = ItemText(kSearch);
  shown_.clear();
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].Matches(query)) shown_.push_back(i);
  }
  ui::Control& list = Item(kList);
  list.ResetContent();
  int chosen = shown_.empty() ? -1 : 0;
  bool found = false;
  for (size_t i = 0; i < shown_.size(); ++i) {
    const Entry& entry = entries_[shown_[i]];
    list.AddString(entry.label);
    if (!found && !name.empty() && entry.name == name) {
      chosen = static_cast<int>(i);
      found = true;
    }
  }
  list.SetCurSel(chosen);
  ShowCount();
  ShowSelected(picture);
}

const BlockBrowserDialog::Entry* BlockBrowserDialog::SelectedEntry() {
  const int index = Item(kList).CurSel();
  if (index < 0 || index >= static_cast<int>(shown_.size())) return nullptr;
  return &entries_[shown_[index]];
}

std::string BlockBrowserDialog::SelectedName() {
  const Entry* entry = SelectedEntry();
  return entry ? entry->name : std::string();
}

void BlockBrowserDialog::ShowSelected(const BlockFolderWatcher::Changes::Picture* picture) {
  const Entry* chosen = SelectedEntry();
  selected_ = {};
  if (chosen) {
    const Entry& entry = *chosen;
    // The watcher has read the newest block already, off this thread.
    selected_ = picture && picture->file == entry.file && picture->time == entry.time
                    ? picture->block
                    : ReadBlockFile(entry.file);
    SetItemText(kPath, entry.file.string());
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
  const bool any = chosen != nullptr;
  EnableItem(kCopy, any);
  EnableItem(kDelete, any);
  EnableItem(kReedit, selected_.data.Present() && !selected_.data.Files().empty());
  // The picture is all this dialog draws itself.
  InvalidateRect(Item(kPicture).Rect());
}

bool BlockBrowserDialog::OnPoll() {
  if (watcher_ && watcher_->Watching()) {
    if (!watcher_->Pending()) return false;
    return ApplyChanges(watcher_->Take());
  }
  listed_ = true;
  // Not watched: the folder did not exist or went away. Watched again from
  // now on once it is there, and listed this time.
  std::error_code ec;
  if (fs::is_directory(Folder(), ec)) watcher_ = std::make_unique<BlockFolderWatcher>(Folder());
  return ApplyListing(Scan());
}

bool BlockBrowserDialog::ApplyListing(std::vector<Entry> now,
                                      const BlockFolderWatcher::Changes::Picture* picture) {
  if (SameListing(now, entries_)) return false;
  // A block that is new or was made again is the one the user wants to see.
  std::map<std::string, fs::file_time_type> known;
  for (const Entry& old : entries_) known.emplace(old.file.filename().string(), old.time);
  std::string name;
  fs::file_time_type newest = fs::file_time_type::min();
  for (const Entry& entry : now) {
    auto it = known.find(entry.file.filename().string());
    const bool seen = it != known.end() && it->second == entry.time;
    if (!seen && entry.time > newest) newest = entry.time, name = entry.name;
  }
  if (name.empty()) name = SelectedName();
  Fill(std::move(now), name, picture);
  return true;
}

bool BlockBrowserDialog::ApplyChanges(BlockFolderWatcher::Changes changes) {
  const BlockFolderWatcher::Changes::Picture* picture = changes.newest ? &*changes.newest : nullptr;
  if (changes.relisted) {
    if (!listed_) {
      // The first listing: shown whole, the newest block selected.
      listed_ = true;
      Fill(std::move(changes.listing), "", picture);
      return true;
    }
    return ApplyListing(std::move(changes.listing), picture);
  }
  const Entry* before = SelectedEntry();
  const std::string selectedFile = before ? before->file.string() : std::string();
  const fs::file_time_type selectedTime = before ? before->time : fs::file_time_type::min();
  std::string name = before ? before->name : std::string();
  const Entry* newest = nullptr;
  for (const Entry& entry : changes.written) {
    if (!newest || ListedBefore(entry, *newest)) newest = &entry;
  }
  if (newest) name = newest->name;
  if (changes.written.size() + changes.removed.size() > kMostChangesApplied) {
    // Many at once: the list made anew costs no more.
    std::vector<Entry> entries = std::move(entries_);
    std::unordered_set<std::string_view> gone(changes.removed.begin(), changes.removed.end());
    for (const Entry& entry : changes.written) gone.insert(FileNameOf(entry));
    std::erase_if(entries, [&](const Entry& e) { return gone.count(FileNameOf(e)) > 0; });
    for (Entry& entry : changes.written) entries.push_back(std::move(entry));
    std::sort(entries.begin(), entries.end(), ListedBefore);
    Fill(std::move(entries), name, picture);
    return true;
  }
  // Each block removed or written again leaves the list, each written one
  // goes in at its place: the rows between stay as they are.
  // Looked for by the block name kept in each entry (short names sit in the
  // entry itself), the file name compared only where the name fits.
  std::vector<std::string_view> gone(changes.removed.begin(), changes.removed.end());
  for (const Entry& entry : changes.written) gone.push_back(FileNameOf(entry));
  std::vector<size_t> leaving;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const std::string& name = entries_[i].name;
    for (std::string_view file : gone) {
      if (file.size() > name.size() && file[name.size()] == '.' && file.starts_with(name) &&
          FileNameOf(entries_[i]) == file) {
        leaving.push_back(i);
        break;
      }
    }
  }
  for (auto it = leaving.rbegin(); it != leaving.rend(); ++it) EraseEntry(*it);
  const std::string query = ItemText(kSearch);
  for (Entry& entry : changes.written) InsertEntry(std::move(entry), query);
  // The selection: the newest block written, else the one chosen before
  // (else the first line), as a list made anew would choose.
  ui::Control& list = Item(kList);
  int chosen = shown_.empty() ? -1 : 0;
  if (!name.empty()) {
    for (size_t row = 0; row < shown_.size(); ++row) {
      if (entries_[shown_[row]].name == name) {
        chosen = static_cast<int>(row);
        break;
      }
    }
  }
  list.SetCurSel(chosen);
  ShowCount();
  const Entry* after = SelectedEntry();
  if (after && !selectedFile.empty() && after->file.string() == selectedFile &&
      after->time == selectedTime) {
    return true;  // the same block stays shown: its picture is drawn already
  }
  ShowSelected(picture);
  return true;
}

void BlockBrowserDialog::EraseEntry(size_t index) {
  // The lines after it point one entry earlier.
  auto line = std::lower_bound(shown_.begin(), shown_.end(), index);
  const bool shown = line != shown_.end() && *line == index;
  if (shown) {
    Item(kList).DeleteString(static_cast<int>(line - shown_.begin()));
    line = shown_.erase(line);
  }
  for (auto it = line; it != shown_.end(); ++it) --*it;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void BlockBrowserDialog::InsertEntry(Entry entry, const std::string& query) {
  const auto at = std::upper_bound(entries_.begin(), entries_.end(), entry, ListedBefore);
  const auto index = static_cast<size_t>(at - entries_.begin());
  auto line = std::lower_bound(shown_.begin(), shown_.end(), index);
  for (auto it = line; it != shown_.end(); ++it) ++*it;
  if (entry.Matches(query)) {
    Item(kList).InsertString(static_cast<int>(line - shown_.begin()), entry.label);
    shown_.insert(line, index);
  }
  entries_.insert(at, std::move(entry));
}

void BlockBrowserDialog::ShowCount() {
  const std::string count = FormatD(static_cast<int>(entries_.size()));
  SetItemText(kStatus, entries_.empty() ? "ブロックはまだありません（" + Folder().string() + "）"
                       : shown_.size() == entries_.size()
                           ? count + " 個のブロック"
                           : FormatD(static_cast<int>(shown_.size())) + " / " + count +
                                 " 個のブロック（検索「" + ItemText(kSearch) + "」）");
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
    MessageBox("フォルダを開けませんでした（ファイルマネージャーが見つかりません）。\n"
               "次のフォルダをお使いのファイルマネージャーで開いてください：\n" + Folder().string(),
               "確認");
  }
}

void BlockBrowserDialog::Delete() {
  const Entry* chosen = SelectedEntry();
  if (!chosen) return;
  const Entry entry = *chosen;
  if (!App().ui ||
      !App().ui->AskYesNo(
          this, "ブロック「" + entry.name + "」を削除しますか？\n" + entry.file.string(), "確認")) {
    return;
  }
  std::error_code ec;
  fs::remove(entry.file, ec);
  if (!ec) SyncPartLibrary(Info().Root());
  if (ec) {
    MessageBox("削除できませんでした。\n" + entry.file.string() + "\n(" + ec.message() + ")",
               "Error");
    return;
  }
  // The next line of the list takes the selection, else the one before.
  const size_t index = static_cast<size_t>(Item(kList).CurSel());
  const std::string next = index + 1 < shown_.size() ? entries_[shown_[index + 1]].name
                           : index > 0               ? entries_[shown_[index - 1]].name
                                                     : std::string();
  std::vector<Entry> rest = std::move(entries_);
  rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(shown_[index]));
  Fill(std::move(rest), next);
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
    // A value its declaration refuses (a choice that is none of its values,
    // a number out of its range) would open the dialog on what it never writes.
    if (const SettingsDeclaration* decl = DeclarationOfFile(file.name)) {
      if (std::string refusal = RefusedSettings(*decl, file.lines); !refusal.empty()) {
        return "このブロックの設定値が合いません: " + refusal;
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

// The fittings of a drawing counted, those the CAD program kept without
// their data found by name among this folder's blocks.
void BlockBrowserDialog::ShowSchedule() {
  if (!App().ui || !App().createDialog) return;
  std::unique_ptr<ui::Dialog> dialog = App().createDialog("ScheduleDialog", App());
  if (dialog) App().ui->RunModal(*dialog);
}

}  // namespace tavelin
