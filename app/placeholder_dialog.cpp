#include "app/placeholder_dialog.hpp"

namespace tavelin {

PlaceholderDialog::PlaceholderDialog(ui::AppContext& app, std::string caption)
    : Dialog(app, "Placeholder") {
  SetCaption(std::move(caption));
}

LayerPrefixDialog::LayerPrefixDialog(ui::AppContext& app) : Dialog(app, "LayerPrefix") {}

}  // namespace tavelin
