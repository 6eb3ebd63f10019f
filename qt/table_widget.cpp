#include "qt/table_widget.hpp"

#include <QHeaderView>
#include <QTableWidget>
#include <vector>

#include "qt/dialog_window.hpp"

namespace tavelin::qt {
namespace {

constexpr int kWidestColumn = 280;  // pixels; a long cell is cut, its whole text in the tooltip

QStringList Cells(const std::string& line) {
  return QString::fromStdString(line).split(QLatin1Char('\t'));
}

bool LooksNumeric(const QString& text) {
  bool ok = false;
  text.toDouble(&ok);
  return ok;
}

}  // namespace

QWidget* CreateTableWidget(DialogWindow& window, int id) {
  DialogWindow* const self = &window;
  auto* table = new QTableWidget(self);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setAlternatingRowColors(true);
  table->setWordWrap(false);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setMaximumSectionSize(kWidestColumn);
  table->horizontalHeader()->setStretchLastSection(true);
  QObject::connect(table, &QTableWidget::currentCellChanged, self,
                   [self, id](int row, int, int, int) {
                     if (row >= 0) self->Select(id, row);
                   });
  return table;
}

void ReflectTable(QWidget* widget, const ui::Control& control) {
  auto* table = static_cast<QTableWidget*>(widget);
  QString content = QString::fromStdString(control.Text());
  for (const std::string& row : control.Items()) content += QLatin1Char('\n') + QString::fromStdString(row);
  if (table->property("shownContent").toString() != content || table->columnCount() == 0) {
    table->setProperty("shownContent", content);
    const QStringList headings = Cells(control.Text());
    table->clear();
    table->setColumnCount(static_cast<int>(headings.size()));
    table->setHorizontalHeaderLabels(headings);
    table->setRowCount(control.Count());
    std::vector<QStringList> rows;
    for (int r = 0; r < control.Count(); ++r) rows.push_back(Cells(control.ItemText(r)));
    // A column of numbers only is aligned right.
    std::vector<bool> numeric(static_cast<size_t>(headings.size()), true);
    for (const QStringList& cells : rows) {
      for (int c = 0; c < cells.size() && c < headings.size(); ++c) {
        if (!cells[c].isEmpty() && !LooksNumeric(cells[c])) numeric[static_cast<size_t>(c)] = false;
      }
    }
    for (int r = 0; r < control.Count(); ++r) {
      const QStringList& cells = rows[static_cast<size_t>(r)];
      for (int c = 0; c < cells.size() && c < headings.size(); ++c) {
        auto* cell = new QTableWidgetItem(cells[c]);
        cell->setToolTip(cells[c]);
        if (numeric[static_cast<size_t>(c)]) cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table->setItem(r, c, cell);
      }
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
  }
  if (table->currentRow() != control.CurSel()) {
    if (control.CurSel() < 0) {
      table->setCurrentCell(-1, -1);
      table->clearSelection();
    } else {
      table->setCurrentCell(control.CurSel(), 0);
    }
  }
}

}  // namespace tavelin::qt
