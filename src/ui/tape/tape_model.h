// The paper tape as the tape window's list shows it: one row a line of the tape, in its
// columns, kept in step with the session's tape as lines are printed.
#pragma once

#include <QAbstractTableModel>

#include "engine/tape.h"
#include "session/tape_log.h"

namespace devical::ui {

class TapeModel : public QAbstractTableModel, private session::TapeWatcher {
public:
    TapeModel(session::TapeLog& tape, QObject* parent);
    ~TapeModel() override;

    void SetWords(engine::TapeWords words, engine::TapeCells titles);
    const engine::TapeWords& Words() const { return words_; }
    const engine::TapeCells& Titles() const { return titles_; }
    // The lines of these rows, in order; all of them when none are given.
    std::vector<engine::TapeLine> Lines(const std::vector<int>& rows = {}) const;
    // What a screen reader says of a row: its cells that say something, in order.
    QString Spoken(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void Dropping(std::size_t count) override;
    void Dropped() override { endRemoveRows(); }
    void Adding() override;
    void Added() override { endInsertRows(); }
    void Resetting() override { beginResetModel(); }
    void Reset() override { endResetModel(); }

    session::TapeLog& tape_;
    engine::TapeWords words_;
    engine::TapeCells titles_;
};

}  // namespace devical::ui
