// Texts compiled into the program from resources/ (the dialog layouts).
#pragma once

#include <string_view>
#include <vector>

namespace tavelin::resources {

// The content of the resource file `name` ("layouts/Erbo.dlg"); empty when none.
std::string_view Find(std::string_view name);

std::vector<std::string_view> Names();

}  // namespace tavelin::resources
