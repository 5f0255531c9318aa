#include "ui/lists/list_view_model.h"

#include <QCollator>
#include <QGuiApplication>
#include <QScopeGuard>

#include "ui/common/colours.h"
#include "ui/common/icons.h"

namespace devical::ui {

namespace {

QString Text(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// Titles in the order of the user's locale.
storage::Collation LocaleCollation() {
    const QCollator collator;
    return storage::Collation(
        [collator](std::string_view a, std::string_view b) { return collator.compare(Text(a), Text(b)); },
        [collator](std::string_view title) { return collator.sortKey(Text(title)); });
}

// The open padlock greyed where grey still reads on the list.
QIcon Padlock(bool locked) {
    const QColor ink = locked ? QColor(Qt::black) : QColor(112, 112, 112);
    return PadlockIcon(locked, Readable(ink, QGuiApplication::palette(), QPalette::Base, QPalette::Text));
}

}  // namespace

ListViewModel::ListViewModel(storage::ListKind kind, QObject* parent)
    : QAbstractTableModel(parent), rows_(kind, LocaleCollation()), padlocks_{Padlock(false), Padlock(true)} {}

void ListViewModel::SetHeaders(const QStringList& headers) {
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

int ListViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.Size());
}

int ListViewModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_.FieldsPerRow(); }

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) return Text(rows_.Field(row, index.column()));
    if (role == Qt::TextAlignmentRole && index.column() > 0) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::DecorationRole && index.column() == 0 && rows_.Kind() == storage::ListKind::Currencies)
        return padlocks_[rows_.Row(row).locked];
    if (role == Qt::AccessibleDescriptionRole && rows_.Row(row).locked) return lockedDescription_;
    return {};
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return headers_.value(section);
    return {};
}

bool ListViewModel::LoadList(const QString& path, char decimalSeparator) {
    beginResetModel();
    const auto reset = qScopeGuard([this] { endResetModel(); });
    return rows_.LoadList(path.toStdString(), decimalSeparator);
}

storage::ListModel::Saved ListViewModel::SaveList(const QString& path, char decimalSeparator) {
    Sort();
    // The user's edits that met a newer file come back merged into its rows.
    bool merging = false;
    const auto reset = qScopeGuard([&] {
        if (merging) endResetModel();
    });
    return rows_.SaveList(path.toStdString(), decimalSeparator, [&] {
        beginResetModel();
        merging = true;
    });
}

bool ListViewModel::FollowFile(const QString& path, char decimalSeparator) {
    if (rows_.Edited() || !rows_.FileChanged(path.toStdString())) return false;
    LoadList(path, decimalSeparator);
    return true;
}

void ListViewModel::Sort() {
    if (rows_.IsSorted()) return;
    emit layoutAboutToBeChanged({}, VerticalSortHint);
    const std::vector<std::uint32_t> order = rows_.Sort();
    if (!order.empty()) {
        std::vector<int> placeOf(order.size());
        for (std::size_t place = 0; place < order.size(); ++place)
            placeOf[order[place]] = static_cast<int>(place);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        for (const QModelIndex& index : before)
            after << createIndex(placeOf[index.row()], index.column());
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, VerticalSortHint);
}

int ListViewModel::Appended(const std::function<void()>& append) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    append();
    endInsertRows();
    return row;
}

int ListViewModel::Insert(const QString& currencyTitle) {
    return Appended([&] { rows_.Insert(currencyTitle.toStdString()); });
}

int ListViewModel::Append(const storage::ListRecord& record) {
    return Appended([&] { rows_.Append(record); });
}

void ListViewModel::Store(const storage::RowEdit& edit) {
    const storage::ListModel::Move move = rows_.PlaceFor(edit);
    const int to = static_cast<int>(move.to);
    if (!move.from) {
        beginInsertRows({}, to, to);
        rows_.Store(edit);
        return endInsertRows();
    }
    const int from = static_cast<int>(*move.from);
    // The destination counts the rows before the move: one more when the row goes down.
    const bool moves = from != to && beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    rows_.Store(edit);
    if (moves) endMoveRows();
    emit dataChanged(index(to, 0), index(to, columnCount() - 1));
}

void ListViewModel::Delete(int row) {
    beginRemoveRows({}, row, row);
    rows_.Delete(static_cast<std::size_t>(row));
    endRemoveRows();
}

}  // namespace devical::ui
