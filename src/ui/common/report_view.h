// The report lists of the list and tape windows: whole rows, no tree decoration, nothing
// edited in place, column titles that do not sort, read at 9 points.
#pragma once

#include <QAbstractItemView>
#include <QTreeView>

#include "ui/common/placed.h"

namespace devical::ui {

// The list over the model, its stretched column taking what room the window has; the window
// sees its keys first.
QTreeView* MakeReportView(QWidget* window, Place place, QAbstractItemModel* model, int stretchedColumn,
                          QAbstractItemView::SelectionMode selection);

}  // namespace devical::ui
