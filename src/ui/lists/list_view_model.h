// A list's rows as its view shows them: the stored rows, turned into text only for the rows
// painted, the currency rows with a padlock. Every change goes through here so that the view
// follows it, its selection staying on the row it was on.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>

#include "storage/list_model.h"

namespace devical::ui {

class ListViewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListViewModel(storage::ListKind kind, QObject* parent = nullptr);

    const storage::ListModel& Rows() const { return rows_; }
    void SetHeaders(const QStringList& headers);
    // What a screen reader adds to a locked row, which otherwise differs only by its picture.
    void SetLockedDescription(const QString& text) { lockedDescription_ = text; }

    // Each throws FileError. Loading gives false, the rows kept, when the file does not exist.
    bool LoadList(const QString& path, char decimalSeparator);
    storage::ListModel::Saved SaveList(const QString& path, char decimalSeparator);
    // The file read again when another writer changed it and the user has changed nothing.
    // True when it was read again.
    bool FollowFile(const QString& path, char decimalSeparator);

    // The new row's position comes back.
    int Insert(const QString& currencyTitle);
    int Append(const storage::ListRecord& record);
    void Store(const storage::RowEdit& edit);
    void Delete(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    void Sort();
    int Appended(const std::function<void()>& append);

    storage::ListModel rows_;
    QStringList headers_;
    QString lockedDescription_ = QStringLiteral("verrouillé");
    const QIcon padlocks_[2];  // unlocked, locked: one of each for every row
};

}  // namespace devical::ui
