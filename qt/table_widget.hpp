// A list box whose layout marks it a table: its text holds the column
// headings and each entry a row, the cells separated by tabs.
#pragma once

#include <QWidget>

#include "framework/toolkit/control.hpp"

namespace tavelin::qt {

class DialogWindow;

// A read-only table whose current row is the list's selection.
QWidget* CreateTableWidget(DialogWindow& window, int id);
// Shows the headings, rows and selection of `control` when they changed.
void ReflectTable(QWidget* widget, const ui::Control& control);

}  // namespace tavelin::qt
