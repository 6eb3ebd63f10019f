#include "framework/generator_dialog.hpp"

#include "framework/background_flush.hpp"
#include "framework/handoff.hpp"
#include "framework/info_folder.hpp"
#include "framework/text.hpp"

namespace tavelin {

GeneratorDialog::GeneratorDialog(ui::AppContext& app, const GeneratorSetup& setup)
    : Dialog(app, setup.layout), setup_(setup), list_(setup.recordCapacity) {}

void GeneratorDialog::SetMessageMap(std::vector<ui::MessageEntry> entries) {
  if (setup_.okButtonId) {
    entries.push_back({ui::EventKind::kClick, setup_.okButtonId, [this] { OnOK(); }});
  }
  ui::Dialog::SetMessageMap(std::move(entries));
}

void GeneratorDialog::OnInitDialog() {
  ready_ = false;
  linkFocus_ = 0;
  schematic_ = ParseSchematic(Info().ReadToEnd(setup_.schematicFile, setup_.schematicCapacity));
  ShowEditing();
  // The attributes come first, so that a settings file that cannot be read
  // stops only the restoring of the controls, never the attributes.
  list_.LoadAttributes(Info());
  common_ = CommonValues::Load(Info());
  // What the builder will need of them, read now: the block is made of what
  // this dialog read, whatever another window writes there later.
  attributes_ = AttributeTexts::Capture(Info());
  LoadControls();
  // Until here nothing is written, so an unreadable file never leads to
  // settings lost under the layout's defaults.
  ready_ = true;
  Rebuild(setup_.writeAtOpening);
}

void GeneratorDialog::Rebuild(bool write) {
  // A repaint leaves the status line alone, so the outcome shown after OK
  // stays until the user changes something.
  if (write) ShowEditing();
  writing_ = write;
  BuildRecords(list_);
  writing_ = false;
  if (write) ShowDesignWarnings();
  Invalidate();
  if (!write || !ready_) return;
  const std::string file = SettingsFile();
  if (file.empty()) return;
  // A change whose files could not be written is reported at the next one.
  ThrowFailedWrite();
  lastSettings_ = SettingsLines();
  lastRandom_ = setup_.randomName ? App().random->Next() : 0;
  lastName_ = MakeBlockName(lastSettings_, lastRandom_);
  std::vector<InfoFolder::NamedLines> others;
  for (SettingsFileLines& other : OtherSettings()) {
    others.push_back({std::move(other.name), std::move(other.lines)});
  }
  WriteHandOff(Info(), DrawDataLines(), file, lastSettings_, lastName_, others);
}

size_t GeneratorDialog::SettingsLineCount(std::string_view fileName) {
  const FittingKind* kind = FittingForStem(setup_.layout);
  if (kind && EqualsIgnoreCase(fileName, std::string(kind->stem) + ".ini")) {
    return SettingsLines().size();
  }
  for (const SettingsFileLines& other : OtherSettings()) {
    if (EqualsIgnoreCase(other.name, fileName)) return other.lines.size();
  }
  return 0;
}

void GeneratorDialog::ShowDesignWarnings() {
  ui::Control* line = FindControl(kDesignWarningLine);
  if (!line) return;
  std::string text = JoinWarnings(DesignWarnings());
  if (line->Text() != text) SetItemText(kDesignWarningLine, std::move(text));
}

void GeneratorDialog::OnUpdateButton() {
  if (!CheckInput()) return;
  Rebuild(true);
}

void GeneratorDialog::RefuseValue(int field, const std::string& text,
                                  const std::string& caption) {
  MessageBox(text, caption);
  if (field != 0) FocusItem(field);
}

void GeneratorDialog::OnOK() {
  if (!ready_) {
    MessageBox("必要なファイルを読み込めなかったため、作図できません。", "確認");
    return;
  }
  if (!ReadyForBlock()) return;
  // The block is the drawing of the controls as they stand now, never the
  // one written at the last confirmed change.
  if (!CheckInput()) return;
  Rebuild(true);
  // A failed write ends the handler here: nothing is started.
  FinishQueuedWrites();
  const std::string file = SettingsFile();
  if (file.empty()) return;
  if (list_.Count() <= 1 && !EmptyDrawingMessage().empty()) {
    RefuseValue(EmptyDrawingField(), EmptyDrawingMessage(), EmptyDrawingCaption());
    return;
  }
  // The fitting as OK made it: from the dialog's own values, never read back
  // from the info folder another window may have written since.
  Fitting fitting;
  if (const FittingKind* kind = FittingForStem(setup_.layout)) {
    SetFittingKind(fitting, kind->className);
  }
  fitting.typedDimensions = TypedDimensions();
  fitting.files.push_back({file, lastSettings_});
  for (SettingsFileLines& other : OtherSettings()) fitting.files.push_back(std::move(other));
  fitting.records = DrawDataLines();
  if (setup_.randomName) {
    fitting.SetBlockName(lastName_, lastRandom_);
  } else {
    // Another fitting holding the name gives way to the name with the next
    // random number after it.
    fitting.blockName = fitting.nameBase = lastName_;
  }
  fitting.attributes = attributes_;
  HandFittingToBuilder(*this, App(), fitting, setup_.statusId);
}

void GeneratorDialog::OnPaint(Canvas& canvas) {
  {
    OffsetCanvas anchor = ControlCanvas(canvas, setup_.schematicId);
    DrawSchematicIn(anchor, ClientRectOf(setup_.schematicId));
  }
  Rebuild(false);
  if (!setup_.previewId) return;
  OffsetCanvas preview = ControlCanvas(canvas, setup_.previewId);
  const PixelRect client = ClientRectOf(setup_.previewId);
  preview.SetClip(&client);
  DrawPreviewIn(preview, client);
  preview.SetClip(nullptr);
}

void GeneratorDialog::DrawPreviewIn(Canvas& canvas, const PixelRect& client) {
  DrawPreview(canvas, client, list_, PreviewNumerator());
}

void GeneratorDialog::DrawSchematicIn(Canvas& anchor, const PixelRect& anchorClient) {
  DrawSchematic(anchor, anchorClient, schematic_, setup_.schematicOriginX, setup_.schematicOriginY,
                setup_.schematicScale,
                [this](const SchematicLine& line) { return SchematicPen(line); });
}

void GeneratorDialog::FillListsFrom(std::string_view file, std::initializer_list<int> combos,
                                    size_t capacity) {
  for (int id : combos) Item(id).ResetContent();
  if (!Info().Exists(file)) return;
  for (const std::string& line : Info().ReadToEnd(file, capacity)) {
    for (int id : combos) Item(id).AddString(line);
  }
}

std::string GeneratorDialog::RadioText(std::initializer_list<int> radios) {
  int k = 1;
  for (int id : radios) {
    if (IsChecked(id)) return std::to_string(k);
    ++k;
  }
  return {};
}

void GeneratorDialog::ApplyRadioText(const std::string& text, std::initializer_list<int> radios) {
  int k = 1;
  for (int id : radios) {
    if (text == std::to_string(k)) {
      CheckRadio(id);
      return;
    }
    ++k;
  }
}

void GeneratorDialog::ApplyCheckText(const std::string& text, int id) {
  if (text == "1") SetChecked(id, true);
  if (text == "0") SetChecked(id, false);
}

std::string GeneratorDialog::SettingsFile() {
  const SettingsDeclaration* decl = Declaration();
  return decl ? std::string(decl->file) : std::string();
}

std::vector<std::string> GeneratorDialog::SettingsLines() { return DeclaredSettingsLines(); }

std::string GeneratorDialog::TypedDimensions() {
  const SettingsDeclaration* decl = Declaration();
  return decl ? DescribeTypedValues(*decl, SettingsLines()) : std::string();
}

DeclaredControls GeneratorDialog::Controls() {
  DeclaredControls controls;
  controls.text = [this](int id) { return ItemText(id); };
  controls.setText = [this](int id, std::string text) { SetItemText(id, std::move(text)); };
  controls.checked = [this](int id) { return IsChecked(id); };
  controls.setChecked = [this](int id, bool on) { SetChecked(id, on); };
  controls.checkRadio = [this](int id) { CheckRadio(id); };
  return controls;
}

std::vector<std::string> GeneratorDialog::DeclaredSettingsLines() {
  const SettingsDeclaration* decl = Declaration();
  return decl ? DeclaredLines(*decl, Controls()) : std::vector<std::string>();
}

void GeneratorDialog::ApplyDeclaredSettings(const std::vector<std::string>& lines) {
  if (const SettingsDeclaration* decl = Declaration()) ApplyDeclaredLines(*decl, lines, Controls());
}

std::vector<std::string> GeneratorDialog::LoadDeclaredSettings() {
  const SettingsDeclaration* decl = Declaration();
  // Without a settings file the controls keep what the layout gives them.
  if (!decl || !Info().Exists(decl->file)) return {};
  std::vector<std::string> lines = decl->padShortFile
                                       ? Info().ReadLines(decl->file, decl->LineCount())
                                       : Info().ReadToEnd(decl->file, decl->LineCount());
  ApplyDeclaredSettings(lines);
  return lines;
}

const std::string& GeneratorDialog::Derive(int id, const std::string& text) {
  if (writing_ && ItemText(id) != text) SetItemText(id, text);
  return text;
}

ui::MessageEntry GeneratorDialog::SelectionInto(int combo, int edit) {
  return {ui::EventKind::kSelChange, combo, [this, combo, edit] {
            if (CopySelection(combo, edit)) Rebuild(true);
          }};
}

void GeneratorDialog::FillList(int combo, std::span<const char* const> entries) {
  ui::Control& list = Item(combo);
  list.ResetContent();
  for (const char* entry : entries) list.AddString(entry);
}

bool GeneratorDialog::CopySelection(int combo, int edit) {
  const ui::Control& list = Item(combo);
  if (list.CurSel() < 0) return false;
  SetItemText(edit, list.ItemText(list.CurSel()));
  return true;
}

std::vector<ui::MessageEntry> GeneratorDialog::LinkedPairEntries(
    const std::vector<LinkedPair>& pairs, const std::function<void()>& after) {
  using ui::EventKind;
  std::vector<ui::MessageEntry> entries;
  for (const LinkedPair& pair : pairs) {
    for (int side : {1, 2}) {
      const int changed = side == 1 ? pair.first : pair.second;
      const int other = side == 1 ? pair.second : pair.first;
      entries.push_back({EventKind::kSetFocus, changed, [this, side] { linkFocus_ = side; }});
      entries.push_back(
          {EventKind::kEditChange, changed, [this, side, changed, other, pair, after] {
             if (linkFocus_ != side) return;
             SetItemText(other,
                         IntegerText(ToDouble(ItemText(pair.total)) - ToDouble(ItemText(changed))));
             if (after) after();
           }});
    }
  }
  return entries;
}

void GeneratorDialog::SplitInHalves(const LinkedPair& pair) {
  const std::string half = IntegerText(ToDouble(ItemText(pair.total)) / 2.0);
  SetItemText(pair.first, half);
  SetItemText(pair.second, half);
}

}  // namespace tavelin
