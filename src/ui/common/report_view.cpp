#include "ui/common/report_view.h"

#include <QHeaderView>

#include "ui/common/colours.h"

namespace devical::ui {

QTreeView* MakeReportView(QWidget* window, Place place, QAbstractItemModel* model, int stretchedColumn,
                          QAbstractItemView::SelectionMode selection) {
    auto* view = Placed(new QTreeView(window), "ListView1", place);
    view->setModel(model);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);  // a long list opens without measuring each row
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(selection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->header()->setSectionsClickable(false);
    view->header()->setStretchLastSection(false);
    view->header()->setSectionResizeMode(stretchedColumn, QHeaderView::Stretch);
    QFont font = view->font();
    font.setPointSize(9);
    view->setFont(font);
    view->setPalette(WithReadableSelection(view->palette()));
    view->installEventFilter(window);
    return view;
}

}  // namespace devical::ui
