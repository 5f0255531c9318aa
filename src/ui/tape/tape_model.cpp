#include "ui/tape/tape_model.h"

#include "ui/common/qt_text.h"

namespace devical::ui {

TapeModel::TapeModel(session::TapeLog& tape, QObject* parent) : QAbstractTableModel(parent), tape_(tape) {
    tape_.Watch(this);
}

TapeModel::~TapeModel() { tape_.Watch(nullptr); }

void TapeModel::SetWords(engine::TapeWords words, engine::TapeCells titles) {
    words_ = std::move(words);
    titles_ = std::move(titles);
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

std::vector<engine::TapeLine> TapeModel::Lines(const std::vector<int>& rows) const {
    const auto& lines = tape_.Lines();
    if (rows.empty()) return {lines.begin(), lines.end()};
    std::vector<engine::TapeLine> chosen;
    for (const int row : rows)
        chosen.push_back(lines[static_cast<std::size_t>(row)]);
    return chosen;
}

QString TapeModel::Spoken(int row) const {
    const engine::TapeCells cells = engine::CellsOf(tape_.Lines()[static_cast<std::size_t>(row)], words_);
    QStringList said;
    for (std::size_t column = 0; column + 1 < cells.size(); ++column)  // all but the time
        if (!cells[column].empty()) said << Text(cells[column]);
    return said.join(QStringLiteral(", "));
}

int TapeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tape_.Lines().size());
}

int TapeModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(engine::kTapeColumns);
}

QVariant TapeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            (engine::IsTapeAmountColumn(static_cast<std::size_t>(index.column())) ? Qt::AlignRight : Qt::AlignLeft) |
            Qt::AlignVCenter);
    // A cell too narrow for its text shows it whole under the pointer.
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const engine::TapeLine& line = tape_.Lines()[static_cast<std::size_t>(index.row())];
    return Text(engine::CellsOf(line, words_)[static_cast<std::size_t>(index.column())]);
}

QVariant TapeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    if (role == Qt::TextAlignmentRole && engine::IsTapeAmountColumn(static_cast<std::size_t>(section)))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    return Text(titles_[static_cast<std::size_t>(section)]);
}

void TapeModel::Dropping(std::size_t count) { beginRemoveRows({}, 0, static_cast<int>(count) - 1); }

void TapeModel::Adding() { beginInsertRows({}, rowCount(), rowCount()); }

}  // namespace devical::ui
