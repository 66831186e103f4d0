// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/image_combo_items.h"

#include <algorithm>
#include <utility>

#include "platform/qt/qt_pictures.h"

namespace korvane::platform {

ImageComboItems::ImageComboItems(PictureOf pictureOf, QObject* parent)
    : QAbstractListModel(parent), pictureOf_(std::move(pictureOf)) {}

void ImageComboItems::take(const ui::ImageCombo& combo) {
  bool same = static_cast<int>(rows_.size()) == combo.count();
  for (int k = 1; same && k <= combo.count(); ++k)
    same = rows_[static_cast<size_t>(k - 1)].item == combo.item(k);
  if (same) return;
  beginResetModel();
  rows_.clear();
  rows_.reserve(static_cast<size_t>(combo.count()));
  for (int k = 1; k <= combo.count(); ++k) rows_.push_back({combo.item(k), std::nullopt});
  endResetModel();
}

int ImageComboItems::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant ImageComboItems::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
  const Row& row = rows_[static_cast<size_t>(index.row())];
  if (role == Qt::DisplayRole || role == Qt::EditRole) return toQString(row.item.text);
  if (role != Qt::DecorationRole) return {};
  if (!row.icon) row.icon = pictureOf_(row.item.image);
  return *row.icon;
}

int ImageComboItems::picturesRead() const {
  return static_cast<int>(
      std::count_if(rows_.begin(), rows_.end(), [](const Row& r) { return r.icon.has_value(); }));
}

}  // namespace korvane::platform
