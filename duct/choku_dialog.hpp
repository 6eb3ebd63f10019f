// The straight duct dialog "直管作図". It computes no geometry: it keeps the
// pitch, size, overall length and the drawing options in "Choku.ini", hands
// the block builder the single drawing-data line "CK", and names the block
// after the stored values, with no random number. The block builder draws
// the duct from them. On the generator skeleton, it writes nothing when it
// opens: only a confirmed change and OK write the hand-off files.
#pragma once

#include <string>
#include <vector>

#include "framework/generator_dialog.hpp"

namespace tavelin {

class ChokuDialog : public GeneratorDialog {
 public:
  explicit ChokuDialog(ui::AppContext& app);

  static constexpr int kPitch = 1011;
  static constexpr int kSize = 1007;
  static constexpr int kSizeList = 1126;
  static constexpr int kBaseLeft = 1122;  // base point at the left end, middle, right end
  static constexpr int kBaseMiddle = 1123;
  static constexpr int kBaseRight = 1124;
  static constexpr int kLeftJoint = 1022;   // "作図有" under the left end joint (tag 2)
  static constexpr int kRightJoint = 1023;  // and under the right end joint (tag 3)
  static constexpr int kDuctLinesOnly = 1127;
  static constexpr int kJointsOnly = 1128;
  static constexpr int kBoth = 1129;
  static constexpr int kFixed45 = 1016;
  static constexpr int kLength = 1009;
  static constexpr int kSpareEdit = 1010;
  static constexpr int kCurrentLayer = 1125;
  static constexpr int kUpdate = 1013;
  static constexpr int kSchematicAnchor = 1006;
  static constexpr int kStatusLine = 1020;

  // "Choku.ini", line by line.
  static const std::vector<const SettingsDeclaration*>& Declarations();
  const SettingsDeclaration* Declaration() override;
  // "ChokuKan" followed by the eight values, without separators.
  std::string BlockName();
  // The aspect ratio of a size typed as "600x150"; shown under the status
  // line whenever the hand-off files are written.
  std::vector<std::string> DesignWarnings() override;
  // The block name becomes a block of a CAD drawing: a value holding a
  // character no CAD program accepts there is refused at OK with a message
  // naming it; "" when every value is fine.
  std::string RefusedNameCharacter();

 protected:
  void LoadControls() override;
  void BuildRecords(RecordList&) override {}
  std::vector<std::string> DrawDataLines() override { return {"CK"}; }
  std::string MakeBlockName(const std::vector<std::string>&, int) override { return BlockName(); }
  // An overall length, and a name a CAD program accepts.
  bool ReadyForBlock() override;
  Pen SchematicPen(const SchematicLine& line) override;
};

}  // namespace tavelin
