#include "app/dialog_registry.hpp"

#include "app/block_browser_dialog.hpp"
#include "app/layer_prefix_dialog.hpp"
#include "app/main_dialog.hpp"
#include "app/schedule_dialog.hpp"
#include "attributes/duct_attr_dialog.hpp"
#include "attributes/line_attr_dialog.hpp"
#include "attributes/line_type_dialog.hpp"
#include "duct/anemob_dialog.hpp"
#include "duct/anemou_dialog.hpp"
#include "duct/bunki2_dialog.hpp"
#include "duct/bunki3_dialog.hpp"
#include "duct/choku_dialog.hpp"
#include "duct/danpa_dialog.hpp"
#include "duct/erbo_dialog.hpp"
#include "duct/flex_dialog.hpp"
#include "duct/furiage_dialog.hpp"
#include "duct/jyoge2_dialog.hpp"
#include "duct/jyoge_dialog.hpp"
#include "duct/kakubox_dialog.hpp"
#include "duct/oti_dialog.hpp"
#include "duct/serbo_dialog.hpp"
#include "duct/smagari_dialog.hpp"
#include "duct/tuki_dialog.hpp"
#include "duct/ubox_dialog.hpp"
#include "duct/updown_dialog.hpp"
#include "framework/text.hpp"
#include "pipe/parts_menu_dialog.hpp"
#include "pipe/pipe_attr_dialog.hpp"

namespace tavelin {
namespace {

template <typename T>
std::unique_ptr<ui::Dialog> Make(ui::AppContext& app) {
  return std::make_unique<T>(app);
}

template <typename T>
const std::vector<const SettingsDeclaration*>& Declared() {
  return T::Declarations();
}

}  // namespace

const std::vector<DialogEntry>& DialogTable() {
  static const std::vector<DialogEntry> kTable = {
      {"MainDialog", "", ui::kProductTitle, &Make<MainDialog>},
      {"ChokuDialog", "Choku", "直管作図", &Make<ChokuDialog>, &Declared<ChokuDialog>},
      {"AnemoBDialog", "AnemoB", "アネモ+ボックス", &Make<AnemoBDialog>, &Declared<AnemoBDialog>},
      {"ErboDialog", "Erbo", "エルボ：一般両エルボ", &Make<ErboDialog>, &Declared<ErboDialog>},
      {"DanpaDialog", "Danpa", "ダンパー作図", &Make<DanpaDialog>, &Declared<DanpaDialog>},
      {"Bunki2Dialog", "Bunki2", "割込分岐：二・双・T方向", &Make<Bunki2Dialog>,
       &Declared<Bunki2Dialog>},
      {"Bunki3Dialog", "Bunki3", "割込分岐：三方向", &Make<Bunki3Dialog>, &Declared<Bunki3Dialog>},
      {"SErboDialog", "S_Erbo", "消音付エルボ", &Make<SErboDialog>, &Declared<SErboDialog>},
      {"OtiDialog", "Oti", "短管・片落管", &Make<OtiDialog>, &Declared<OtiDialog>},
      {"JyogeDialog", "Jyoge", "エルボ上下：単独", &Make<JyogeDialog>, &Declared<JyogeDialog>},
      {"FuriageDialog", "Furiage", "斜め上下振りダクト", &Make<FuriageDialog>,
       &Declared<FuriageDialog>},
      {"UpdownDialog", "Updown", "アップダウン", &Make<UpdownDialog>, &Declared<UpdownDialog>},
      {"FlexDialog", "Flex", "フレキダクト", &Make<FlexDialog>, &Declared<FlexDialog>},
      {"AnemoUDialog", "AnemoU", "アネモ+ユニネック", &Make<AnemoUDialog>, &Declared<AnemoUDialog>},
      {"TukiDialog", "Tuki", "突付け分岐枝管", &Make<TukiDialog>, &Declared<TukiDialog>},
      {"UboxDialog", "Ubox", "内貼り付ボックス", &Make<UboxDialog>, &Declared<UboxDialog>},
      {"SmagariDialog", "Smagari", "S字管", &Make<SmagariDialog>, &Declared<SmagariDialog>},
      {"KakuboxDialog", "Kakubox", "角形制気口+ボックス", &Make<KakuboxDialog>,
       &Declared<KakuboxDialog>},
      {"Jyoge2Dialog", "Jyoge2", "エルボ上下：連続", &Make<Jyoge2Dialog>, &Declared<Jyoge2Dialog>},
      {"PartsMenuDialog", "", "配置部材選択メニュー", &Make<PartsMenuDialog>,
       &Declared<PartsMenuDialog>},
      {"PipeAttrDialog", "", "配管継手・部材属性設定", &Make<PipeAttrDialog>},
      {"DuctAttrDialog", "", "角ダクト属性設定", &Make<DuctAttrDialog>},
      {"LineAttrDialog", "", "線属性設定", &Make<LineAttrDialog>},
      {"LineTypeDialog", "", "線種登録", &Make<LineTypeDialog>},
      {"LayerPrefixDialog", "", "レイヤ付加文字登録", &Make<LayerPrefixDialog>},
      {"BlockBrowserDialog", "", "ブロック一覧", &Make<BlockBrowserDialog>},
      {"ScheduleDialog", "", "継手数量表", &Make<ScheduleDialog>},
  };
  return kTable;
}

const SettingsDeclaration* DeclarationOfFile(std::string_view file, const DialogEntry** writer) {
  for (const DialogEntry& entry : DialogTable()) {
    if (!entry.declarations) continue;
    for (const SettingsDeclaration* decl : entry.declarations()) {
      if (!EqualsIgnoreCase(decl->file, file)) continue;
      if (writer) *writer = &entry;
      return decl;
    }
  }
  return nullptr;
}

std::unique_ptr<ui::Dialog> CreateDialog(std::string_view className, ui::AppContext& app) {
  for (const DialogEntry& entry : DialogTable()) {
    if (entry.className != className) continue;
    return entry.create(app);
  }
  return nullptr;
}

std::string_view ClassForStem(std::string_view stem) {
  for (const DialogEntry& entry : DialogTable()) {
    if (!entry.stem.empty() && EqualsIgnoreCase(entry.stem, stem)) return entry.className;
  }
  return {};
}

void InstallDialogFactory(ui::AppContext& app) {
  app.createDialog = [](std::string_view className, ui::AppContext& context) {
    return CreateDialog(className, context);
  };
}

}  // namespace tavelin
