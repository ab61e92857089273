#include "qt/dialogs/frm_language_chooser.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
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

QString driveText(const QStorageInfo& v) {
  const QString root = QDir::toNativeSeparators(v.rootPath());
  return v.name().isEmpty() ? root : root + QStringLiteral(" [") + v.name() + QLatin1Char(']');
}

}  // namespace

frmSceltaLingua::frmSceltaLingua(Prompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), prompts_(prompts) {
  setObjectName(QStringLiteral("frmSceltaLingua"));
  setWindowTitle(QString::fromUtf8(kAppTitle));
  setAttribute(Qt::WA_DeleteOnClose);
  QFont font(QStringLiteral("Arial"));
  font.setPointSizeF(7.5);
  setFont(font);

  Label1_ = new QLabel(QStringLiteral("Path:"));
  Label1_->setObjectName(QStringLiteral("Label1"));
  Label2_ = new QLabel(QStringLiteral("Drive:"));
  Label2_->setObjectName(QStringLiteral("Label2"));
  Label3_ = new QLabel(QStringLiteral("Language:"));
  Label3_->setObjectName(QStringLiteral("Label3"));

  dirs_ = new QFileSystemModel(this);
  dirs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  dirs_->setRootPath(QString());
  Dir1_ = new QTreeView;
  Dir1_->setObjectName(QStringLiteral("Dir1"));
  Dir1_->setModel(dirs_);
  for (int column = 1; column < dirs_->columnCount(); ++column) Dir1_->hideColumn(column);
  Dir1_->header()->hide();
  Dir1_->setMinimumSize(180, 220);

  Drive1_ = new QComboBox;
  Drive1_->setObjectName(QStringLiteral("Drive1"));
  for (const QStorageInfo& v : drives()) Drive1_->addItem(driveText(v), v.rootPath());

  File1_ = new QListWidget;
  File1_->setObjectName(QStringLiteral("File1"));

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1_, 0, 0);
  grid->addWidget(Dir1_, 1, 0, 3, 1);
  grid->addWidget(Label2_, 0, 1);
  grid->addWidget(Drive1_, 1, 1);
  grid->addWidget(Label3_, 2, 1);
  grid->addWidget(File1_, 3, 1);

  setFolder(QDir::currentPath());
  // The tree fills in the background; the chosen folder stays in view as it grows.
  connect(Dir1_->verticalScrollBar(), &QScrollBar::rangeChanged, this,
          &frmSceltaLingua::keepFolderInView);

  connect(Drive1_, &QComboBox::activated, this, &frmSceltaLingua::Drive1_Change);
  connect(Dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { Dir1_Change(current); });
  // A file counts as chosen once it is selected; the current row alone (which focus moves to
  // the first entry) chooses nothing.
  connect(File1_, &QListWidget::itemSelectionChanged, this, [this] {
    if (!filling_ && !File1_->selectedItems().isEmpty()) File1_Click();
  });
  // A click on the file already selected chooses it too; one whose selection was refused and
  // cleared during the same click does not.
  connect(File1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (item->isSelected()) File1_Click();
  });
}

void frmSceltaLingua::setFolder(const QString& path) {
  const QString folder = QDir(path).absolutePath();
  const QString root = QStorageInfo(folder).rootPath();
  const int drive = Drive1_->findData(root);
  if (drive >= 0) Drive1_->setCurrentIndex(drive);
  const QModelIndex index = dirs_->index(folder);
  if (index.isValid()) {
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) Dir1_->expand(up);
    Dir1_->setCurrentIndex(index);  // also shows its files through Dir1_Change
    keepFolderInView();
  }
  showFiles(folder);
}

void frmSceltaLingua::keepFolderInView() {
  // From the event loop: the view finishes its own layout first.
  QTimer::singleShot(0, Dir1_, [this] {
    if (Dir1_->currentIndex().isValid()) {
      Dir1_->scrollTo(Dir1_->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
  });
}

void frmSceltaLingua::Drive1_Change(int index) {
  const QString root = Drive1_->itemData(index).toString();
  if (root.isEmpty() || !QDir(root).exists()) return;  // a drive not ready changes nothing
  setFolder(root);
}

void frmSceltaLingua::Dir1_Change(const QModelIndex& current) {
  if (current.isValid()) showFiles(dirs_->filePath(current));
}

void frmSceltaLingua::showFiles(const QString& path) {
  folder_ = path;
  filling_ = true;
  File1_->clear();
  const QStringList files =
      QDir(path).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
  File1_->addItems(files);
  File1_->setCurrentRow(-1);
  filling_ = false;
}

void frmSceltaLingua::File1_Click() {
  if (chosen_) return;
  const auto selected = File1_->selectedItems();
  const QString name =
      selected.isEmpty() ? QStringLiteral("English.lng") : selected.front()->text();
  const std::string path = joinLanguagePath(QDir::toNativeSeparators(folder_).toStdString(),
                                            name.toStdString(), QDir::separator().toLatin1());
  if (!fitsOnOneLine(path)) {
    filling_ = true;  // a selection cleared is no choice
    File1_->clearSelection();
    filling_ = false;
    prompts_.error(lineBreakInPathMessage(path));
    return;
  }
  chosen_ = true;
  emit languageChosen(QString::fromStdString(path));
  close();
}

void frmSceltaLingua::closeEvent(QCloseEvent* event) {
  if (!chosen_) emit closedWithoutChoice();
  event->accept();
}

}  // namespace vqx
