// Small stand-ins: the dialog of a fitting that is not built yet, and the
// layer-prefix dialog, which is still under construction by design.
#pragma once

#include <string>

#include "framework/toolkit/dialog.hpp"

namespace tavelin {

class PlaceholderDialog : public ui::Dialog {
 public:
  PlaceholderDialog(ui::AppContext& app, std::string caption);
};

// "レイヤ付加文字登録": OK, "ｷｬﾝｾﾙ" and the label "工事中"; it does nothing.
class LayerPrefixDialog : public ui::Dialog {
 public:
  explicit LayerPrefixDialog(ui::AppContext& app);
};

}  // namespace tavelin
