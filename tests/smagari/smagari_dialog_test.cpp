// The S-bend dialog: the shortest length button, the stubs that recompute the
// overall length while typed, an offset no S-bend reaches, and a saved length
// that survives opening.
#include "duct/smagari_dialog.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "framework/canvas.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;
using D = SmagariDialog;

class SmagariDialogTest : public ::testing::Test {
 protected:
  void Open() {
    dialog = std::make_unique<D>(test.App());
    dialog->Initialize();
    NullCanvas canvas;
    dialog->Paint(canvas);
  }
  std::string Text(int id) { return dialog->FindControl(id)->Text(); }

  TestApp test;
  std::unique_ptr<D> dialog;
};

TEST_F(SmagariDialogTest, ShortestLengthAndTheStubs) {
  Open();
  ASSERT_EQ(test.Lines("DrawName.ini").at(0).substr(0, 3), "SK_");
  ASSERT_TRUE(dialog->UserSetText(D::kWidth, "400"));
  ASSERT_TRUE(dialog->UserSetText(D::kRadius, "200"));
  ASSERT_TRUE(dialog->UserSetText(D::kOffset, "1000"));
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "1500"));
  ASSERT_TRUE(dialog->UserClick(D::kShortest));
  EXPECT_EQ(Text(D::kLength), "974");  // 100 + 100 + 774.59...
  EXPECT_EQ(test.Lines("Smagari.ini")[5], "974");

  // Typing a stub recomputes A at once, without an update.
  const std::string data = test.Bytes("DrawData.txt");
  ASSERT_TRUE(dialog->UserSetText(D::kLowerStub, "250"));
  EXPECT_EQ(Text(D::kLength), "1124");
  ASSERT_TRUE(dialog->UserSetText(D::kUpperStub, "0"));
  EXPECT_EQ(Text(D::kLength), "1024");
  EXPECT_EQ(test.Bytes("DrawData.txt"), data);

  // An offset beyond what two bends reach: the button says so and changes nothing.
  ASSERT_TRUE(dialog->UserSetText(D::kOffset, "1700"));
  ASSERT_TRUE(dialog->UserClick(D::kShortest));
  ASSERT_EQ(test.host.messages.size(), 1u);
  EXPECT_EQ(test.host.messages[0].caption, "入力確認");
  EXPECT_EQ(Text(D::kLength), "1024");
  EXPECT_EQ(test.Bytes("DrawData.txt"), data);
  ASSERT_TRUE(dialog->UserSetText(D::kLowerStub, "300"));  // quietly left as it is
  EXPECT_EQ(Text(D::kLength), "1024");
  EXPECT_EQ(test.host.messages.size(), 1u);
}

TEST_F(SmagariDialogTest, ALongerSavedLengthSurvivesOpening) {
  Open();
  ASSERT_TRUE(dialog->UserSetText(D::kLength, "1300"));
  ASSERT_TRUE(dialog->UserClick(D::kBaseRight));
  ASSERT_TRUE(dialog->UserClick(D::kMirror));
  const auto saved = test.Lines("Smagari.ini");
  EXPECT_EQ(saved[5], "1300");
  EXPECT_EQ(saved[7], "3");
  EXPECT_EQ(saved[8], "1");
  Open();
  EXPECT_EQ(Text(D::kLength), "1300");
  EXPECT_EQ(test.Lines("Smagari.ini"), saved);
  EXPECT_EQ(dialog->Records().rotation, 270.0);
  EXPECT_EQ(dialog->Records().mirror, 1);
}

}  // namespace
}  // namespace tavelin
