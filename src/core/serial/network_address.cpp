// SPDX-FileCopyrightText: 2026 VQX16 maintainers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/network_address.h"

#include <algorithm>

#include "common/captions.h"
#include "common/text.h"

namespace vqx {
namespace {

constexpr std::string_view kSeparator = "://";

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isHexDigit(char c) {
  return isDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f');
}
bool isAllOf(std::string_view text, bool (*kind)(char)) {
  return std::all_of(text.begin(), text.end(), kind);
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = isLetter(c) ? char(c | 0x20) : c;
  return lower;
}

bool isNameCharacter(char c) {
  return isLetter(c) || isDigit(c) || c == '-' || c == '_';
}

// A host name (labels of letters, digits, '-' and '_' between dots) or an IPv4 address: four
// numbers of 0 to 255. A text of digits and dots only is taken as an address.
bool isHostName(std::string_view host) {
  const bool numeric = isAllOf(host, [](char c) { return isDigit(c) || c == '.'; });
  int labels = 0;
  for (std::size_t start = 0; start <= host.size(); ++labels) {
    const std::size_t dot = std::min(host.find('.', start), host.size());
    const std::string_view label = host.substr(start, dot - start);
    if (label.empty()) return false;
    if (numeric && (label.size() > 3 || std::stoi(std::string(label)) > 255)) return false;
    if (!numeric && !isAllOf(label, isNameCharacter)) return false;
    start = dot + 1;
  }
  return !numeric || labels == 4;
}

bool isIpv6(std::string_view host) {
  return host.find(':') != std::string_view::npos &&
         isAllOf(host, [](char c) { return isHexDigit(c) || c == ':' || c == '.'; });
}

}  // namespace

bool isNetworkAddress(std::string_view device) {
  const std::size_t end = device.find(kSeparator);
  return end != std::string_view::npos && end > 0 &&
         isAllOf(device.substr(0, end), [](char c) { return isLetter(c) || isDigit(c); });
}

ParsedNetworkAddress parseNetworkAddress(std::string_view text) {
  const auto refused = [&](const char* why) {
    return ParsedNetworkAddress{{}, Result::fail(withArgs(caption::kAddressRefused, {text, why}))};
  };
  if (std::any_of(text.begin(), text.end(),
                  [](char c) { return static_cast<unsigned char>(c) <= 32 || c == 127; })) {
    return {{}, Result::fail(caption::kAddressBlank)};
  }
  NetworkAddress address;
  const std::size_t end = text.find(kSeparator);
  const std::string scheme = lowerCase(text.substr(0, end));
  if (end == std::string_view::npos || (scheme != "tcp" && scheme != "rfc2217")) {
    return refused(caption::kAddressScheme);
  }
  address.mode = scheme == "tcp" ? NetworkMode::RawTcp : NetworkMode::Rfc2217;
  const std::string_view rest = text.substr(end + kSeparator.size());
  if (rest.find_first_of("/?#@") != std::string_view::npos) return refused(caption::kAddressExtra);

  std::size_t colon = rest.rfind(':');
  if (const std::size_t close = rest.rfind(']'); close != std::string_view::npos && colon < close) {
    colon = std::string_view::npos;  // inside an IPv6 address: there is no port number
  }
  const std::string_view port = colon == std::string_view::npos ? "" : rest.substr(colon + 1);
  std::string_view host = rest.substr(0, std::min(colon, rest.size()));
  const bool bracketed = host.size() >= 2 && host.front() == '[' && host.back() == ']';
  if (bracketed) host = host.substr(1, host.size() - 2);
  if (!(bracketed ? isIpv6(host) : isHostName(host))) return refused(caption::kAddressHost);
  address.host = std::string(host);

  const std::size_t digits = port.find_first_not_of('0');
  if (port.empty() || !isAllOf(port, isDigit) || digits == std::string_view::npos ||
      port.size() - digits > 5 || std::stoi(std::string(port)) > 65535) {
    return refused(caption::kAddressPort);
  }
  address.port = std::stoi(std::string(port));
  return {address, Result::ok()};
}

std::string hostAndPort(const NetworkAddress& address) {
  const bool ipv6 = address.host.find(':') != std::string::npos;
  return (ipv6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

std::string networkAddressText(const NetworkAddress& address) {
  return (address.mode == NetworkMode::RawTcp ? "tcp://" : "rfc2217://") + hostAndPort(address);
}

}  // namespace vqx
