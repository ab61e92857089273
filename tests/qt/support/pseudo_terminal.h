#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vqx::testing {

// A pseudo-terminal pair for end-to-end tests. The program under test opens the terminal end
// by its path() (map it as a port through the "Ports" section of the stored settings); the test
// plays the device on the other end with write() and read(). Both ends start in raw mode.
//
// The helper keeps a descriptor of the terminal end open as well, so the device end can be read
// while the program's port is closed, and drops it in closeDevice() so the terminal end hangs up
// as it does when a USB adapter is unplugged.
class PseudoTerminal {
 public:
  PseudoTerminal();  // opens a pair; isOpen() tells whether that worked
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool isOpen() const { return device_ >= 0; }
  // Path of the terminal end, for example /dev/pts/3.
  const std::string& path() const { return path_; }
  // Descriptor of the device end, for a test that hands it to another process or polls it.
  int deviceFd() const { return device_; }
  // Descriptor the helper holds on the terminal end, for reading the line's attributes
  // (tcgetattr) as the program set them; not for reading or writing data.
  int terminalFd() const { return terminal_; }

  // Sends bytes from the device to the program; true when every byte was taken within a second.
  bool write(std::string_view bytes);
  // What the program sent: reads until `count` bytes have arrived or `timeoutMs` has passed,
  // running the Qt event loop meanwhile so the program's queued output goes out.
  std::string read(std::size_t count, int timeoutMs = 2000);
  // Everything the program sends within `timeoutMs` (the event loop runs meanwhile).
  std::string readFor(int timeoutMs);

  // The device vanishes: closes the device end and the helper's hold on the terminal end.
  void closeDevice();
  // Closes whatever is still open and opens a fresh pair; the new pair has a new path().
  bool reopen();

 private:
  void closeAll();

  int device_ = -1;    // master end
  int terminal_ = -1;  // slave end, held open by the helper
  std::string path_;
};

}  // namespace vqx::testing
