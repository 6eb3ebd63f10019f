// Every declared settings file against the dialog that writes it: the lines
// the dialog writes are the declared ones, each line bound to a control comes
// back as it was set, and the typed dimensions name every described line.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/dialog_registry.hpp"
#include "duct/anemob_dialog.hpp"
#include "duct/anemou_dialog.hpp"
#include "duct/bunki2_dialog.hpp"
#include "duct/bunki3_dialog.hpp"
#include "duct/choku_dialog.hpp"
#include "duct/danpa_dialog.hpp"
#include "duct/jyoge_dialog.hpp"
#include "duct/oti_dialog.hpp"
#include "duct/serbo_dialog.hpp"
#include "duct/tuki_dialog.hpp"
#include "framework/text.hpp"
#include "tests/support/test_root.hpp"

namespace tavelin {
namespace {
using testing::TestApp;

// A generator dialog with its settings reading and writing in reach.
template <class D>
class Probe : public D {
 public:
  using D::D;
  using D::SettingsLines;
  using GeneratorDialog::ApplyDeclaredSettings;
};

struct Opened {
  std::unique_ptr<ui::Dialog> dialog;
  const SettingsDeclaration* declaration = nullptr;
  std::function<void(const std::vector<std::string>&)> apply;
  std::function<std::vector<std::string>()> write;
  std::function<std::string()> typed;
};

template <class D>
Opened OpenGenerator(ui::AppContext& app) {
  auto probe = std::make_unique<Probe<D>>(app);
  Probe<D>* p = probe.get();
  Opened opened;
  opened.apply = [p](const std::vector<std::string>& lines) { p->ApplyDeclaredSettings(lines); };
  opened.write = [p] { return p->SettingsLines(); };
  opened.typed = [p] { return p->TypedDimensions(); };
  opened.dialog = std::move(probe);
  return opened;
}

struct Case {
  const char* className;
  const char* stem;  // for the headless generate
  int damperType;    // 1 to 5 for the damper, else 0
  Opened (*open)(ui::AppContext& app);
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.className;
  if (c.damperType) *os << " type " << c.damperType;
}

const Case kCases[] = {
    {"AnemoBDialog", "AnemoB", 0, &OpenGenerator<AnemoBDialog>},
    {"AnemoUDialog", "AnemoU", 0, &OpenGenerator<AnemoUDialog>},
    {"TukiDialog", "Tuki", 0, &OpenGenerator<TukiDialog>},
    {"Bunki2Dialog", "Bunki2", 0, &OpenGenerator<Bunki2Dialog>},
    {"Bunki3Dialog", "Bunki3", 0, &OpenGenerator<Bunki3Dialog>},
    {"SErboDialog", "S_Erbo", 0, &OpenGenerator<SErboDialog>},
    {"OtiDialog", "Oti", 0, &OpenGenerator<OtiDialog>},
    {"JyogeDialog", "Jyoge", 0, &OpenGenerator<JyogeDialog>},
    {"DanpaDialog", "Danpa", 1, &OpenGenerator<DanpaDialog>},
    {"DanpaDialog", "Danpa", 2, &OpenGenerator<DanpaDialog>},
    {"DanpaDialog", "Danpa", 3, &OpenGenerator<DanpaDialog>},
    {"DanpaDialog", "Danpa", 4, &OpenGenerator<DanpaDialog>},
    {"DanpaDialog", "Danpa", 5, &OpenGenerator<DanpaDialog>},
};

// A value for each line that differs from its neighbours' and the layout's.
std::vector<std::string> DistinctValues(const SettingsDeclaration& decl) {
  std::vector<std::string> values;
  for (size_t i = 0; i < decl.lines.size(); ++i) {
    const ParamDecl& line = decl.lines[i];
    switch (line.kind) {
      case ParamKind::kChoice:
        values.emplace_back(line.values.back().text);
        break;
      case ParamKind::kFlag:
        values.emplace_back("1");
        break;
      case ParamKind::kText:
      case ParamKind::kSize:
        values.push_back(FormatD(static_cast<int>(301 + i)) + "x" + FormatD(static_cast<int>(i)));
        break;
      default:
        values.push_back(FormatD(static_cast<int>(101 + i)));
        break;
    }
  }
  return values;
}

// "W1=600", as the description names a line holding `value`.
std::string Named(const ParamDecl& line, const std::string& value) {
  std::string shown = value;
  for (const ChoiceValue& choice : line.values) {
    if (choice.text == value && !choice.meaning.empty()) shown = std::string(choice.meaning);
  }
  return std::string(line.column) + "=" + shown + (line.unit == "°" ? "°" : "");
}

bool ControlFits(ui::Dialog& dialog, int id, ui::ControlKind kind) {
  const ui::Control* control = dialog.FindControl(id);
  return control && control->Kind() == kind;
}

void ExpectControlsExist(ui::Dialog& dialog, const SettingsDeclaration& decl) {
  for (const ParamDecl& line : decl.lines) {
    SCOPED_TRACE(std::string(line.column));
    switch (line.kind) {
      case ParamKind::kChoice:
        for (const ChoiceValue& value : line.values) {
          EXPECT_TRUE(ControlFits(dialog, value.control, ui::ControlKind::kRadioButton));
        }
        break;
      case ParamKind::kFlag:
        EXPECT_TRUE(ControlFits(dialog, line.control, ui::ControlKind::kCheckBox));
        break;
      default: {
        const ui::Control* control = dialog.FindControl(line.control);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->Kind() == ui::ControlKind::kEdit ||
                    control->Kind() == ui::ControlKind::kComboEdit);
        break;
      }
    }
  }
}

class DeclaredSettings : public ::testing::TestWithParam<Case> {};

TEST_P(DeclaredSettings, DialogWritesReadsAndDescribesItsDeclaredLines) {
  const Case& c = GetParam();
  TestApp test;
  if (c.damperType) test.Write("Danpa.ini", {FormatD(c.damperType)});

  // Opened as the user opens it, the dialog writes exactly the declared lines.
  Opened shown = c.open(test.App());
  shown.dialog->Initialize();
  EXPECT_TRUE(test.host.messages.empty());
  auto* generator = dynamic_cast<GeneratorDialog*>(shown.dialog.get());
  ASSERT_NE(generator, nullptr);
  const SettingsDeclaration* decl = generator->Declaration();
  ASSERT_NE(decl, nullptr);
  EXPECT_EQ(test.Lines(std::string(decl->file)).size(), decl->LineCount());
  EXPECT_EQ(shown.write().size(), decl->LineCount());
  // The registry knows the file and the dialog that writes it.
  const DialogEntry* writer = nullptr;
  EXPECT_EQ(DeclarationOfFile(decl->file, &writer), decl);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(writer->className, c.className);
  ExpectControlsExist(*shown.dialog, *decl);

  // Before the opening no rule of the generator runs: the controls take each
  // line as declared and write it back unchanged.
  Opened fresh = c.open(test.App());
  if (c.damperType)
    fresh.dialog->FindControl(DanpaDialog::kTypeVd + c.damperType - 1)->SetCheck(true);
  const std::vector<std::string> values = DistinctValues(*decl);
  fresh.apply(values);
  const std::vector<std::string> written = fresh.write();
  ASSERT_EQ(written.size(), values.size());
  const std::string typed = " " + fresh.typed() + " ";
  for (size_t i = 0; i < values.size(); ++i) {
    const ParamDecl& line = decl->lines[i];
    SCOPED_TRACE(std::string(line.column));
    if (line.control != 0 || line.kind == ParamKind::kChoice) {
      EXPECT_EQ(written[i], values[i]);
    }
    if (line.described) {
      EXPECT_NE(typed.find(" " + Named(line, values[i]) + " "), std::string::npos) << typed;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Generators, DeclaredSettings, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                           std::string name = info.param.stem;
                           if (name == "S_Erbo") name = "SErbo";
                           if (info.param.damperType) name += FormatD(info.param.damperType);
                           return name;
                         });

TEST(DeclaredSettings, EveryDamperFileIsDeclaredOnceByTheDamper) {
  const std::vector<const SettingsDeclaration*>& all = DanpaDialog::Declarations();
  ASSERT_EQ(all.size(), 6u);
  for (int type = 1; type <= 5; ++type) {
    EXPECT_EQ(all[type - 1], DanpaDialog::TypeDeclaration(type));
    EXPECT_EQ(all[type - 1]->file, DanpaDialog::TypeFile(type));
  }
  EXPECT_EQ(all[5]->file, "Danpa.ini");
  // The description of a damper names its typed lengths, frame and duct.
  const SettingsDeclaration& ft = *DanpaDialog::TypeDeclaration(5);
  EXPECT_EQ(DescribeTypedValues(ft, {"300", "250", "100", "120", "50", "600x150", "20", "2", "1"}),
            "L1=300 L2=250 L3=100 W=120 D=600x150");
}

// The straight duct writes its hand-off only on a confirmed change, its
// generate included.
TEST(DeclaredSettings, StraightDuctReadsWritesAndDescribesItsDeclaredLines) {
  TestApp test;
  const SettingsDeclaration& decl = *ChokuDialog::Declarations().front();
  const std::vector<std::string> values = {"1820", "600x300", "3", "1", "0", "2", "1", "3000"};
  ASSERT_EQ(values.size(), decl.LineCount());
  test.Write("Choku.ini", values);
  ChokuDialog dialog(test.App());
  dialog.Initialize();
  ExpectControlsExist(dialog, decl);
  EXPECT_EQ(dialog.Settings(), values);
  EXPECT_EQ(dialog.TypedDimensions(), "pitch=1820 size=600x300 length=3000");
  dialog.Generate();
  EXPECT_EQ(test.Lines("Choku.ini"), values);
  const DialogEntry* writer = nullptr;
  EXPECT_EQ(DeclarationOfFile("choku.INI", &writer), &decl);
  ASSERT_NE(writer, nullptr);
  EXPECT_EQ(writer->className, "ChokuDialog");
}

}  // namespace
}  // namespace tavelin
