#include "app/layer_prefix_dialog.hpp"

namespace tavelin {

LayerPrefixDialog::LayerPrefixDialog(ui::AppContext& app) : Dialog(app, "LayerPrefix") {}

}  // namespace tavelin
