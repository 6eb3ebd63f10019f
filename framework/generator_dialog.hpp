// The skeleton of every computed square-duct generator: the record list, the
// schematic, the preview, the rebuild cycle with its hand-off, the status
// line and a sound OK. A generator unit holds only its controls, its
// geometry call and its settings lines.
//
// The rebuild cycle: every change the user confirms (a radio, a check box, a
// list choice, "表示更新") calls Rebuild(true), which recomputes the records
// from the controls and writes "DrawData.txt", the settings file and
// "DrawName.ini" with a fresh block name; a repaint recomputes without
// writing, so the preview always shows what the controls hold.
//
// OK (and Enter) first does what "表示更新" does, its validation included,
// so the block is always the drawing the preview shows; then the records and
// the name pass the builder's own acceptance check, the fitting as OK made it
// (framework/fitting.hpp) is written into a job folder and the builder is
// started on it; its outcome comes back to the status line. Nothing is
// started after a failed write.
#pragma once

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/design_rules.hpp"
#include "framework/fitting.hpp"
#include "framework/preview.hpp"
#include "framework/record_list.hpp"
#include "framework/settings_declaration.hpp"
#include "framework/text.hpp"
#include "framework/toolkit/dialog.hpp"

namespace tavelin {

// What the skeleton needs to know of a generator's dialog.
struct GeneratorSetup {
  std::string_view layout;         // the layout's name, "Erbo"
  int statusId = 0;                // the status line
  int previewId = 0;               // the static the preview fills; 0 for none
  int schematicId = 0;             // the anchor static of the schematic
  std::string_view schematicFile;  // "Erbo.tec"
  size_t schematicCapacity = 100;
  double schematicScale = 5.0;
  double schematicOriginX = 0.0;
  double schematicOriginY = 0.0;
  size_t recordCapacity = RecordList::kDefaultCapacity;
  // Whether opening the dialog writes the hand-off files (the straight duct
  // writes them only on a confirmed change).
  bool writeAtOpening = true;
  // Whether the block name ends in a random number (the straight duct's is
  // made of its values alone).
  bool randomName = true;
  // An OK button with an id of its own (not IDOK): a click on it is OK.
  int okButtonId = 0;
};

// The design-rule warnings (framework/design_rules.hpp) go to the static
// kDesignWarningLine when the layout has one; they never block OK.

class GeneratorDialog : public ui::Dialog, public DesignRuleSource, public FittingDialog {
 public:
  // The records of the last build.
  const RecordList& Records() const { return list_; }
  const RecordList* PreviewRecords() const override { return &list_; }
  // The settings lines for the controls as they stand.
  std::vector<std::string> Settings() { return SettingsLines(); }
  // The design rules the fitting of the controls breaks; none by default.
  std::vector<std::string> DesignWarnings() override { return {}; }
  // The lines of "<stem>.ini" (as many as SettingsLines gives) and of the
  // other settings files; 0 for a file the generator does not write.
  size_t SettingsLineCount(std::string_view fileName) override;
  // The settings file the controls make now, declared once: its lines'
  // columns, labels, kinds, controls and ranges. Null for a unit that writes
  // its file by hand.
  virtual const SettingsDeclaration* Declaration() { return nullptr; }
  // The dimensions the user typed, for the block's description after the
  // fitting's name ("W1=600 R=300 W2=600 A=90°"): by default the declared
  // lines marked as described; "" names none.
  virtual std::string TypedDimensions();

 protected:
  GeneratorDialog(ui::AppContext& app, const GeneratorSetup& setup);

  // ---- What a generator unit supplies. ----

  // Fills the controls when the dialog opens, after the schematic, the
  // attributes and the common values were read: its settings file, its lists.
  virtual void LoadControls() = 0;
  // The settings file the next write goes to; empty when the controls make no
  // fitting yet (nothing is written and OK says so through ReadyForBlock).
  // By default the declaration's file.
  virtual std::string SettingsFile();
  // By default the declared lines of the controls.
  virtual std::vector<std::string> SettingsLines();
  // The lines of "DrawData.txt" and of the fitting's records: by default the
  // records of the last build.
  virtual std::vector<std::string> DrawDataLines() { return list_.Records(); }
  // Recomputes the records of `list` from the controls. Writing() tells
  // whether this build is a confirmed change (it may then show computed
  // values in the edits) or a repaint (it leaves the edits as typed).
  virtual void BuildRecords(RecordList& list) = 0;
  // The block name for `settings`; most generators return
  // BlockName(prefix, settings, {K1, K2, K3}, random).
  virtual std::string MakeBlockName(const std::vector<std::string>& settings, int random) = 0;
  // The validation of "表示更新": shows its message and returns false to
  // leave everything as it is.
  virtual bool CheckInput() { return true; }
  // Whether OK can hand off at all; shows its own message when not.
  virtual bool ReadyForBlock() { return true; }
  // Settings files written with the hand-off, after it (the damper's type
  // choice), as the controls make them; they go into the fitting too.
  virtual std::vector<SettingsFileLines> OtherSettings() { return {}; }
  // The status text of a confirmed change.
  virtual std::string EditingStatus() { return kStatusEditing; }
  // The preview inside `client`, clipped to it; by default the normal preview
  // with PreviewNumerator().
  virtual void DrawPreviewIn(Canvas& canvas, const PixelRect& client);
  virtual double PreviewNumerator() { return 65.0; }
  // The schematic; by default every line with SchematicPen.
  virtual void DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient);
  virtual Pen SchematicPen(const SchematicLine& line) { return SchematicStylePen(line.style); }
  // What OK says when the drawing holds nothing the builder could draw.
  virtual std::string EmptyDrawingMessage() { return {}; }
  // The caption of that message; a unit whose update shows the same text
  // under a caption of its own gives that caption here.
  virtual std::string EmptyDrawingCaption() { return "入力確認"; }
  // The field that message names, which then takes the focus; 0 for none.
  virtual int EmptyDrawingField() { return 0; }

  // ---- What the skeleton offers. ----

  // The unit's message map, with the setup's OK button added.
  void SetMessageMap(std::vector<ui::MessageEntry> entries);
  void SetMessageMap(std::initializer_list<ui::MessageEntry> entries) {
    SetMessageMap(std::vector<ui::MessageEntry>(entries));
  }

  // Recomputes the records; with `write` also shows the editing status and
  // writes the hand-off files (not before the dialog has read all it needs).
  void Rebuild(bool write);
  // "表示更新": CheckInput, then Rebuild(true).
  void OnUpdateButton();
  // A value refused: the message, then the focus on the field at fault with
  // its text selected, so that what the user types next replaces the value
  // instead of extending it.
  void RefuseValue(int field, const std::string& text, const std::string& caption);
  void ShowEditing() { SetItemText(setup_.statusId, EditingStatus()); }

  RecordList& List() { return list_; }
  const CommonValues& Common() const { return common_; }
  const std::vector<SchematicLine>& Schematic() const { return schematic_; }
  // The schematic's origin and scale, for a unit that draws it itself.
  const GeneratorSetup& Setup() const { return setup_; }
  // True once the dialog read everything it needs at opening.
  bool Ready() const { return ready_; }
  // True while BuildRecords runs for Rebuild(true).
  bool Writing() const { return writing_; }
  // A value the update derives from others (a length, a centred offset):
  // shown in control `id` by a confirmed change, the opening's included; a
  // repaint leaves the control as the user typed it. Returns `text`, which
  // the build goes on with either way.
  const std::string& Derive(int id, const std::string& text);
  // For LoadControls: from here on the controls may be written even if a
  // later file fails to open (a unit whose own settings file, missing, is
  // recreated from what the user sets).
  void MarkReady() { ready_ = true; }

  // The number an edit holds, read as the C run-time reads a leading number.
  double Number(int id) { return ToDouble(ItemText(id)); }
  // Fills list `combo` with `entries`, in order.
  void FillList(int combo, std::span<const char* const> entries);
  // Fills `combos` with the lines of `file` (a missing file leaves them empty).
  void FillListsFrom(std::string_view file, std::initializer_list<int> combos,
                     size_t capacity = 1000);
  // The settings text of a radio group: "1" for the first radio checked, "2"
  // for the second ... and "" when none is.
  std::string RadioText(std::initializer_list<int> radios);
  // Checks radio k for the text "k"; any other text leaves the group as it is.
  void ApplyRadioText(const std::string& text, std::initializer_list<int> radios);
  // "1" or "0" for a check box; "1"/"0" set it, any other text leaves it.
  std::string CheckText(int id) { return IsChecked(id) ? "1" : "0"; }
  void ApplyCheckText(const std::string& text, int id);
  // Reads the declared settings file, when there is one, and sets the
  // controls from it; returns the lines read (for what a unit sets itself).
  std::vector<std::string> LoadDeclaredSettings();
  // The declared lines of the controls as they stand.
  std::vector<std::string> DeclaredSettingsLines();
  void ApplyDeclaredSettings(const std::vector<std::string>& lines);
  // The dialog's controls as a declaration reads and writes them, for a unit
  // that handles a declared file other than Declaration()'s.
  DeclaredControls Controls();

  // The selected entry of a combo list into an edit; false when none is selected.
  bool CopySelection(int combo, int edit);
  // The message entry of a list whose choice goes into `edit` as a confirmed
  // change: copied, then Rebuild(true).
  ui::MessageEntry SelectionInto(int combo, int edit);

  // Two edits that share a width: the offsets P + Q = W of a round end, the
  // two sides of a branch.
  struct LinkedPair {
    int first, second, total;
  };
  // The message entries of `pairs`: the focus in a first edit sets the
  // dialog's one link marker to 1, in a second edit to 2; a change in an
  // edit the marker names sets its partner to the total less its value, then
  // runs `after`. The marker is cleared when the dialog opens.
  std::vector<ui::MessageEntry> LinkedPairEntries(const std::vector<LinkedPair>& pairs,
                                                  const std::function<void()>& after = {});
  // 0, or which edit of a pair last had the focus (1 the first, 2 the second).
  int LinkFocus() const { return linkFocus_; }
  // Both edits of `pair` to half its total.
  void SplitInHalves(const LinkedPair& pair);

  void OnInitDialog() final;
  // The headless generate writes once: a dialog that writes at opening has.
  void OnGenerate() override {
    if (!setup_.writeAtOpening) Rebuild(true);
  }
  void OnPaint(Canvas& canvas) final;
  void OnOK() override;

 private:
  GeneratorSetup setup_;
  void ShowDesignWarnings();

  RecordList list_;
  CommonValues common_;
  std::vector<SchematicLine> schematic_;
  bool ready_ = false;
  bool writing_ = false;
  int linkFocus_ = 0;
  std::string lastName_;                   // the block name written last
  int lastRandom_ = 0;                     // and the random number in it
  std::vector<std::string> lastSettings_;  // the settings lines written last
  // The attribute files as the dialog read them at opening.
  AttributeTexts attributes_;
};

}  // namespace tavelin
