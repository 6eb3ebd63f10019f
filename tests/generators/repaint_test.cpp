// A repaint only draws: whatever the user typed since the last confirmed
// change, every generator's repaint leaves each control's text, check and
// enabling as they are, and writes nothing. Values an update derives (a
// length, a centred offset) reach the edits with the next confirmed change.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/dialog_registry.hpp"
#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {

struct ControlState {
  int id;
  std::string text;
  bool checked, enabled;
  bool operator==(const ControlState&) const = default;
};

void PrintTo(const ControlState& c, std::ostream* os) {
  *os << c.id << " \"" << c.text << "\"" << (c.checked ? " checked" : "")
      << (c.enabled ? "" : " disabled");
}

std::vector<ControlState> States(ui::Dialog& dialog) {
  std::vector<ControlState> states;
  for (const auto& control : dialog.Controls()) {
    states.push_back({control->Id(), control->Text(), control->Checked(), control->Enabled()});
  }
  return states;
}

TEST(Repaint, LeavesEveryControlAsTypedAndWritesNothing) {
  int generators = 0;
  for (const DialogEntry& entry : DialogTable()) {
    if (entry.stem.empty()) continue;
    SCOPED_TRACE(std::string(entry.className));
    ++generators;
    testing::TestApp test;
    std::unique_ptr<ui::Dialog> dialog = CreateDialog(entry.className, test.App());
    dialog->Initialize();
    NullCanvas canvas;
    dialog->Paint(canvas);
    // Each enabled number typed anew: a tenth more, or a digit added.
    int typed = 0;
    for (const SettingsDeclaration* decl : entry.declarations()) {
      for (const ParamDecl& p : decl->lines) {
        ui::Control* edit = p.control ? dialog->FindControl(p.control) : nullptr;
        if (!edit || !edit->Enabled() || !edit->Visible() ||
            (p.kind != ParamKind::kNumber && p.kind != ParamKind::kInteger))
          continue;
        const double value = std::atof(edit->Text().c_str());
        const std::string text =
            value > 0 ? std::to_string(static_cast<int>(value * 1.1 + 1)) : edit->Text() + "7";
        if (dialog->UserSetText(p.control, text)) ++typed;
      }
    }
    EXPECT_GT(typed, 0);
    const std::vector<ControlState> before = States(*dialog);
    const std::string data = test.Bytes("DrawData.txt"), name = test.Bytes("DrawName.ini");
    dialog->Paint(canvas);
    dialog->Paint(canvas);
    const std::vector<ControlState> after = States(*dialog);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i], before[i]);
    EXPECT_EQ(test.Bytes("DrawData.txt"), data);
    EXPECT_EQ(test.Bytes("DrawName.ini"), name);
  }
  EXPECT_EQ(generators, 18);
}

}  // namespace
}  // namespace tavelin
