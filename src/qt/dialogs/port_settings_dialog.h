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
class PortSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // `echo` is the program-wide Echo; `setOpenChecked` sets mnuOpen's check mark and may be
  // empty. Everything passed in must outlive the dialog.
  PortSettingsDialog(SerialControl& serial, SettingsStore& store, Prompts& prompts, bool& echo,
                     std::function<void(bool)> setOpenChecked, QWidget* parent = nullptr);
  ~PortSettingsDialog() override;

  // Captions the language file replaces.
  QLabel* portLabel() const { return portLabel_; }
  QGroupBox* speedGroup() const { return speedGroup_; }
  QGroupBox* formatGroup() const { return formatGroup_; }
  QGroupBox* flowGroup() const { return flowGroup_; }
  QPushButton* cancelButton() const { return cancelButton_; }

 protected:
  // Centred whenever it is shown, at the size its captions give it then: a language file's
  // captions, set after the dialog was made, may have widened it.
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void centreOnScreen();
  void fillFromControl();
  void applyAndClose();
  PropertyChoice currentChoice() const;
  // Every port entry's tooltip, and the status line; a new look lists the adapters again.
  void showDevices(bool newLook);
  void showChosenDevice();
  QString deviceText(int index) const;  // "Com3: present - /dev/ttyUSB0"
  void chooseDevice();

  SerialControl& serial_;
  SettingsStore& store_;
  Prompts& prompts_;
  bool& echo_;
  std::function<void(bool)> setOpenChecked_;

  int pendingFlow_ = 0;
  bool pendingEcho_ = false;

  QTabWidget* tabFrame_ = nullptr;
  QWidget* settingsPanel_ = nullptr;
  QLabel* portLabel_ = nullptr;
  QComboBox* ports_ = nullptr;
  QGroupBox* speedGroup_ = nullptr;
  QComboBox* speeds_ = nullptr;
  QGroupBox* formatGroup_ = nullptr;
  QComboBox* dataBits_ = nullptr;
  QComboBox* parities_ = nullptr;
  QComboBox* stopBits_ = nullptr;
  QGroupBox* echoGroup_ = nullptr;
  std::array<QRadioButton*, 2> echoOptions_{};
  QButtonGroup* echoButtons_ = nullptr;
  QGroupBox* flowGroup_ = nullptr;
  std::array<QRadioButton*, kFlowOptionCount> flowOptions_{};
  QButtonGroup* flowButtons_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* deviceButton_ = nullptr;
  QLabel* portDevice_ = nullptr;
  std::unique_ptr<DeviceLook> look_;
};

}  // namespace vqx
