// The layer-prefix dialog, which is still under construction by design.
#pragma once

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

// "レイヤ付加文字登録": OK, "ｷｬﾝｾﾙ" and the label "工事中"; it does nothing.
class LayerPrefixDialog : public ui::Dialog {
 public:
  explicit LayerPrefixDialog(ui::AppContext& app);
};

}  // namespace tavelin
