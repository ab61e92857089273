// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <memory>

#include "common/prompts.h"
#include "common/settings_store.h"
#include "dialogs/port_properties.h"
#include "serial/serial_control.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;

namespace vqx {

class DeviceLook;

// The port settings dialog. Created filled from the serial control and Echo (its load step
// runs in the constructor), shown modally with exec(). OK applies the choices to the control,
// stores them and closes; a failure is reported and keeps the dialog open. Cancel closes and
// changes nothing. The dialog deletes itself when it closes.
//
// Which device stands behind each port: the tooltip of each port entry and the status line
// under the list (lblPortDevice) name it and say whether it is there now, looked at afresh each
// time the list opens or another entry is chosen. The Device... button (cmdDevice) maps the
// chosen port to one of the devices found, a typed path, or back to its default, in the stored
// "Ports" section at once (its own dialog frmPortDevice: cboDevice, lblDeviceInfo, cmdDefault,
// cmdDeviceOK, cmdDeviceCancel); nothing else is stored there, and OK stays as it is.
//
// Object names: tabSettings, fraSettings, Label1, cboPort, Frame1, cboSpeed, fraConnection,
// Label3, cboDataBits, Label4, cboParity, Label5, cboStopBits, Frame7, optEcho_0, optEcho_1,
// Frame5, optFlow_0 ... optFlow_3, cmdOK, cmdCancel, cmdDevice, lblPortDevice.
class frmProperties : public QDialog {
  Q_OBJECT

 public:
  // `echo` is the program-wide Echo; `setOpenChecked` sets mnuOpen's check mark and may be
  // empty. Everything passed in must outlive the dialog.
  frmProperties(SerialControl& comm, SettingsStore& store, Prompts& prompts, bool& echo,
                std::function<void(bool)> setOpenChecked, QWidget* parent = nullptr);
  ~frmProperties() override;

  // Captions the language file replaces.
  QLabel* Label1() const { return Label1_; }
  QGroupBox* Frame1() const { return Frame1_; }
  QGroupBox* fraConnection() const { return fraConnection_; }
  QGroupBox* Frame5() const { return Frame5_; }
  QPushButton* cmdCancel() const { return cmdCancel_; }

 protected:
  // Centred whenever it is shown, at the size its captions give it then: a language file's
  // captions, set after the dialog was made, may have widened it.
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void centreOnScreen();
  void LoadPropertySettings();
  void cmdOK_Click();
  PropertyChoice currentChoice() const;
  // Every port entry's tooltip, and the status line; a new look lists the adapters again.
  void showDevices(bool newLook);
  void showChosenDevice();
  QString deviceText(int index) const;  // "Com3: present - /dev/ttyUSB0"
  void cmdDevice_Click();

  SerialControl& comm_;
  SettingsStore& store_;
  Prompts& prompts_;
  bool& echo_;
  std::function<void(bool)> setOpenChecked_;

  int pendingFlow_ = 0;
  bool pendingEcho_ = false;

  QTabWidget* tabSettings_ = nullptr;
  QWidget* fraSettings_ = nullptr;
  QLabel* Label1_ = nullptr;
  QComboBox* cboPort_ = nullptr;
  QGroupBox* Frame1_ = nullptr;
  QComboBox* cboSpeed_ = nullptr;
  QGroupBox* fraConnection_ = nullptr;
  QComboBox* cboDataBits_ = nullptr;
  QComboBox* cboParity_ = nullptr;
  QComboBox* cboStopBits_ = nullptr;
  QGroupBox* Frame7_ = nullptr;
  std::array<QRadioButton*, 2> optEcho_{};
  QButtonGroup* echoGroup_ = nullptr;
  QGroupBox* Frame5_ = nullptr;
  std::array<QRadioButton*, kFlowOptionCount> optFlow_{};
  QButtonGroup* flowGroup_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  QPushButton* cmdDevice_ = nullptr;
  QLabel* lblPortDevice_ = nullptr;
  std::unique_ptr<DeviceLook> look_;
};

}  // namespace vqx
