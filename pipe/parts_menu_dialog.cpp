#include "pipe/parts_menu_dialog.hpp"

#include <algorithm>
#include <filesystem>

#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/preview.hpp"
#include "framework/text.hpp"
#include "pipe/part_catalogue.hpp"

namespace tavelin {
namespace fs = std::filesystem;
namespace {

constexpr const char* kChoose = "分類・サイズ選択";
constexpr const char* kClickOk = "選択後OKをクリック";

constexpr size_t kSizeLines = 70;
constexpr size_t kAttributeLines = 25;
constexpr size_t kCatalogueLines = 1000;
constexpr size_t kSheetLines = 10000;
constexpr size_t kPartLines = 200000;
constexpr int kCentreBase = PartsMenuDialog::kFirstBase + 4;

using K = PartsMenuDialog;

// "BuzaiSentaku.ini", line by line: the menu's memory of the last choices,
// which the menu restores on opening (a choice that no longer exists falls
// back to the first entry) and which the batch writes to pick a part.
const SettingsDeclaration kChoices{K::kChoicesFile,
                                   {
                                       {.column = "category",
                                        .label = "継手・部材の種類（一覧の番号 0〜）",
                                        .kind = ParamKind::kInteger,
                                        .min = 0,
                                        .max = pipe::kCategoryCount - 1,
                                        .described = true,
                                        .required = true},
                                       {.column = "classification",
                                        .label = "分類（1〜6、0 は未選択）",
                                        .kind = ParamKind::kInteger,
                                        .min = 0,
                                        .max = 6,
                                        .described = true,
                                        .required = true},
                                       {.column = "cell",
                                        .label = "シートの升目（1〜20）",
                                        .kind = ParamKind::kInteger,
                                        .min = 1,
                                        .max = pipe::kSheetColumns * pipe::kSheetRows,
                                        .described = true,
                                        .required = true},
                                       {.column = "main_size",
                                        .label = "主管サイズ",
                                        .kind = ParamKind::kText,
                                        .control = K::kMainSize,
                                        .described = true,
                                        .required = true},
                                       {.column = "branch_size",
                                        .label = "枝管サイズ",
                                        .kind = ParamKind::kText,
                                        .control = K::kBranchSize,
                                        .described = true},
                                       {.column = "rotation",
                                        .label = "回転角度",
                                        .unit = "°",
                                        .kind = ParamKind::kChoice,
                                        .values = {{"0", K::kFirstRotation + 0},
                                                   {"45", K::kFirstRotation + 1},
                                                   {"90", K::kFirstRotation + 2},
                                                   {"135", K::kFirstRotation + 3},
                                                   {"180", K::kFirstRotation + 4},
                                                   {"225", K::kFirstRotation + 5},
                                                   {"270", K::kFirstRotation + 6},
                                                   {"315", K::kFirstRotation + 7}},
                                        .described = true},
                                       {.column = "base",
                                        .label = "基準点（1〜9、上の行から左から）",
                                        .kind = ParamKind::kChoice,
                                        .values = {{"1", K::kFirstBase + 0, "左上"},
                                                   {"2", K::kFirstBase + 1, "上"},
                                                   {"3", K::kFirstBase + 2, "右上"},
                                                   {"4", K::kFirstBase + 3, "左"},
                                                   {"5", K::kFirstBase + 4, "中心"},
                                                   {"6", K::kFirstBase + 5, "右"},
                                                   {"7", K::kFirstBase + 6, "左下"},
                                                   {"8", K::kFirstBase + 7, "下"},
                                                   {"9", K::kFirstBase + 8, "右下"}},
                                        .described = true},
                                       {.column = "mirror",
                                        .label = "左右反転",
                                        .kind = ParamKind::kFlag,
                                        .control = K::kMirror,
                                        .described = true},
                                   }};

}  // namespace

PartsMenuDialog::PartsMenuDialog(ui::AppContext& app) : Dialog(app, "PartsMenu") {
  using ui::EventKind;
  auto classification = [this](int n) { return [this, n] { OnClassification(n); }; };
  auto recompute = [this] { Recompute(); };
  SetMessageMap({
      {EventKind::kSelChange, kCategoryList, [this] { OnCategory(); }},
      {EventKind::kSelChange, kMainSize, [this] { OnMainSize(false); }},
      {EventKind::kDblClick, kMainSize, [this] { OnMainSize(true); }},
      {EventKind::kSelChange, kBranchSize, [this] { OnBranchSize(); }},
      {EventKind::kClick, kFirstClassification + 0, classification(1)},
      {EventKind::kClick, kFirstClassification + 1, classification(2)},
      {EventKind::kClick, kFirstClassification + 2, classification(3)},
      {EventKind::kClick, kFirstClassification + 3, classification(4)},
      {EventKind::kClick, kFirstClassification + 4, classification(5)},
      {EventKind::kClick, kFirstClassification + 5, classification(6)},
      {EventKind::kClick, kFirstRotation + 0, recompute},
      {EventKind::kClick, kFirstRotation + 1, recompute},
      {EventKind::kClick, kFirstRotation + 2, recompute},
      {EventKind::kClick, kFirstRotation + 3, recompute},
      {EventKind::kClick, kFirstRotation + 4, recompute},
      {EventKind::kClick, kFirstRotation + 5, recompute},
      {EventKind::kClick, kFirstRotation + 6, recompute},
      {EventKind::kClick, kFirstRotation + 7, recompute},
      {EventKind::kClick, kFirstBase + 0, recompute},
      {EventKind::kClick, kFirstBase + 1, recompute},
      {EventKind::kClick, kFirstBase + 2, recompute},
      {EventKind::kClick, kFirstBase + 3, recompute},
      {EventKind::kClick, kFirstBase + 4, recompute},
      {EventKind::kClick, kFirstBase + 5, recompute},
      {EventKind::kClick, kFirstBase + 6, recompute},
      {EventKind::kClick, kFirstBase + 7, recompute},
      {EventKind::kClick, kFirstBase + 8, recompute},
      {EventKind::kClick, kMirror, [this] { OnMirror(); }},
      {EventKind::kClick, kStart, [this] { OnStart(); }},
      {EventKind::kMouseDown, 0, [this](const ui::Event& event) { OnMouseDown(event); }},
  });
}

void PartsMenuDialog::OnInitDialog() {
  category_ = -1;
  classification_ = 0;
  cell_ = 1;
  mainIndex_ = 0;
  branchIndex_ = 0;
  rotation_ = 0;
  recomputed_ = false;
  CheckRadio(kFirstRotation);
  CheckRadio(kCentreBase);
  SetChecked(kMirror, false);
  SetStatus(kChoose);
  SetItemText(kPartName, "");

  ui::Control& list = Item(kCategoryList);
  list.ResetContent();
  // Only the categories the part tables know can be offered.
  for (const std::string& name : Info().ReadToEnd("TugiteName.ini", pipe::kCategoryCount)) {
    list.AddString(name);
  }
  LoadSheet();
  attributeLines_ = Info().ReadLines("TugiteSet.ini", kAttributeLines);
  // Line type 11 is a valid choice in the attribute dialogs, so its name is read too.
  lineTypeNames_ = Info().ReadLines("SenSyu.ini", 11);
  attributes_ = AttributeTexts::Capture(Info());
  RestoreChoices();
  if (category_ < 0) OpenOnFirstPart();
}

bool PartsMenuDialog::PartExists(const std::vector<std::string>& sheetLines, int category,
                                 int classification, int cell, const std::string& main,
                                 const std::string& branch) {
  const std::string key = pipe::CatalogueKey(category, classification);
  const std::string sheetLine = pipe::SheetLineFor(sheetLines, key);
  const std::string code = pipe::PartCode(pipe::FieldAfterKey(sheetLine, cell + 1), cell);
  const pipe::PartNames names =
      pipe::BuildPartNames(category, classification, main, branch, code, 0);
  if (names.fileName.empty()) return false;
  std::error_code ec;
  const fs::path folder = LocateIgnoringCase(Info().Root(), names.folder);
  return fs::is_regular_file(LocateIgnoringCase(folder, names.fileName), ec);
}

void PartsMenuDialog::OpenOnFirstPart() {
  if (!Info().Exists("SheetName.ini")) return;
  const std::vector<std::string> sheetLines = Info().ReadToEnd("SheetName.ini", kCatalogueLines);
  ui::Control& list = Item(kCategoryList);
  for (int category = 0; category < list.Count() && pipe::Category(category); ++category) {
    const char* table = pipe::SizeTableFile(pipe::Category(category)->materialClass);
    if (!Info().Exists(table)) continue;
    const std::vector<std::string> sizes = Info().ReadToEnd(table, kSizeLines);
    const std::array<std::string, 6> captions = pipe::ClassificationCaptions(category);
    for (int n = 1; n <= 6; ++n) {
      if (captions[n - 1] == "-" || !Info().Exists(pipe::SheetFileName(category, n))) continue;
      for (const std::string& line : sizes) {
        const std::string size = Field(line, ',', 1);
        if (size.empty() || !PartExists(sheetLines, category, n, 1, size, size)) continue;
        list.SetCurSel(category);
        OnCategory();
        CheckRadio(kFirstClassification + n - 1);
        OnClassification(n);
        cell_ = 1;
        mainIndex_ = std::max(0, Item(kMainSize).SelectString(size));
        branchIndex_ = std::max(0, Item(kBranchSize).SelectString(size));
        SetItemText(kPartName, PartName());
        Recompute();
        return;
      }
    }
  }
}

void PartsMenuDialog::PreferABranchWithAPart() {
  if (part_ || !SizesValid()) return;
  const std::string main = Item(kMainSize).ItemText(mainIndex_);
  if (Item(kBranchSize).ItemText(branchIndex_) == main) return;
  const std::vector<std::string> sheetLines = Info().ReadToEnd("SheetName.ini", kCatalogueLines);
  if (!PartExists(sheetLines, category_, classification_, cell_, main, main)) return;
  const int same = Item(kBranchSize).SelectString(main);
  if (same < 0) return;
  branchIndex_ = same;
  Recompute();
}

const std::vector<const SettingsDeclaration*>& PartsMenuDialog::Declarations() {
  static const std::vector<const SettingsDeclaration*> kAll = {&kChoices};
  return kAll;
}

void PartsMenuDialog::RestoreChoices() {
  if (!Info().Exists(kChoicesFile)) return;
  std::vector<std::string> saved;
  try {
    saved = Info().ReadLines(kChoicesFile, kChoices.LineCount());
  } catch (const FileError&) {
    return;  // an unreadable memory is no memory
  }
  ui::Control& list = Item(kCategoryList);
  if (saved[0].empty() || list.Count() == 0) return;
  restoring_ = true;
  int category = ToInt(saved[0]);
  if (category < 0 || category >= list.Count()) category = 0;
  list.SetCurSel(category);
  OnCategory();

  int classification = ToInt(saved[1]);
  if (classification != 0) {
    const std::array<std::string, 6> captions = pipe::ClassificationCaptions(category_);
    const bool exists = classification >= 1 && classification <= 6 &&
                        captions[classification - 1] != "-" &&
                        Info().Exists(pipe::SheetFileName(category_, classification));
    if (!exists) classification = 1;
    CheckRadio(kFirstClassification + classification - 1);
    OnClassification(classification);
  }
  const int cell = ToInt(saved[2]);
  cell_ = cell >= 1 && cell <= pipe::kSheetColumns * pipe::kSheetRows ? cell : 1;

  auto indexOf = [this](int id, const std::string& text) {
    ui::Control& sizes = Item(id);
    for (int i = 0; i < sizes.Count(); ++i) {
      if (sizes.ItemText(i) == text) return i;
    }
    return 0;
  };
  mainIndex_ = indexOf(kMainSize, saved[3]);
  branchIndex_ = indexOf(kBranchSize, saved[4]);
  Item(kMainSize).SetCurSel(mainIndex_);
  Item(kBranchSize).SetCurSel(branchIndex_);

  const int degrees = ToInt(saved[5]);
  CheckRadio(kFirstRotation +
             (degrees >= 0 && degrees < 360 && degrees % 45 == 0 ? degrees / 45 : 0));
  const int base = ToInt(saved[6]);
  CheckRadio(base >= 1 && base <= 9 ? kFirstBase + base - 1 : kCentreBase);
  SetChecked(kMirror, saved[7] == "1");

  if (classification_ != 0 && SizesValid()) SetItemText(kPartName, PartName());
  restoring_ = false;
  Recompute();
}

std::vector<std::string> PartsMenuDialog::ChoiceLines() {
  int base = 5;
  for (int i = 0; i < 9; ++i) {
    if (IsChecked(kFirstBase + i)) base = i + 1;
  }
  auto sizeText = [this](int id, int index) {
    ui::Control& sizes = Item(id);
    return index >= 0 && index < sizes.Count() ? sizes.ItemText(index) : std::string();
  };
  int rotation = 0;
  for (int i = 0; i < 8; ++i) {
    if (IsChecked(kFirstRotation + i)) rotation = 45 * i;
  }
  return {FormatD(category_),
          FormatD(classification_),
          FormatD(cell_),
          sizeText(kMainSize, mainIndex_),
          sizeText(kBranchSize, branchIndex_),
          FormatD(rotation),
          FormatD(base),
          IsChecked(kMirror) ? "1" : "0"};
}

size_t PartsMenuDialog::SettingsLineCount(std::string_view fileName) {
  return EqualsIgnoreCase(fileName, kChoicesFile) ? kChoices.LineCount() : 0;
}

std::string PartsMenuDialog::PartDescription() {
  static const char* const kBaseNames[9] = {"左上", "上",   "右上", "左",  "中央",
                                            "右",   "左下", "下",   "右下"};
  const std::vector<std::string> choices = ChoiceLines();
  const int base = ToInt(choices[6]);
  std::string text = ItemText(kPartName);
  if (text.empty() || text == kNoPart) text = stem_;
  text += " サイズ " + choices[3];
  if (!choices[4].empty() && choices[4] != choices[3]) text += "×" + choices[4];
  text += " 回転 " + choices[5] + "°";
  text += " 基点 " + std::string(base >= 1 && base <= 9 ? kBaseNames[base - 1] : "中央");
  text += choices[7] == "1" ? " ミラー有" : " ミラー無";
  return text;
}

void PartsMenuDialog::SaveChoices() {
  if (restoring_ || !pipe::Category(category_)) return;
  try {
    Info().WriteLines(kChoicesFile, ChoiceLines());
  } catch (const FileError&) {
    // The memory of the choices is a convenience; the part and its hand-off
    // do not depend on it.
  }
}

void PartsMenuDialog::OnCategory() {
  const int picked = Item(kCategoryList).CurSel();
  const pipe::CategoryInfo* info = pipe::Category(picked);
  if (!info) return;
  category_ = picked;
  sheet_.reset();
  std::array<std::string, 6> captions = pipe::ClassificationCaptions(category_);
  for (int n = 0; n < 6; ++n) SetItemText(kFirstClassification + n, captions[n]);
  sizeTable_.clear();
  for (const std::string& line :
       Info().ReadToEnd(pipe::SizeTableFile(info->materialClass), kSizeLines)) {
    std::string size = Field(line, ',', 1);
    if (!size.empty()) sizeTable_.push_back(std::move(size));
  }
  FillSizes(false);
  LoadSheet();
  SaveChoices();
}

void PartsMenuDialog::OnClassification(int n) {
  classification_ = n;
  if (pipe::Category(category_)) FillSizes(true);
  LoadSheet();
  SaveChoices();
}

void PartsMenuDialog::FillSizes(bool keepTexts) {
  ui::Control& main = Item(kMainSize);
  ui::Control& branch = Item(kBranchSize);
  auto textAt = [](ui::Control& sizes, int index) {
    return index >= 0 && index < sizes.Count() ? sizes.ItemText(index) : std::string();
  };
  const std::string mainText = textAt(main, mainIndex_);
  const std::string branchText = textAt(branch, branchIndex_);
  const bool mainShown = main.CurSel() >= 0, branchShown = branch.CurSel() >= 0;
  // The sizes the classification has parts in, when the catalogue says.
  std::vector<std::string> mains = sizeTable_, branches = sizeTable_;
  if (classification_ != 0 && Info().Exists(kSizesFile)) {
    std::vector<std::string> lines;
    try {
      lines = Info().ReadToEnd(kSizesFile, kCatalogueLines);
    } catch (const FileError&) {
      lines.clear();  // an unreadable list restricts nothing
    }
    const std::string key = pipe::CatalogueKey(category_, classification_);
    const std::string line = pipe::NameLineFor(lines, key);
    if (!line.empty()) {
      // An empty list restricts nothing.
      auto offered = [this](const std::string& field) {
        if (field.empty()) return sizeTable_;
        const std::vector<std::string> listed = Split(field, ',');
        std::vector<std::string> kept;
        for (const std::string& size : sizeTable_) {
          if (std::find(listed.begin(), listed.end(), size) != listed.end()) kept.push_back(size);
        }
        return kept;
      };
      mains = offered(pipe::FieldAfterKey(line, 1));
      branches = offered(pipe::FieldAfterKey(line, 2));
    }
  }
  main.ResetContent();
  branch.ResetContent();
  Invalidate();
  for (const std::string& size : mains) main.AddString(size);
  for (const std::string& size : branches) branch.AddString(size);
  if (!keepTexts) return;
  mainIndex_ = std::max(0, main.FindExact(mainText));
  branchIndex_ = std::max(0, branch.FindExact(branchText));
  // A list shows its size again only when it showed one.
  if (mainShown) main.SetCurSel(mainIndex_ < main.Count() ? mainIndex_ : -1);
  if (branchShown) branch.SetCurSel(branchIndex_ < branch.Count() ? branchIndex_ : -1);
}

void PartsMenuDialog::LoadSheet() {
  sheet_.reset();
  Invalidate();
  // Without a category there is no sheet prefix: only the empty frame exists.
  if (category_ < 0 && classification_ != 0) return;
  const std::string name = pipe::SheetFileName(category_, classification_);
  if (!Info().Exists(name)) return;  // the upper area stays unpainted
  sheet_ = pipe::ParseSheet(Info().ReadToEnd(name, kSheetLines));
}

bool PartsMenuDialog::SizesValid() {
  auto valid = [this](int id, int index) { return index >= 0 && index < Item(id).Count(); };
  return valid(kMainSize, mainIndex_) && valid(kBranchSize, branchIndex_);
}

void PartsMenuDialog::OnMainSize(bool sameBranch) {
  ui::Control& main = Item(kMainSize);
  mainIndex_ = main.CurSel();
  if (sameBranch) {
    const int same = Item(kBranchSize).SelectString(main.ItemText(mainIndex_));
    if (same >= 0) branchIndex_ = same;
  }
  Recompute();
  PreferABranchWithAPart();
}

void PartsMenuDialog::OnBranchSize() {
  branchIndex_ = Item(kBranchSize).CurSel();
  Recompute();
}

void PartsMenuDialog::OnMouseDown(const ui::Event& event) {
  // Only a click on the part sheet picks a cell; the rest of the dialog's
  // face is not part of the sheet.
  if (!Item(kSheetArea).Rect().Contains(event.x, event.y)) return;
  cell_ = pipe::CellAt(event.x, event.y);
  Invalidate();  // the mark moves to the picked cell
  if (cell_ == 0 || !SizesValid()) return SaveChoices();
  Item(kMainSize).SetCurSel(mainIndex_);
  Item(kBranchSize).SetCurSel(branchIndex_);
  SetItemText(kPartName, PartName());
  Recompute();
  PreferABranchWithAPart();
}

std::string PartsMenuDialog::PartName() {
  const std::string key = pipe::CatalogueKey(category_, classification_);
  std::string line = pipe::NameLineFor(Info().ReadToEnd("BuzaiName.ini", kCatalogueLines), key);
  return pipe::FieldAfterKey(line, cell_ + 1);
}

pipe::Placement PartsMenuDialog::CurrentPlacement() {
  pipe::Placement placement;
  int base = 4;
  for (int i = 0; i < 9; ++i) {
    if (IsChecked(kFirstBase + i)) base = i;
  }
  if (part_) {
    Point offset = pipe::BaseOffset(*part_, base % 3, base / 3);
    placement.bx = offset.x;
    placement.by = offset.y;
  }
  placement.mirror = IsChecked(kMirror);
  placement.rotation = rotation_;
  return placement;
}

void PartsMenuDialog::Recompute() {
  rotation_ = 0;
  for (int i = 0; i < 8; ++i) {
    if (IsChecked(kFirstRotation + i)) rotation_ = 45 * i;
  }
  SetStatus(kChoose);
  // Nothing of an earlier part survives a recompute that stops half-way.
  recomputed_ = false;
  stem_.clear();
  partPath_.clear();
  part_.reset();
  placed_.clear();
  handedOff_ = 0;
  Invalidate();
  if (!pipe::Category(category_)) return;

  const std::string key = pipe::CatalogueKey(category_, classification_);
  const std::string sheetLine =
      pipe::SheetLineFor(Info().ReadToEnd("SheetName.ini", kCatalogueLines), key);
  const std::string code = pipe::PartCode(pipe::FieldAfterKey(sheetLine, cell_ + 1), cell_);
  pipe::PartNames names =
      pipe::BuildPartNames(category_, classification_, Item(kMainSize).ItemText(mainIndex_),
                           Item(kBranchSize).ItemText(branchIndex_), code, rotation_);
  const std::string partName = PartName();

  if (!names.fileName.empty()) {
    const fs::path folder = LocateIgnoringCase(Info().Root(), names.folder);
    const fs::path file = LocateIgnoringCase(folder, names.fileName);
    std::error_code ec;
    if (fs::is_regular_file(file, ec)) {
      try {
        part_ = pipe::ParsePartFile(ReadTextLines(file, kPartLines));
      } catch (const FileError&) {
        part_.reset();  // an unreadable part is no part
      }
      if (part_) partPath_ = file;
    }
  }
  SetItemText(kPartName, part_ ? partName : kNoPart);

  stem_ = names.stem;
  folder_ = names.folder;
  recomputed_ = true;
  PlaceAndHandOff();
  if (handedOff_ > 0) SetStatus(kClickOk);
  SaveChoices();
}

void PartsMenuDialog::PlaceAndHandOff() {
  placement_ = CurrentPlacement();
  placed_ = part_ ? pipe::PlacePart(*part_, placement_) : std::vector<pipe::PartElement>{};
  const std::string attributes =
      category_ >= 0 && static_cast<size_t>(category_) < attributeLines_.size()
          ? attributeLines_[category_]
          : std::string();
  std::vector<std::string> lines =
      pipe::HandOffLines(placed_, pipe::ParseCategoryAttributes(attributes), lineTypeNames_);
  handedOff_ = 0;
  Invalidate();
  const int random = App().random->Next();
  const std::string name = "@" + folder_ + "_" + stem_ + FormatD(random);
  WriteDrawData(Info(), lines);
  WriteDrawName(Info(), name);
  handedOff_ = lines.size();
  handedOffLines_ = std::move(lines);
  handedOffName_ = name;
  handedOffRandom_ = random;
}

void PartsMenuDialog::OnMirror() {
  // The mirror keeps the names of the last recompute; only the drawing and
  // the random number of the block name change.
  if (!recomputed_) return SaveChoices();
  PlaceAndHandOff();
  // The block an earlier OK built is not the mirrored part: the status asks
  // for OK again, as after any other choice.
  SetStatus(handedOff_ > 0 ? kClickOk : kChoose);
  SaveChoices();
}

void PartsMenuDialog::OnStart() {
  if (!recomputed_) {
    MessageBox("部材を選択してください。", "確認");
    return;
  }
  if (handedOff_ == 0) {
    MessageBox(kNoPart, "確認");
    return;
  }
  // The part as the user sees it now: the drawing handed off last, the
  // choices that made it.
  Fitting fitting;
  SetFittingKind(fitting, "PartsMenuDialog");
  fitting.typedDimensions = PartDescription();
  fitting.files.push_back({kChoicesFile, ChoiceLines()});
  fitting.records = handedOffLines_;
  fitting.SetBlockName(handedOffName_, handedOffRandom_);
  fitting.attributes = attributes_;
  HandFittingToBuilder(*this, App(), fitting, kStatusLine);
}

void PartsMenuDialog::OnPaint(Canvas& canvas) {
  if (sheet_) {
    pipe::DrawSheet(canvas, Item(kSheetArea).Rect(), *sheet_);
    if (classification_ != 0) pipe::MarkCell(canvas, cell_);
  }
  const PixelRect area = Item(kPartPreview).Rect();
  if (part_) {
    pipe::DrawPartPreview(canvas, area, *part_, placement_, placed_);
  } else {
    canvas.FillRect({area.left + 1, area.top + 1, area.right - 1, area.bottom - 1}, kPreviewFill);
  }
}

}  // namespace tavelin
