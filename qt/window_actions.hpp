// The user's actions written as words, as tavelin-cli takes them
// (set:ID=TEXT click:ID select:ID=K dblclick:ID=K focus:ID point:X,Y ok cancel),
// applied to an open window as if the user did them.
#pragma once

#include <string>

namespace tavelin::qt {

class DialogWindow;

// Applies `action`; returns an error text, empty on success.
std::string ApplyAction(DialogWindow& window, const std::string& action);

}  // namespace tavelin::qt
