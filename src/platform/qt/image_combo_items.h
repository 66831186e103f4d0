// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The items of an image combo box as Qt's list model. Each item's picture is read the first
// time the box or its list shows that item: a long server list costs its flags only when the
// list is opened, not before the window shows.
#include <QAbstractListModel>
#include <QIcon>
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/image_combo.h"

namespace korvane::platform {

class ImageComboItems : public QAbstractListModel {
 public:
  // The picture of an image-list index.
  using PictureOf = std::function<QIcon(int image)>;

  ImageComboItems(PictureOf pictureOf, QObject* parent);

  // Takes the control's items (nothing changes when they already are these).
  void take(const ui::ImageCombo& combo);
  // How many of the items' pictures have been read.
  int picturesRead() const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  struct Row {
    ui::ImageCombo::Item item;
    mutable std::optional<QIcon> icon;  // read on the first ask
  };
  PictureOf pictureOf_;
  std::vector<Row> rows_;
};

}  // namespace korvane::platform
