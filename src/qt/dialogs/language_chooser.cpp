// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "qt/dialogs/language_chooser.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

#include "app/settings_file.h"
#include "common/result.h"
#include "i18n/language_file.h"

namespace vqx {
namespace {

// The drives: every mounted, ready file system, the root file system first.
QList<QStorageInfo> drives() {
  QList<QStorageInfo> volumes;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (v.isValid() && v.isReady()) volumes.append(v);
  }
  std::stable_sort(volumes.begin(), volumes.end(),
                   [](const QStorageInfo& a, const QStorageInfo& b) {
                     if (a.isRoot() != b.isRoot()) return a.isRoot();
                     return a.rootPath() < b.rootPath();
                   });
  return volumes;
}

// What an entry of the folder tree keeps besides its name.
constexpr int kPathRole = Qt::UserRole;        // the folder's full path
constexpr int kListedRole = Qt::UserRole + 1;  // its subfolders have been listed

QString pathOf(const QTreeWidgetItem* item) {
  return item->data(0, kPathRole).toString();
}

QString driveText(const QStorageInfo& v) {
  const QString root = QDir::toNativeSeparators(v.rootPath());
  return v.name().isEmpty() ? root : root + QStringLiteral(" [") + v.name() + QLatin1Char(']');
}

}  // namespace

LanguageChooser::LanguageChooser(Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), prompts_(prompts) {
  setObjectName(QStringLiteral("frmSceltaLingua"));
  setWindowTitle(QString::fromUtf8(kAppTitle));
  setAttribute(Qt::WA_DeleteOnClose);
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(7.5);
  setFont(font);

  pathLabel_ = new QLabel(QStringLiteral("Path:"));
  pathLabel_->setObjectName(QStringLiteral("Label1"));
  driveLabel_ = new QLabel(QStringLiteral("Drive:"));
  driveLabel_->setObjectName(QStringLiteral("Label2"));
  filesLabel_ = new QLabel(QStringLiteral("Language:"));
  filesLabel_->setObjectName(QStringLiteral("Label3"));

  // The folder tree lists a folder's subfolders when it is first opened, with one shared icon,
  // and watches nothing: a folder in which thousands of entries come and go costs nothing while
  // the chooser is up.
  folders_ = new QTreeWidget;
  folders_->setObjectName(QStringLiteral("Dir1"));
  folders_->setHeaderHidden(true);
  folders_->setMinimumSize(180, 220);
  folderIcon_ = style()->standardIcon(QStyle::SP_DirIcon);
  for (const QFileInfo& root : QDir::drives()) addFolder(nullptr, root.absoluteFilePath());

  drives_ = new QComboBox;
  drives_->setObjectName(QStringLiteral("Drive1"));
  for (const QStorageInfo& v : drives()) drives_->addItem(driveText(v), v.rootPath());

  files_ = new QListWidget;
  files_->setObjectName(QStringLiteral("File1"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(pathLabel_, 0, 0);
  grid->addWidget(folders_, 1, 0, 3, 1);
  grid->addWidget(driveLabel_, 0, 1);
  grid->addWidget(drives_, 1, 1);
  grid->addWidget(filesLabel_, 2, 1);
  grid->addWidget(files_, 3, 1);

  connect(folders_, &QTreeWidget::itemExpanded, this, &LanguageChooser::listFolders);
  connect(drives_, &QComboBox::activated, this, &LanguageChooser::showDrive);
  connect(folders_, &QTreeWidget::currentItemChanged, this, &LanguageChooser::showChosenFolder);
  setFolder(QDir::currentPath());
  // A file counts as chosen once it is selected; the current row alone (which focus moves to
  // the first entry) chooses nothing.
  connect(files_, &QListWidget::itemSelectionChanged, this, [this] {
    if (!filling_ && !files_->selectedItems().isEmpty()) takeSelectedFile();
  });
  // A click on the file already selected chooses it too; one whose selection was refused and
  // cleared during the same click does not.
  connect(files_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (item->isSelected()) takeSelectedFile();
  });
}

QTreeWidgetItem* LanguageChooser::addFolder(QTreeWidgetItem* parent, const QString& path) {
  const QString name = parent ? QFileInfo(path).fileName() : QDir::toNativeSeparators(path);
  auto* item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(folders_, {name});
  item->setData(0, kPathRole, path);
  item->setIcon(0, folderIcon_);
  item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  return item;
}

void LanguageChooser::listFolders(QTreeWidgetItem* item) {
  if (item->data(0, kListedRole).toBool()) return;
  item->setData(0, kListedRole, true);
  const QDir folder(pathOf(item));
  for (const QString& name :
       folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    addFolder(item, folder.filePath(name));
  }
  item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

void LanguageChooser::setFolder(const QString& path) {
  const QString folder = QDir(path).absolutePath();
  const QString root = QStorageInfo(folder).rootPath();
  const int drive = drives_->findData(root);
  if (drive >= 0) drives_->setCurrentIndex(drive);
  // Down the tree from the drive the folder is on, listing each folder on the way; a folder the
  // listing leaves out (a hidden one) gets an entry of its own.
  QTreeWidgetItem* item = nullptr;
  for (int i = 0; i < folders_->topLevelItemCount() && !item; ++i) {
    const QString top = pathOf(folders_->topLevelItem(i));
    if (folder.startsWith(top, Qt::CaseInsensitive)) item = folders_->topLevelItem(i);
  }
  if (!item) {
    showFiles(folder);
    return;
  }
  for (const QString& name :
       folder.mid(pathOf(item).size()).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    listFolders(item);
    item->setExpanded(true);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < item->childCount() && !next; ++i) {
      if (item->child(i)->text(0) == name) next = item->child(i);
    }
    item = next ? next : addFolder(item, QDir(pathOf(item)).filePath(name));
  }
  if (folders_->currentItem() == item) {
    showFiles(folder);
  } else {
    folders_->setCurrentItem(item);  // shows its files through showChosenFolder
  }
  folders_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void LanguageChooser::showDrive(int index) {
  const QString root = drives_->itemData(index).toString();
  if (root.isEmpty() || !QDir(root).exists()) return;  // a drive not ready changes nothing
  setFolder(root);
}

void LanguageChooser::showChosenFolder(QTreeWidgetItem* current) {
  if (current) showFiles(pathOf(current));
}

void LanguageChooser::showFiles(const QString& path) {
  folder_ = path;
  filling_ = true;
  files_->clear();
  const QStringList files =
      QDir(path).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  files_->addItems(files);
  files_->setCurrentRow(-1);
  filling_ = false;
}

void LanguageChooser::takeSelectedFile() {
  if (chosen_) return;
  const auto selected = files_->selectedItems();
  const QString name =
      selected.isEmpty() ? QStringLiteral("English.lng") : selected.front()->text();
  const std::string path = joinLanguagePath(QDir::toNativeSeparators(folder_).toStdString(),
                                            name.toStdString(), QDir::separator().toLatin1());
  if (!fitsOnOneLine(path)) {
    filling_ = true;  // a selection cleared is no choice
    files_->clearSelection();
    filling_ = false;
    prompts_.error(lineBreakInPathMessage(path));
    return;
  }
  chosen_ = true;
  emit languageChosen(QString::fromStdString(path));
  close();
}

void LanguageChooser::closeEvent(QCloseEvent* event) {
  if (!chosen_) emit closedWithoutChoice();
  event->accept();
}

}  // namespace vqx
