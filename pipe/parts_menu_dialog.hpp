// The part menu: the user picks a pipe fitting, valve or other part from the
// catalogue by category, classification, sheet cell and sizes, places it with
// a base point, mirror and rotation, and hands it to the block builder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framework/fitting.hpp"
#include "framework/settings_declaration.hpp"
#include "framework/toolkit/dialog.hpp"
#include "pipe/part_drawing.hpp"

namespace tavelin {

class PartsMenuDialog : public ui::Dialog, public FittingDialog {
 public:
  explicit PartsMenuDialog(ui::AppContext& app);

  static constexpr int kCategoryList = 1100;
  static constexpr int kMainSize = 1101;
  static constexpr int kBranchSize = 1102;
  static constexpr int kFirstClassification = 1111;  // 1111 to 1116: classification 1 to 6
  static constexpr int kSheetArea = 1120;
  static constexpr int kPartName = 1121;
  static constexpr int kPartPreview = 1122;
  static constexpr int kFirstRotation = 1130;  // 1130 to 1137: 0, 45, ... 315 degrees
  static constexpr int kFirstBase =
      1140;  // 1140 to 1148: rows top to bottom, columns left to right
  static constexpr int kMirror = 1150;
  static constexpr int kStart = 1160;  // "OK": start the block builder
  static constexpr int kStatusLine = 1170;

  static constexpr const char* kNoPart = "部品がありません。";
  // The menu's own memory of the last choices, restored on opening: category
  // index, classification, cell, main size text, branch size text, rotation
  // in degrees, base point 1 to 9 (rows top to bottom), mirror "1" or "0".
  static constexpr const char* kChoicesFile = "BuzaiSentaku.ini";
  // Per classification, the sizes it has parts in: "<key>:<main sizes>:<branch
  // sizes>", each list comma-separated. A classification without a line, or
  // an empty list, offers the category's whole size table.
  static constexpr const char* kSizesFile = "BuzaiSize.ini";
  // That file's eight lines, declared: what the batch's columns of a pipe
  // part are, and how strictly it reads them.
  static const std::vector<const SettingsDeclaration*>& Declarations();

  int CategoryPicked() const { return category_; }
  int ClassificationPicked() const { return classification_; }
  int CellPicked() const { return cell_; }
  // The block name stem of the last recompute (empty before the first).
  const std::string& Stem() const { return stem_; }
  // The part file found by the last recompute (empty when there was none).
  const std::filesystem::path& PartPath() const { return partPath_; }
  // Element lines of the part file that could not be read and were left out.
  int SkippedLines() const { return part_ ? part_->skippedLines : 0; }
  // The eight lines of "BuzaiSentaku.ini".
  size_t SettingsLineCount(std::string_view fileName) override;
  // The part as the block's description names it: the part, its sizes,
  // rotation, base point and mirror.
  std::string PartDescription();

 protected:
  void OnInitDialog() override;
  void OnPaint(Canvas& canvas) override;
  // Enter does nothing here: the part is handed over only by "OK".
  void OnOK() override {}

 private:
  void OnCategory();
  void OnClassification(int n);
  void OnMainSize(bool sameBranch);
  void OnBranchSize();
  void OnMouseDown(const ui::Event& event);
  void OnMirror();
  void OnStart();

  void LoadSheet();
  // Fills both size lists from the category's table, keeping only the sizes
  // the classification has parts in. With `keepTexts` the sizes picked stay
  // picked where they are still offered (else the first entry).
  void FillSizes(bool keepTexts);
  // Whether the part of these choices has a file.
  bool PartExists(const std::vector<std::string>& sheetLines, int category, int classification,
                  int cell, const std::string& main, const std::string& branch);
  // With no choices to restore: the first category, classification and size
  // whose first cell has a part, so that the menu opens on parts to pick.
  void OpenOnFirstPart();
  // After a main size or a cell is picked: a branch size without a part
  // gives way to the main size when that has one.
  void PreferABranchWithAPart();
  // Puts back the choices of the last use; a choice that no longer exists
  // falls back to the first entry (the initial value for the radios).
  void RestoreChoices();
  void SaveChoices();
  // The lines of kChoicesFile for the choices as they stand.
  std::vector<std::string> ChoiceLines();
  void Recompute();
  // Places the part with the current choices and writes the hand-off files
  // under the stem of the last recompute.
  void PlaceAndHandOff();
  pipe::Placement CurrentPlacement();
  std::string PartName();
  bool SizesValid();
  void SetStatus(const std::string& text) { SetItemText(kStatusLine, text); }

  // Choices.
  int category_ = -1;
  int classification_ = 0;
  int cell_ = 1;
  int mainIndex_ = 0;
  int branchIndex_ = 0;
  int rotation_ = 0;
  bool restoring_ = false;

  // Files read when the dialog opens.
  std::vector<std::string> attributeLines_;
  std::vector<std::string> lineTypeNames_;

  std::optional<pipe::Sheet> sheet_;
  // The size table of the category picked (nominal sizes, in order).
  std::vector<std::string> sizeTable_;

  // The last recompute.
  bool recomputed_ = false;
  std::string stem_;
  std::string folder_;
  std::filesystem::path partPath_;
  std::optional<pipe::PartFile> part_;
  pipe::Placement placement_;
  std::vector<pipe::PartElement> placed_;
  size_t handedOff_ = 0;  // element lines written to the hand-off
  // The hand-off written last, which OK gives the builder.
  std::vector<std::string> handedOffLines_;
  std::string handedOffName_;
  int handedOffRandom_ = 0;
  // The attribute files as the dialog read them at opening.
  AttributeTexts attributes_;
};

}  // namespace tavelin
