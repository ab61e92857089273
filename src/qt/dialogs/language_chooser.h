// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

#include "common/prompts.h"

class QComboBox;
class QLabel;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace vqx {

// The language chooser: a drive list (Drive1; the mounted file systems, root first), a folder
// tree (Dir1) and the folder's "*.lng" files (File1). It starts at the program's current
// folder. Selecting a file emits languageChosen with the folder, the platform's separator and
// the file name ("English.lng" when the selection has no file name), then the window closes.
// Closing it any other way emits closedWithoutChoice. The window deletes itself when closed.
// A file whose path holds a line break cannot be kept in the settings file: it is refused with a
// message, and the chooser stays open.
class LanguageChooser : public QWidget {
  Q_OBJECT

 public:
  explicit LanguageChooser(Prompts& prompts, QWidget* parent = nullptr);

  // The folder the file list shows.
  QString folder() const { return folder_; }
  // Moves the folder tree and the file list to `path`.
  void setFolder(const QString& path);

  // File1's selection: takes the selected file (or "English.lng"), announces it and closes.
  void takeSelectedFile();

 signals:
  void languageChosen(const QString& path);
  void closedWithoutChoice();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void showDrive(int index);
  void showChosenFolder(QTreeWidgetItem* current);
  QTreeWidgetItem* addFolder(QTreeWidgetItem* parent, const QString& path);
  void listFolders(QTreeWidgetItem* item);
  void showFiles(const QString& path);

  Prompts& prompts_;
  QLabel* pathLabel_ = nullptr;
  QTreeWidget* folders_ = nullptr;
  QIcon folderIcon_;
  QLabel* driveLabel_ = nullptr;
  QComboBox* drives_ = nullptr;
  QLabel* filesLabel_ = nullptr;
  QListWidget* files_ = nullptr;
  QString folder_;
  bool filling_ = false;
  bool chosen_ = false;
};

}  // namespace vqx
